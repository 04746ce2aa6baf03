#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/PlacesFile.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;
namespace fs = std::filesystem;

namespace {

// The folder of the home's default Firefox profile, made empty.
std::string MakeProfile(const TempHome& home)
{
    home.WriteFile(".mozilla/firefox/profiles.ini", "[Profile0]\nPath=main\n");
    fs::create_directories(home / ".mozilla/firefox/main");
    return home / ".mozilla/firefox/main";
}

// The default Firefox profile of a temporary home, with its places.sqlite.
struct Profile {
    TempHome home;
    FakeClock clock {{2026, 12, 6, 9, 30, 0}};
    MessageRecorder messages;
    std::string folder = MakeProfile(home);
    PlacesFile places {folder + "/places.sqlite"};
    cLinkMain links;

    Profile() { links.SetSelectedBrowser(SourceCode::Firefox); }

    // Loads the profile: "key|name|folder|address" per bookmark.
    std::vector<std::string> Load()
    {
        links.Refresh();
        std::vector<std::string> rows;
        for (const BookmarkPtr& b : *links.Bookmarks())
            rows.push_back(std::to_string(b->BookmarkID) + "|" + b->ShortcutName + "|" + b->Folder + "|" + b->url);
        return rows;
    }

    void Tick(const std::vector<std::int64_t>& ids)
    {
        for (const std::int64_t id : ids)
            links.Bookmarks()->Item(std::to_string(id))->Clean = true;
    }
};

}  // namespace

TEST(Places, TheTreeIsReadInFirefoxsOrderFromACopyWhileFirefoxHoldsTheLock)
{
    Profile p;
    const std::int64_t a = p.places.Bookmark(PlacesFile::kMenu, "http://a.example/", "A");
    const std::int64_t sub = p.places.Folder(PlacesFile::kMenu, "Sub");
    const std::int64_t b = p.places.Bookmark(sub, "http://b.example/");
    const std::int64_t query = p.places.Bookmark(PlacesFile::kToolbar, "place:sort=8", "Most Visited");
    p.places.Bookmark(p.places.Folder(PlacesFile::kTags, "news"), "http://a.example/");
    const std::int64_t let = p.places.Bookmark(PlacesFile::kUnfiled, "javascript:go()", "Let");
    {
        PlacesFile::Held firefox(p.places);
        const std::vector<std::string> files = ListNames(p.folder);
        const std::string menu = "\\\\-Bookmarks Menu";
        EXPECT_EQ(p.Load(), (std::vector<std::string>{
                                std::to_string(a) + "|A|" + menu + "|http://a.example/",
                                std::to_string(b) + "|http://b.example/|" + menu + "\\\\-Sub|http://b.example/",
                                std::to_string(query) + "|Most Visited|\\\\-Bookmarks Toolbar|place:sort=8",
                                std::to_string(let) + "|Let|\\\\-Other Bookmarks|javascript:go()"}));
        EXPECT_EQ(ListNames(p.folder), files);
    }

    // A database without what a clean needs is refused with its reason.
    p.places.Exec("ALTER TABLE moz_bookmarks DROP COLUMN syncChangeCounter");
    EXPECT_TRUE(p.Load().empty());
    EXPECT_EQ(p.links.Firefox().WhyNotLoadable(), p.places.Path()
              + " is not a Firefox bookmark database: its moz_bookmarks table lacks what bookmarks need");
}

TEST(Places, CleaningRemovesAsFirefoxWouldAfterABackup)
{
    Profile p;
    PlacesFile& places = p.places;
    places.Bookmark(PlacesFile::kMenu, "http://keep.example/", "Keep");
    const std::int64_t synced = places.Bookmark(PlacesFile::kMenu, "http://gone.example/", "Gone", 2);
    places.Bookmark(PlacesFile::kMenu, "http://shared.example/", "Shared");
    const std::int64_t twin = places.Bookmark(PlacesFile::kMenu, "http://shared.example/", "Twin", 1);
    places.Bookmark(PlacesFile::kMenu, "http://last.example/", "Last");
    const std::int64_t sub = places.Folder(PlacesFile::kToolbar, "Sub");
    const std::int64_t deep = places.Bookmark(sub, "http://deep.example/", "Deep", 2);
    places.Bookmark(sub, "http://after.example/", "After");
    const std::vector<std::string> tombstones = places.Rows("SELECT guid FROM moz_bookmarks WHERE syncStatus = 2");
    p.Load();
    p.Tick({synced, twin, deep});

    const CleanOutcome outcome = p.links.Firefox().CleanUpBookmarks();
    EXPECT_EQ(outcome.result, CleanResult::Cleaned);
    EXPECT_EQ(outcome.removed, 3);
    EXPECT_TRUE(p.messages.Texts().empty());
    EXPECT_EQ(PlacesBreaches(places), std::vector<std::string>{});
    EXPECT_EQ(places.Rows("SELECT title FROM moz_bookmarks WHERE type = 1 ORDER BY parent, position"),
              (std::vector<std::string>{"Keep", "Shared", "Last", "After"}));
    EXPECT_EQ(places.Rows("SELECT guid FROM moz_bookmarks_deleted ORDER BY rowid"), tombstones);
    EXPECT_EQ(places.Rows("SELECT syncChangeCounter FROM moz_bookmarks WHERE id IN (2, " + std::to_string(sub)
                          + ") ORDER BY id"), (std::vector<std::string>{"3", "2"}));

    const std::string backup = BackupFolder() + "Backup_Firefox_202612060930.sqlite";
    EXPECT_EQ(outcome.backups, std::vector<std::string>{backup});
    EXPECT_EQ(fs::status(backup).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    const PlacesFile copy(backup, false);
    EXPECT_EQ(copy.Rows("SELECT count(*) FROM moz_bookmarks WHERE type = 1"), std::vector<std::string>{"7"});
    EXPECT_EQ(PlacesBreaches(copy), std::vector<std::string>{});
    // A lone file: reading it leaves no log beside it.
    EXPECT_EQ(ListNames(BackupFolder()), std::vector<std::string>{"Backup_Firefox_202612060930.sqlite"});
}

TEST(Places, CleaningIsRefusedWhileFirefoxRunsOrAfterTheBookmarksChanged)
{
    Profile p;
    const std::int64_t gone = p.places.Bookmark(PlacesFile::kMenu, "http://gone.example/", "Gone");
    p.Load();
    p.Tick({gone});
    std::string before = ReadAll(p.places.Path());
    const auto expectRefused = [&](const std::string& message) {
        EXPECT_EQ(p.links.Firefox().CleanUpBookmarks().result, CleanResult::Failed);
        ASSERT_FALSE(p.messages.Texts().empty());
        EXPECT_NE(p.messages.Texts().back().find(message), std::string::npos) << p.messages.Texts().back();
        EXPECT_EQ(ReadAll(p.places.Path()), before);
        EXPECT_FALSE(fs::exists(BackupFolder()));
    };
    const std::string running = "Firefox is running. Close Firefox, then clean again.";
    fs::create_symlink("127.0.0.1:+" + std::to_string(::getpid()), p.folder + "/lock");
    expectRefused(running);
    {
        // A lock left by a crash says nothing; the database's own lock does.
        fs::remove(p.folder + "/lock");
        fs::create_symlink("127.0.0.1:+2147483647", p.folder + "/lock");
        PlacesFile::Held firefox(p.places);
        expectRefused(running);
    }
    p.places.Exec("UPDATE moz_places SET url = 'http://moved.example/'");
    before = ReadAll(p.places.Path());
    expectRefused("has changed since its bookmarks were loaded");
}
