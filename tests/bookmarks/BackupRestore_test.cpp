#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>
#include <unistd.h>

#include "bookmarks/BackupList.hpp"
#include "bookmarks/BackupRestore.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/Backup.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/PlacesFile.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/RunningAs.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;
namespace fs = std::filesystem;

namespace {

struct Home {
    TempHome home;
    FakeClock clock {{2026, 12, 6, 9, 30, 0}};
    cLinkMain links;

    // Loads the source, ticks the bookmarks of these names and cleans: the backups made.
    std::vector<std::string> Clean(std::int32_t source, const std::vector<std::string>& names)
    {
        links.SetSelectedSource(source);
        links.Refresh();
        for (const BookmarkPtr& b : *links.Bookmarks())
            b->Clean = std::count(names.begin(), names.end(), b->ShortcutName) > 0;
        return links.CleanChosenSource().backups;
    }
};

RestoreOutcome Restore(const std::string& backup)
{
    return BackupRestore(backup).Restore();
}

}  // namespace

TEST(BackupRestore, TextAndBookmarkFilesComeBackByteForByteAfterACopyOfWhatTheyReplaced)
{
    Home h;
    const std::string text = h.home.WriteFile("links.txt", "http://a/ one\r\n\r\nhttp://b/ two\r\n");
    h.links.SetTextFile(text);
    const std::string copy = h.Clean(SourceCode::TextFile, {"two"}).at(0);
    fs::permissions(text, fs::perms(0640));
    const RestoreOutcome restored = Restore(copy);
    ASSERT_TRUE(restored) << restored.Reason();
    EXPECT_EQ(restored->bookmarks, 2);
    EXPECT_EQ(ReadAll(text), "http://a/ one\r\n\r\nhttp://b/ two\r\n");
    EXPECT_EQ(fs::status(text).permissions(), fs::perms(0640));
    EXPECT_EQ(ReadAll(restored->backup), "http://a/ one\r\n");
    EXPECT_EQ(BackupOrigin(restored->backup), text);

    // Either copy of a bookmark file undoes its clean; its entries are what it holds.
    const std::string file = "<DL><p>\r\n<DT><A HREF=\"http://a/\">Kept</A>\r\n<DT><A HREF=\"http://b/\">Gone</A>\r\n</DL><p>\r\n";
    h.links.SetTextFile(h.home.WriteFile("b.html", file));
    for (const std::string& backup : h.Clean(SourceCode::BookmarkFile, {"Gone"})) {
        h.home.WriteFile("b.html", "changed");
        const RestoreOutcome again = Restore(backup);
        ASSERT_TRUE(again) << again.Reason();
        EXPECT_EQ(again->bookmarks, 2);
        EXPECT_EQ(ReadAll(h.home / "b.html"), file);
    }
}

TEST(BackupRestore, AChromiumFileComesBackByteForByteOnlyWhileTheBrowserIsClosed)
{
    Home h;
    const std::string json = R"({"roots": {"bookmark_bar": {"children": [
        {"id": "7", "name": "A", "type": "url", "url": "http://a.example/"},
        {"id": "8", "name": "B", "type": "url", "url": "http://b.example/"}], "id": "1", "type": "folder"}}})";
    const std::string file = h.home.WriteFile(".config/chromium/Default/Bookmarks", json);
    const std::string copy = h.Clean(SourceCode::Chromium, {"B"}).at(0);
    const std::string cleaned = ReadAll(file);
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    fs::create_symlink(std::string(host) + "-" + std::to_string(::getpid()), h.home / ".config/chromium/SingletonLock");
    [&] { const RunningAs chromium("chromium"); EXPECT_EQ(Restore(copy).Reason(), "Chromium is running. Close it, then clean again."); }();
    EXPECT_EQ(ReadAll(file), cleaned);
    EXPECT_EQ(ListBackups().size(), 1u);

    EXPECT_EQ(BackupRestore(copy).TargetWords(), "the Chromium profile ~/.config/chromium/Default");
    const RestoreOutcome restored = Restore(copy);  // the lock's process is no browser now
    ASSERT_TRUE(restored) << restored.Reason();
    EXPECT_EQ(restored->bookmarks, 2);
    EXPECT_EQ(ReadAll(file), json);
    EXPECT_EQ(ReadAll(restored->backup), cleaned);
}

