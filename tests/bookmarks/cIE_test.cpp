#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "bookmarks/ReadShortcutUrl.hpp"
#include "bookmarks/TidyLists.hpp"
#include "bookmarks/cIE.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

const std::string kShortcut = "[InternetShortcut]\r\nURL=http://a.example/\r\n";

struct FavoritesSource {
    TempHome home;
    ErrorLogRecorder log;
    cLinkMain links;
    LoadOutcome loaded;

    BookmarksPtr Load()
    {
        links.SetSelectedSource(SourceCode::Favorites);
        loaded = links.Refresh();
        return links.Bookmarks();
    }

    // Each record as "id name | folder | path".
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (const BookmarkPtr& b : *links.Bookmarks())
            rows.push_back(std::to_string(b->BookmarkID) + " " + b->ShortcutName + " | " + b->Folder + " | " + b->ShortcutPath);
        return rows;
    }
};

}  // namespace

TEST(FavoritesSource, ShortcutFilesBecomeRecordsInFoundOrder)
{
    FavoritesSource s;
    const std::string fav = s.home / "Favorites/";
    for (const char* name : {"a.url", "A.url" /* another shortcut on Linux */, "Z.URL", "Links/b.url", "News/Tech/my BANK site.url", ".hidden.url",
                             ".Private/c.url", "notes.txt"})
        s.home.WriteFile(std::string("Favorites/") + name, kShortcut);

    EXPECT_TRUE(s.links.Source(SourceCode::Favorites)->IsInstalled());
    const BookmarksPtr list = s.Load();
    EXPECT_EQ(s.Rows(), (std::vector<std::string>{"1 A | root | " + fav + "A.url", "2 Z | root | " + fav + "Z.URL",
                                                   "3 A | root | " + fav + "a.url",
                                                   "4 B | Links/ | " + fav + "Links/b.url",
                                                   "5 My Bank Site | News/Tech/ | " + fav + "News/Tech/my BANK site.url"}));
    EXPECT_EQ(list->Item("3")->url, "");  // read only just before a scan
    EXPECT_TRUE(s.log.Entries().empty());
}

TEST(FavoritesSource, NoShortcutFilesIsReportedAndLeavesNoCollection)
{
    FavoritesSource s;
    EXPECT_FALSE(cIE().IsInstalled());
    EXPECT_EQ(s.Load()->Count(), 0);
    EXPECT_EQ(s.loaded.reason, "there is no Favorites folder to read");
    s.home.WriteFile("Favorites/.hidden.url", kShortcut);
    EXPECT_TRUE(cIE().IsInstalled());
    EXPECT_EQ(s.Load()->Count(), 0);
    EXPECT_EQ(s.loaded.note, "No favorites can be located");
}

TEST(FavoritesSource, CleaningCopiesTheMarkedFilesFirstAndTellsWhatStayed)
{
    namespace fs = std::filesystem;
    FavoritesSource s;
    FakeClock clock({2008, 1, 25, 14, 30, 12});
    const std::string gone = s.home.WriteFile("Favorites/a.url", kShortcut);
    const std::string odd = s.home.WriteFile("Favorites/c.url", kShortcut);
    const std::string kept = s.home.WriteFile("Favorites/d.url", kShortcut);
    const std::string bytes("URL=x\r\n\0\xff", 9);
    const std::string deep = s.home.WriteFile("Favorites/News/b.url", bytes);
    for (const BookmarkPtr& b : *s.Load())
        b->Clean = b->ShortcutPath != kept;
    fs::remove(gone);  // already gone: removed, not a failure
    // Root deletes whatever the permission bits say; a shortcut turned folder stops anyone.
    fs::remove(odd);
    fs::create_directories(odd + "/x");

    const CleanOutcome outcome = s.links.CleanChosenSource();
    const std::string backup = BackupFolder() + "Backup_Favorites_200801251430";
    EXPECT_EQ(outcome.removed, 2);
    EXPECT_EQ(outcome.failures, std::vector<std::string>{"c.url: it cannot be read, so it cannot be backed up"});
    EXPECT_EQ(outcome.backups, std::vector<std::string>{backup});
    EXPECT_EQ(FindFiles(backup, "*", true), std::vector<std::string>{backup + "/News/b.url"});
    EXPECT_EQ(ReadAll(backup + "/News/b.url"), bytes);
    EXPECT_EQ(fs::status(backup + "/News/b.url").permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(deep));
    EXPECT_EQ(s.links.Bookmarks()->Count(), 4);  // the records stay

    // A shortcut written since the load may hold a link nobody checked: it stays, named.
    s.home.WriteFile("Favorites/News/b.url", "again");
    EXPECT_EQ(s.links.CleanChosenSource().failures.back(), "News/b.url: changed since it was checked");
    EXPECT_EQ(ReadAll(deep), "again");

    // Loaded again, it goes; a second clean in the same minute never writes into the first copy.
    for (const BookmarkPtr& b : *s.Load())
        b->Clean = b->ShortcutPath == deep;
    EXPECT_EQ(s.links.CleanChosenSource().backups, std::vector<std::string>{backup + "_2"});
    EXPECT_EQ(ReadAll(backup + "/News/b.url"), bytes);

    // With nowhere to put the copy, nothing is deleted.
    s.home.WriteFile("Favorites/News/b.url", "again");
    fs::remove_all(DataFolder());
    s.home.WriteFile(".local/share/brimtor", "not a folder");
    EXPECT_EQ(s.links.CleanChosenSource().reason, "No copy of the favorites could be made in " + BackupFolder());
    EXPECT_EQ(ReadAll(deep), "again");
}

