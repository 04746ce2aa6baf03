#include <filesystem>

#include <gtest/gtest.h>

#include "bookmarks/cLinkMain.hpp"
#include "support/FileIo.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

struct TextSource {
    TempHome home;
    FakeClock clock {{2026, 12, 6, 9, 5, 0}};
    ErrorLogRecorder log;
    cLinkMain links;

    // Loads the bytes as the text-file source.
    BookmarksPtr Load(const std::string& bytes)
    {
        links.SetSelectedSource(SourceCode::TextFile);
        links.SetTextFile(home.WriteFile("links.txt", bytes));
        links.Refresh();
        return links.Bookmarks();
    }

    std::vector<std::pair<int, std::string>> Rows()
    {
        std::vector<std::pair<int, std::string>> rows;
        for (const BookmarkPtr& b : *links.Bookmarks())
            rows.emplace_back(b->BookmarkID, b->url);
        return rows;
    }
};

}  // namespace

TEST(TextFileSource, LinesBecomeBookmarksKeyedByLineIndex)
{
    TextSource s;
    auto list = s.Load("a\r\n\r\nb\r\n");
    EXPECT_EQ(s.Rows(), (std::vector<std::pair<int, std::string>>{{0, "a"}, {2, "b"}}));
    EXPECT_EQ(list->Item(1)->ShortcutName, "a");

    // The address ends at the first blank or tab; the rest of the line names it.
    list = s.Load("  http://x/  \r\nhttp://y/\tmy  notes \r\n");
    EXPECT_EQ(s.Rows(), (std::vector<std::pair<int, std::string>>{{0, "http://x/"}, {1, "http://y/"}}));
    EXPECT_EQ(list->Item(1)->ShortcutName + "|" + list->Item(2)->ShortcutName, "  http://x/  |my  notes");
    // In a file saved with LF line ends every LF ends a line.
    s.Load("http://a/\nhttp://b/\n");
    EXPECT_EQ(s.Rows(), (std::vector<std::pair<int, std::string>>{{0, "http://a/"}, {1, "http://b/"}}));
    EXPECT_TRUE(s.log.Entries().empty());
}

TEST(TextFileSource, NothingToLoadGivesAnEmptyCollectionAndEveryRefreshANewOne)
{
    TextSource s;
    EXPECT_EQ(s.Load("")->Count(), 0);
    s.links.SetTextFile(s.home.Path());  // a folder
    s.links.Refresh();
    EXPECT_EQ(s.links.Bookmarks()->Count(), 0);
    EXPECT_TRUE(s.log.Entries().empty());

    s.links.SetSelectedSource(SourceCode::None);
    s.links.Refresh();
    const BookmarksPtr empty = s.links.Bookmarks();
    EXPECT_EQ(empty->Count(), 0);
    EXPECT_EQ(s.links.Bookmarks(), empty);  // later reads give the same collection

    // Every refresh builds a new collection.
    const BookmarksPtr first = s.Load("a\r\nb\r\n");
    first->Item(1)->Clean = true;
    s.links.Refresh();
    const BookmarksPtr second = s.links.Bookmarks();
    EXPECT_NE(first, second);
    EXPECT_FALSE(second->Item(1)->Clean);
}