TEST(BackupRestore, AFirefoxDatabaseComesBackWithItsRowsOnlyWhenSoundAndFirefoxIsClosed)
{
    Home h;
    h.home.WriteFile(".mozilla/firefox/profiles.ini", "[Profile0]\nPath=main\n");
    const PlacesFile places(h.home / ".mozilla/firefox/main/places.sqlite");
    places.Add(PlacesFile::kMenu, "Keep", "http://keep.example/");
    places.Add(PlacesFile::kMenu, "Gone", "http://gone.example/");
    const std::string rows = "SELECT id || title || parent || position || ifnull(fk, '') FROM moz_bookmarks ORDER BY id";
    const std::vector<std::string> before = places.Column(rows);
    const std::string copy = h.Clean(SourceCode::Firefox, {"Gone"}).at(0);
    const std::string cleaned = ReadAll(places.Path());

    // A copy whose bookmarks read well but whose keywords' page is broken never goes in.
    std::string image = ReadAll(copy);
    const std::size_t page = std::size_t(std::uint8_t(image[16])) << 8 | std::uint8_t(image[17]);
    const std::string root = PlacesFile(copy, false).Column("SELECT rootpage FROM sqlite_master WHERE name = 'moz_keywords'").at(0);
    image[(std::stoul(root) - 1) * page + 4] = 5;  // cells it does not have
    const std::string damaged = h.home.WriteFile(".local/share/brimtor/Backups/Backup_Firefox_1.sqlite", image);
    fs::copy(OriginRecordOf(copy), OriginRecordOf(damaged));
    EXPECT_NE(Restore(damaged).Reason().find("is damaged (it fails SQLite's integrity check)"), std::string::npos);
    const std::string lock = h.home / ".mozilla/firefox/main/lock";
    fs::create_symlink("127.0.0.1:+" + std::to_string(::getpid()), lock);
    [&] { const RunningAs firefox("firefox"); EXPECT_EQ(Restore(copy).Reason(), "Firefox is running. Close Firefox, then clean again."); }();
    EXPECT_EQ(ReadAll(places.Path()), cleaned);
    EXPECT_EQ(ListBackups().size(), 2u);

    RestoreOutcome restored = Restore(copy);
    ASSERT_TRUE(restored) << restored.Reason();
    EXPECT_EQ(restored->bookmarks, 2);
    EXPECT_EQ(places.Column(rows), before);
    EXPECT_EQ(PlacesFile(restored->backup, false).Column("SELECT count(*) FROM moz_bookmarks WHERE type = 1"),
              std::vector<std::string>{"1"});
    // A database SQLite cannot read is backed up as it is; logs beside none never reach the new one.
    h.home.WriteFile(".mozilla/firefox/main/places.sqlite", std::string(8192, 'x'));
    restored = Restore(copy);
    EXPECT_EQ(ReadAll(restored ? restored->backup : restored.Reason()), std::string(8192, 'x'));
    fs::remove(places.Path());
    for (const char* log : {"-wal", "-shm"})
        h.home.WriteFile(".mozilla/firefox/main/places.sqlite" + std::string(log), "stale");
    EXPECT_TRUE(Restore(copy));
    EXPECT_FALSE(fs::exists(places.Path() + "-wal") || fs::exists(places.Path() + "-shm"));
    EXPECT_EQ(places.Column(rows), before);
}

TEST(BackupRestore, ShortcutsComeBackToTheirPlacesButNeverOverOnesThereNow)
{
    Home h;
    h.home.WriteFile("Favorites/a.url", "A");
    h.home.WriteFile("Favorites/News/b.url", "B");
    h.home.WriteFile("Favorites/Old/c.url", "C");
    const std::string copy = h.Clean(SourceCode::Favorites, {"B", "C"}).at(0);
    fs::remove(h.home / "Favorites/Old");
    h.home.WriteFile("Favorites/News/b.url", "new B");

    const RestoreOutcome restored = Restore(copy);
    ASSERT_TRUE(restored) << restored.Reason();
    EXPECT_EQ(restored->bookmarks, 1);
    EXPECT_EQ(restored->notRestored, std::vector<std::string>{"News/b.url: a shortcut is there now; it was kept"});
    EXPECT_EQ(ReadAll(h.home / "Favorites/News/b.url"), "new B");
    EXPECT_EQ(ReadAll(h.home / "Favorites/Old/c.url"), "C");
    EXPECT_EQ(ReadAll(h.home / "Favorites/a.url"), "A");
    EXPECT_EQ(restored->backup, "");  // nothing was replaced
}
