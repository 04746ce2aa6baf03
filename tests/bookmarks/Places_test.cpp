#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bookmarks/PrivateCopy.hpp"
#include "bookmarks/SqliteDatabase.hpp"
#include "bookmarks/cFirefox.hpp"
#include "bookmarks/TidyLists.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/FileIo.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/PlacesFile.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/RunningAs.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;
namespace fs = std::filesystem;

namespace {

// The default Firefox profile of a temporary home and its places.sqlite.
struct Profile {
    TempHome home;
    FakeClock clock {{2026, 12, 6, 9, 30, 0}};
    PlacesFile places {home / ".mozilla/firefox/main/places.sqlite"};
    cLinkMain links;
    LoadOutcome loaded;

    // Loads the profile, ticks the bookmarks of those names and gives "key|name|folder|address"
    // per bookmark.
    std::vector<std::string> Load(const std::vector<std::string>& ticked = {})
    {
        home.WriteFile(".mozilla/firefox/profiles.ini", "[Profile0]\nPath=main\n");
        links.SetSelectedSource(SourceCode::Firefox);
        loaded = links.Refresh();
        std::vector<std::string> rows;
        for (const BookmarkPtr& b : *links.Bookmarks()) {
            b->Clean = std::find(ticked.begin(), ticked.end(), b->ShortcutName) != ticked.end();
            rows.push_back(std::to_string(b->BookmarkID) + "|" + b->ShortcutName + "|" + b->Folder + "|" + b->url);
        }
        return rows;
    }
};

}  // namespace

TEST(Places, ReadingNeverWaitsForFirefoxAndCleaningIsRefusedWhileItRunsOrAfterAChange)
{
    Profile p;
    const std::string lock = p.home / ".mozilla/firefox/main/lock";
    p.places.Add(PlacesFile::kMenu, "A", "http://a.example/");
    p.places.Add(p.places.Add(PlacesFile::kMenu, "Sub"), "", "http://b.example/");
    p.places.Add(PlacesFile::kToolbar, "Most Visited", "place:sort=8");
    p.places.Add(p.places.Add(PlacesFile::kTags, "news"), "", "http://a.example/");
    std::string before = ReadAll(p.places.Path());
    const auto expectRefused = [&](CleanResult result, const std::string& message) {
        const CleanOutcome outcome = p.links.CleanChosenSource();
        EXPECT_EQ(outcome.result, result);
        EXPECT_NE(outcome.reason.find(message), std::string::npos) << outcome.reason;
        EXPECT_EQ(ReadAll(p.places.Path()), before);
        EXPECT_FALSE(fs::exists(BackupFolder()));
    };
    const std::string running = "Firefox is running. Close Firefox, then clean again.";
    {
        SqliteDatabase firefox(p.places.Path(), SqliteDatabase::Access::ReadWrite);
        firefox.Exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE");
        // A lock link left by a crash says nothing; the database's own lock does.
        fs::create_symlink("127.0.0.1:+2147483647", lock);
        const std::vector<std::string> files = ListNames(fs::path(lock).parent_path());
        EXPECT_EQ(p.Load({"A", "Most Visited"}), (std::vector<std::string>{
                                       "1|A|\\\\-Bookmarks Menu|http://a.example/",
                                       "2|http://b.example/|\\\\-Bookmarks Menu\\\\-Sub|http://b.example/",
                                       "3|Most Visited|\\\\-Bookmarks Toolbar|place:sort=8"}));
        EXPECT_EQ(ListNames(fs::path(lock).parent_path()), files);
        expectRefused(CleanResult::BrowserRunning, running);
    }
    // Read as Firefox reads it: Firefox alive here, or running on another host, refuses. A live
    // process that is not Firefox (this one, under its own name again) holds a stale lock's number.
    const auto relock = [&](const std::string& owner) { fs::remove(lock); fs::create_symlink(owner, lock); };
    relock("127.0.0.1:+" + std::to_string(::getpid()));
    [&] { const RunningAs firefox("firefox-esr"); expectRefused(CleanResult::BrowserRunning, running); }();
    relock("10.9.8.7:+1");
    expectRefused(CleanResult::BrowserRunning, "Firefox is running on 10.9.8.7. Close it there, then clean again.");
    relock("127.0.0.1:+" + std::to_string(::getpid()));
    p.places.Exec("UPDATE moz_places SET url = 'http://moved.example/'");
    before = ReadAll(p.places.Path());
    expectRefused(CleanResult::Failed, "has changed since its bookmarks were loaded");

    p.places.Exec("ALTER TABLE moz_bookmarks DROP COLUMN syncChangeCounter");
    EXPECT_TRUE(p.Load().empty());
    EXPECT_EQ(p.loaded.reason, p.places.Path() + " is not a Firefox bookmark database: "
                                                      "its moz_bookmarks table lacks what bookmarks need");
}