TEST(TextFileSource, RewriteDropsMarkedLinesAfterABackup)
{
    TextSource s;
    const std::string original = "http://a/ first\r\n\r\nhttp://b/\r\nhttp://c/\tthird ";
    auto list = s.Load(original);
    list->Item(2)->Clean = true;
    std::vector<std::string> steps;
    const DiskWatcher previous = SetDiskWatcher([&steps](const DiskStep& step) {
        steps.push_back(step.kind == DiskStep::Flush ? step.path : step.path + " > " + step.newPath);
    });
    const CleanOutcome outcome = s.links.CleanChosenSource();
    SetDiskWatcher(previous);
    EXPECT_EQ(ReadAll(s.links.TextFile()), "http://a/ first\r\nhttp://c/\tthird \r\n");
    const std::string backup = BackupFolder() + "Backup_TextFile_202612060905.txt";
    EXPECT_EQ(outcome.backups, std::vector<std::string>{backup});
    EXPECT_EQ(ReadAll(backup), original);
    // The copy and the record of its origin, then the folder that names them, reach the disk
    // before the file is replaced.
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_EQ(steps, (std::vector<std::string>{steps[0], steps[1], steps[0] + " > " + backup,
                                               steps[1] + " > " + backup + ".origin", DataFolder() + "/Backups", steps[5],
                                               steps[5] + " > " + s.links.TextFile(), s.home.Path()}));
    EXPECT_EQ(ReadAll(backup + ".origin"), s.links.TextFile() + "\n");

    // All marked: an empty file, still backed up.
    for (const BookmarkPtr& b : *list)
        b->Clean = true;
    EXPECT_EQ(s.links.CleanChosenSource().result, CleanResult::Cleaned);
    EXPECT_EQ(ReadAll(s.links.TextFile()), "");
}

TEST(TextFileSource, AFailedRewriteLeavesTheFileIntactAndSaysWhy)
{
    namespace fs = std::filesystem;
    TextSource s;
    const std::string original = "http://a/\r\nhttp://b/\r\n";
    s.Load(original)->Item(1)->Clean = true;

    const auto whyNot = [&s] {
        const CleanOutcome outcome = s.links.CleanChosenSource();
        EXPECT_EQ(outcome.result, CleanResult::Failed);
        return outcome.reason;
    };
    fs::permissions(s.links.TextFile(), fs::perms(0444));
    EXPECT_NE(whyNot().find("read-only"), std::string::npos);
    EXPECT_EQ(ReadAll(s.links.TextFile()), original);

    // No backup possible: the file is not touched at all.
    fs::permissions(s.links.TextFile(), fs::perms(0644));
    fs::remove_all(DataFolder());
    s.home.WriteFile(".local/share/brimtor", "a file where the data folder should be");
    EXPECT_NE(whyNot().find("backup"), std::string::npos);
    EXPECT_EQ(ReadAll(s.links.TextFile()), original);

    // Links added to the file after it was loaded are not silently dropped by the rewrite.
    fs::remove_all(DataFolder());
    s.home.WriteFile("links.txt", original + "http://added-meanwhile/\r\n");
    EXPECT_NE(whyNot().find("has changed since its links were loaded"), std::string::npos);
    EXPECT_EQ(ReadAll(s.links.TextFile()), original + "http://added-meanwhile/\r\n");
}

TEST(BookmarkFileSource, AFileSavedAgainSinceItWasLoadedIsNotRewritten)
{
    TextSource s;
    const std::string original = "<DL><p>\r\n<DT><A HREF=\"http://a/\">A</A>\r\n<DT><A HREF=\"http://b/\">B</A>\r\n</DL><p>\r\n";
    s.links.SetSelectedSource(SourceCode::BookmarkFile);
    s.links.SetTextFile(s.home.WriteFile("bookmarks.html", original));
    s.links.Refresh();
    ASSERT_EQ(s.links.Bookmarks()->Count(), 2);
    s.links.Bookmarks()->Item(1)->Clean = true;

    // The browser saved a new bookmark meanwhile: cleaning would silently drop it.
    const std::string saved = original + "<DT><A HREF=\"http://new/\">New</A>\r\n";
    s.home.WriteFile("bookmarks.html", saved);
    const CleanOutcome refused = s.links.CleanChosenSource();
    EXPECT_EQ(refused.result, CleanResult::Failed);
    EXPECT_TRUE(refused.reasonUnshown);
    EXPECT_EQ(refused.reason, s.links.TextFile() + " has changed since its bookmarks were loaded; load them again before cleaning");
    EXPECT_EQ(ReadAll(s.links.TextFile()), saved);

    // As it was loaded, it is cleaned.
    s.home.WriteFile("bookmarks.html", original);
    EXPECT_EQ(s.links.CleanChosenSource().backups.size(), 2u);
    EXPECT_EQ(ReadAll(s.links.TextFile()), "<DL><p>\r\n<DT><A HREF=\"http://b/\">B</A>\r\n</DL><p>\r\n");
}