TEST(ReadShortcutUrl, ReadsTheAddressFieldByFieldOrFallsBackToTheBase)
{
    TempHome home;
    const auto read = [&](const std::string& bytes) {
        return ReadShortcutUrl(home.WriteFile("s.url", bytes));
    };
    EXPECT_EQ(read("[InternetShortcut]\r\nURL=http://a.example/x\r\nIconIndex=0\r\n"),
              "http://a.example/x");
    EXPECT_EQ(read("[InternetShortcut]\nURL=http://lf.example/\nIconFile=x\n"),
              "http://lf.example/");
    EXPECT_EQ(read("URL=http://first.example/\r\nURL=http://second.example/"),
              "http://second.example/");
    EXPECT_EQ(read("   URL=http://blanks.example/ \t\x01\r\n"), "http://blanks.example/");
    EXPECT_EQ(read("XEURL=http://x.example/\r\n"), "");

    // Commas end a field unless the field is quoted; the quotes go, line breaks inside them
    // are dropped from the address, and text after the closing quote is ignored.
    EXPECT_EQ(read("URL=http://c.example/a,b\r\n"), "http://c.example/a");
    EXPECT_EQ(read("  \"URL=http://q.example/a,b\"\r\n"), "http://q.example/a,b");
    EXPECT_EQ(read("\"URL=http://q.example/a\r\nb\"tail,more\r\n"), "http://q.example/ab");

    // A fragment or an unknown key falls back to the base address.
    EXPECT_EQ(read("[DEFAULT]\r\nBASEURL=http://b.example/page\r\n[InternetShortcut]\r\n"
                   "URL=http://b.example/page#top\r\n"),
              "http://b.example/page");
    EXPECT_EQ(read("[InternetShortcut]\r\nURL=http://b.example/page#top\r\n"), "");
    EXPECT_EQ(read("url=http://lower.example/\r\nBASEURL=http://base.example/\r\n"),
              "http://base.example/");
    EXPECT_EQ(ReadShortcutUrl(home / "missing.url"), "");
}

TEST(FavoritesSource, EmptyFoldersGoAfterTheBackupRecordsThemButNeverOneHoldingAnythingElse)
{
    namespace fs = std::filesystem;
    FavoritesSource s;
    FakeClock clock({2008, 1, 25, 14, 30, 12});
    s.home.WriteFile("Favorites/a.url", kShortcut);
    s.home.WriteFile("Favorites/News/copy.url", "URL=HTTP://A.example:80/\r\n");
    s.home.WriteFile("Favorites/Other/notes.txt", "mine");
    s.home.WriteFile("Favorites/Zed/x.url", "URL=http://x.example/\r\n");
    fs::create_directories(s.home / "Favorites/Empty/Inner");
    fs::create_directories(s.home / "Favorites/Zed/Bare");
    for (const BookmarkPtr& b : *s.Load())
        b->url = ReadShortcutUrl(b->ShortcutPath);  // as the pre-scan reads them
    TidyLists& lists = s.links.Tidying();
    ASSERT_EQ(lists.Duplicates().size(), 1u);
    EXPECT_EQ(lists.Duplicates()[0].kept->Folder, "root");
    std::vector<std::string> names;
    for (const EmptyFolder& e : lists.EmptyFolders())
        names.push_back(e.folder->Folder + e.folder->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"rootEmpty", "Empty/Inner", "rootNews", "Zed/Bare"}));

    // A shortcut put in a folder since the load keeps that folder; the others go.
    s.home.WriteFile("Favorites/Zed/Bare/new.url", kShortcut);
    const CleanOutcome outcome = s.links.CleanChosenSource(TidyView::EmptyFolders);
    EXPECT_EQ(outcome.removedFolders, 3);
    EXPECT_EQ(outcome.failures, std::vector<std::string>{"Zed/Bare: changed since it was checked"});
    EXPECT_EQ(FindFolders(s.home / "Favorites"), (std::vector<std::string>{s.home / "Favorites/Other", s.home / "Favorites/Zed",
                                                                            s.home / "Favorites/Zed/Bare"}));
    const std::string backup = BackupFolder() + "Backup_Favorites_200801251430";
    EXPECT_EQ(FindFolders(backup), (std::vector<std::string>{backup + "/Empty", backup + "/Empty/Inner", backup + "/News"}));
    EXPECT_EQ(ReadAll(backup + "/News/copy.url"), "URL=HTTP://A.example:80/\r\n");
}
