#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "bookmarks/SqliteDatabase.hpp"
#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cLinkMain.hpp"
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

    // Loads the profile, ticks those bookmarks and gives "key|name|folder|address" per bookmark.
    std::vector<std::string> Load(const std::vector<std::int64_t>& ticked = {})
    {
        home.WriteFile(".mozilla/firefox/profiles.ini", "[Profile0]\nPath=main\n");
        links.SetSelectedSource(SourceCode::Firefox);
        loaded = links.Refresh();
        for (const std::int64_t id : ticked)
            links.Bookmarks()->Item(std::to_string(id))->Clean = true;
        std::vector<std::string> rows;
        for (const BookmarkPtr& b : *links.Bookmarks())
            rows.push_back(std::to_string(b->BookmarkID) + "|" + b->ShortcutName + "|" + b->Folder + "|" + b->url);
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
        EXPECT_EQ(p.Load({7, 10}), (std::vector<std::string>{
                                       "7|A|\\\\-Bookmarks Menu|http://a.example/",
                                       "9|http://b.example/|\\\\-Bookmarks Menu\\\\-Sub|http://b.example/",
                                       "10|Most Visited|\\\\-Bookmarks Toolbar|place:sort=8"}));
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
    const std::int64_t synced = places.Add(PlacesFile::kMenu, "Gone", "http://gone.example/", 2);
    places.Add(PlacesFile::kMenu, "Shared", "http://shared.example/");
    const std::int64_t twin = places.Add(PlacesFile::kMenu, "Twin", "http://shared.example/", 1);
    places.Add(PlacesFile::kMenu, "Last", "http://last.example/");
    const std::int64_t sub = places.Add(PlacesFile::kToolbar, "Sub");
    const std::int64_t deep = places.Add(sub, "Deep", "http://deep.example/", 2);
    places.Add(sub, "After", "http://after.example/");
    const std::vector<std::string> tombstones = places.Column("SELECT guid FROM moz_bookmarks WHERE syncStatus = 2");
    const std::string keyworded = "url IN ('http://gone.example/', 'http://shared.example/')";
    places.Exec("INSERT INTO moz_keywords (keyword, place_id) SELECT url, id FROM moz_places WHERE " + keyworded
                + "; UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE " + keyworded);
    p.Load({synced, twin, deep});

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