TEST(Places, CleaningRemovesAsFirefoxWouldAfterABackup)
{
    Profile p;
    const PlacesFile& places = p.places;
    places.Add(PlacesFile::kMenu, "Keep", "http://keep.example/");
    places.Add(PlacesFile::kMenu, "Gone", "http://gone.example/", 2);
    places.Add(PlacesFile::kMenu, "Shared", "http://shared.example/");
    places.Add(PlacesFile::kMenu, "Twin", "http://shared.example/", 1);
    places.Add(PlacesFile::kMenu, "Last", "http://last.example/");
    const std::int64_t sub = places.Add(PlacesFile::kToolbar, "Sub");
    places.Add(sub, "Deep", "http://deep.example/", 2);
    places.Add(sub, "After", "http://after.example/");
    const std::vector<std::string> tombstones = places.Column("SELECT guid FROM moz_bookmarks WHERE syncStatus = 2");
    const std::string keyworded = "url IN ('http://gone.example/', 'http://shared.example/')";
    places.Exec("INSERT INTO moz_keywords (keyword, place_id) SELECT url, id FROM moz_places WHERE " + keyworded
                + "; UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE " + keyworded);
    p.Load({"Gone", "Twin", "Deep"});

    const CleanOutcome outcome = p.links.CleanChosenSource();
    EXPECT_EQ(outcome.removed, 3);
    EXPECT_EQ(PlacesBreaches(places), std::vector<std::string>{});
    EXPECT_EQ(places.Column("SELECT title FROM moz_bookmarks WHERE type = 1 ORDER BY parent, position"),
              (std::vector<std::string>{"Keep", "Shared", "Last", "After"}));
    EXPECT_EQ(places.Column("SELECT guid FROM moz_bookmarks_deleted ORDER BY rowid"), tombstones);
    // A keyword stays only with an address still bookmarked.
    EXPECT_EQ(places.Column("SELECT keyword FROM moz_keywords"), std::vector<std::string>{"http://shared.example/"});
    EXPECT_EQ(places.Column("SELECT syncChangeCounter FROM moz_bookmarks WHERE id IN (2, " + std::to_string(sub) + ")"),
              (std::vector<std::string>{"3", "2"}));

    // The backup is the database as it was, a lone file that reading leaves alone.
    const std::string name = "Backup_Firefox_202612060930.sqlite";
    const PlacesFile copy(BackupFolder() + name, false);
    EXPECT_EQ(copy.Column("SELECT count(*) FROM moz_bookmarks WHERE type = 1"), std::vector<std::string>{"7"});
    EXPECT_EQ(PlacesBreaches(copy), std::vector<std::string>{});
    EXPECT_EQ(ListNames(BackupFolder()), (std::vector<std::string>{name, name + ".origin"}));
}

TEST(Places, OnlyTheTickedRowGoesWhateverItsIdOrTheStoresTriggersAndNoneAfterItChanged)
{
    Profile p;
    p.places.Add(PlacesFile::kMenu, "Good", "http://good.example/");
    const std::int64_t dead = p.places.Add(PlacesFile::kMenu, "Dead", "http://dead.example/");
    // Cut to 32 bits this id is Good's (7).
    p.places.Exec("UPDATE moz_bookmarks SET id = -4294967289 WHERE id = " + std::to_string(dead));
    p.places.Exec("CREATE TRIGGER t AFTER DELETE ON moz_bookmarks BEGIN DELETE FROM moz_bookmarks; END");
    p.Load({"Dead"});
    EXPECT_EQ(p.links.CleanChosenSource().removed, 1);
    EXPECT_EQ(p.places.Column("SELECT title FROM moz_bookmarks WHERE type = 1"), std::vector<std::string>{"Good"});

    p.Load({"Good"});
    p.places.Exec("UPDATE moz_bookmarks SET guid = 'another_row_' WHERE title = 'Good'");
    EXPECT_EQ(p.links.CleanChosenSource().result, CleanResult::Failed);
    EXPECT_EQ(p.places.Column("SELECT title FROM moz_bookmarks WHERE type = 1"), std::vector<std::string>{"Good"});
}

TEST(Places, AFolderInsideItselfOrTooDeepIsRefusedAndABookmarkOutOfReachIsCounted)
{
    Profile p;
    const std::int64_t sub = p.places.Add(PlacesFile::kMenu, "Sub");
    p.places.Add(sub, "In", "http://in.example/");
    const std::string id = std::to_string(sub);
    const auto expectRefused = [&](const std::string& why) {
        EXPECT_TRUE(p.Load().empty());
        EXPECT_EQ(p.loaded.reason, p.places.Path() + " " + why);
    };
    p.places.Exec("UPDATE moz_bookmarks SET parent = " + id + " WHERE id = 1");
    expectRefused("holds a folder that contains itself");
    p.places.Exec("UPDATE moz_bookmarks SET parent = 0 WHERE id = 1; UPDATE moz_bookmarks SET id = 0 WHERE id = " + id);
    expectRefused("holds a folder that contains itself");

    p.places.Exec("UPDATE moz_bookmarks SET id = " + id + " WHERE id = 0; UPDATE moz_bookmarks SET parent = 999 "
                  "WHERE title = 'In'");
    EXPECT_TRUE(p.Load().empty());
    EXPECT_EQ(p.loaded.note, "1 bookmark in places.sqlite could not be read and is left as it is");

    p.places.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                  "INSERT INTO moz_bookmarks (id, type, parent, position, guid) SELECT 100 + i, 2, "
                  "IIF(i = 1, " + id + ", 99 + i), 0, 'deep' || i FROM n");
    expectRefused("nests its folders deeper than 200 levels");
}

TEST(Places, TheCopyReadTakesTheRollbackJournalAndNeverOutlivesItsRead)
{
    Profile p;
    p.places.Exec("PRAGMA journal_mode = DELETE");
    p.places.Add(PlacesFile::kMenu, "Kept", "http://kept.example/");
    // A Firefox that dies half-way through a transaction leaves its journal and changed pages.
    const pid_t firefox = ::fork();
    if (firefox == 0) {
        SqliteDatabase dying(p.places.Path(), SqliteDatabase::Access::ReadWrite);
        dying.Exec("PRAGMA cache_size = 1; BEGIN; UPDATE moz_bookmarks SET title = 'Half'; CREATE TABLE filler (x); "
                  "INSERT INTO filler SELECT randomblob(4000) FROM moz_bookmarks, moz_bookmarks, moz_bookmarks");
        ::_exit(0);
    }
    ::waitpid(firefox, nullptr, 0);
    ASSERT_TRUE(fs::exists(p.places.Path() + "-journal"));
    EXPECT_EQ(p.Load(), std::vector<std::string>{"1|Kept|\\\\-Bookmarks Menu|http://kept.example/"});
    EXPECT_TRUE(ListNames(PrivateCopyFolder()).empty());
    WriteFileBytes(p.places.Path(), "not a database");
    EXPECT_TRUE(p.Load().empty());
    EXPECT_TRUE(ListNames(PrivateCopyFolder()).empty());

    // A copy whose process is gone goes; one of a running process stays.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = "places-" + std::to_string(gone) + "-a", live = "places-" + std::to_string(::getpid()) + "-b";
    p.home.WriteFile("run/brimtor/" + stale + "/places.sqlite", "x");
    p.home.WriteFile("run/brimtor/" + live + "/places.sqlite", "x");
    RemoveStaleCopies();
    EXPECT_EQ(ListNames(PrivateCopyFolder()), std::vector<std::string>{live});
}

TEST(Places, AFolderGoesWithAllItHeldAsFirefoxWouldButNeverARootNorAFolderThatGainedARow)
{
    Profile p;
    const PlacesFile& places = p.places;
    places.Add(PlacesFile::kMenu, "A", "http://a.example/");
    const std::int64_t old = places.Add(PlacesFile::kMenu, "Old", "", 2);
    places.Add(old, "A again", "http://A.example:80/", 2);
    places.Exec("INSERT INTO moz_bookmarks (type, parent, position, guid, syncStatus) VALUES (3, "
                + std::to_string(old) + ", 1, 'separator___', 2)");
    const std::int64_t empty = places.Add(PlacesFile::kMenu, "Empty");
    places.Add(empty, "Inner");
    places.Add(PlacesFile::kMenu, "Last", "http://last.example/");
    p.Load();
    TidyLists& lists = p.links.Tidying();
    ASSERT_EQ(lists.Duplicates().size(), 1u);
    EXPECT_EQ(lists.Duplicates()[0].kept->ShortcutName, "A");
    std::vector<std::string> names;
    for (const EmptyFolder& e : lists.EmptyFolders())
        names.push_back(e.folder->Name + " in " + e.folder->Folder);
    EXPECT_EQ(names, (std::vector<std::string>{"Old in \\\\-Bookmarks Menu", "Empty in \\\\-Bookmarks Menu",
                                               "Inner in \\\\-Bookmarks Menu\\\\-Empty"}));

    // A row filed in a folder since the load keeps the folder, and all else, as it was.
    const std::int64_t added = places.Add(empty, "New");
    EXPECT_EQ(p.links.CleanChosenSource(TidyView::EmptyFolders).result, CleanResult::Failed);
    places.Exec("DELETE FROM moz_bookmarks WHERE id = " + std::to_string(added));
    EXPECT_EQ(p.links.CleanChosenSource(TidyView::EmptyFolders).removedFolders, 3);
    EXPECT_EQ(PlacesBreaches(places), std::vector<std::string>{});
    EXPECT_EQ(places.Column("SELECT title FROM moz_bookmarks WHERE id > 6 ORDER BY parent, position"),
              (std::vector<std::string>{"A", "Last"}));
    EXPECT_EQ(places.Column("SELECT count(*) FROM moz_bookmarks WHERE id <= 6"), std::vector<std::string>{"6"});
    EXPECT_EQ(places.Column("SELECT count(*) FROM moz_bookmarks_deleted"), std::vector<std::string>{"3"});
}
