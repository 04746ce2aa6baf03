#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "bookmarks/cLinkMain.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

// An export the way browsers write one, with the awkward parts users' files really have.
std::vector<std::string> ExportLines()
{
    const std::string icon = "data:image/png;base64," + std::string(4000, 'Q') + "==";
    return {
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>",                                              // 0
        "<!-- This is an automatically generated file.",                                    // 1
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",           // 2
        "<TITLE>Bookmarks</TITLE>",                                                         // 3
        "<H1>Bookmarks Menu</H1>",                                                          // 4
        "<DL><p>",                                                                          // 5
        "    <DT><A HREF=\"http://top.example/\" ADD_DATE=\"1600000000\" LAST_VISIT=\"-5\" "
        "LAST_MODIFIED=\"2147483647\" ICON_URI=\"http://top.example/i.ico\" ICON=\"" + icon
            + "\">Top &amp; first</A>",                                                     // 6
        "    <DD>A description  ",                                                          // 7
        "that goes on here",                                                                // 8
        "    <HR>",                                                                         // 9
        "    <DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>",         // 10
        "    <DD>Folder description",                                                       // 11
        "    <DL><p>",                                                                      // 12
        "        <DT><A HREF=\"http://utf8.example/\" SHORTCUTURL=\"kw\" "
        "LAST_CHARSET=\"UTF-8\">Caf\xc3\xa9 \xc3\xbc</A>",                                   // 13
        "        <DT><H3>News</H3>",                                                        // 14
        "        <DL><p>",                                                                  // 15
        "            <DT><A HREF=\"http://latin1.example/\" FEEDURL=\"http://latin1.example/f\""
        ">Caf\xe9</A>",                                                                     // 16
        "            <DD>Latin news",                                                       // 17
        "            <DT><A HREF=\"http://second.example/\">Second</A>",                    // 18
        "            <DD>Second news",                                                      // 19
        "        </DL><p>",                                                                 // 20
        "    </DL><p>",                                                                     // 21
        "\t<DT><A HREF=\"http://tabbed.example/\">Tabbed</A>",                              // 22
        "    <dt><a href=\"http://low.example/a\nb\" add_date=\"3\" id=\"rdf:#$x\">low</a>",  // 23
        "</DL><p>",                                                                         // 24
    };
}

bool Cleaned(const CleanOutcome& outcome)
{
    return outcome.result == CleanResult::Cleaned;
}

struct BookmarkFile {
    TempHome home;
    FakeClock clock {{2008, 1, 25, 14, 30, 0}};
    std::string path = home / "bookmarks.html";

    BookmarksPtr Load(const std::string& bytes, std::vector<std::string>* lines = nullptr)
    {
        home.WriteFile("bookmarks.html", bytes);
        cNetscapeBookmarkFile reader;
        reader.SetBookmarkFile(path);
        BookmarksPtr list = reader.BookmarkFileToCollection();
        EXPECT_FALSE(reader.Bookmarks());  // the reader lets go of what it built
        if (lines)
            *lines = reader.TakeBookmarkFileContents();
        return list;
    }

    // A writer for the export, loaded, with the bookmarks on the given lines marked.
    cNetscapeBookmarkFile Writer(const std::vector<int>& markedLines)
    {
        std::vector<std::string> lines;
        BookmarksPtr list = Load(CrLfLines(ExportLines()), &lines);
        for (const BookmarkPtr& b : *list)
            b->Clean = std::count(markedLines.begin(), markedLines.end(), b->FileLineNumber) > 0;
        cNetscapeBookmarkFile writer;
        writer.SetBookmarkFile(path);
        writer.SetWhichBrowser(3);
        writer.SetBookmarkFileContents(lines);
        writer.SetBookmarks(list);
        return writer;
    }

    bool Clean(const std::vector<int>& markedLines) { return Cleaned(Writer(markedLines).CreateBookMarkFile()); }

    // The export as it should come back without the given lines.
    static std::string Without(const std::vector<int>& gone)
    {
        std::vector<std::string> kept;
        const auto lines = ExportLines();
        for (int i = 0; i < static_cast<int>(lines.size()); ++i)
            if (std::find(gone.begin(), gone.end(), i) == gone.end())
                kept.push_back(lines[static_cast<std::size_t>(i)]);
        return CrLfLines(kept);
    }
};

}  // namespace

TEST(cNetscapeBookmarkFile, ReadsFoldersAttributesAndDescriptions)
{
    BookmarkFile f;
    const BookmarksPtr list = f.Load(CrLfLines(ExportLines()));
    ASSERT_TRUE(list);
    std::vector<std::tuple<int, int, std::string, std::string, std::string>> rows;
    for (const BookmarkPtr& b : *list)
        rows.emplace_back(b->BookmarkID, b->FileLineNumber, b->Folder, b->ShortcutName, b->url);
    using Row = decltype(rows)::value_type;
    EXPECT_EQ(rows, (std::vector<Row>{
                        {7, 6, "root", "Top &amp; first", "http://top.example/"},
                        {14, 13, "\\\\-Toolbar", "Caf\xc3\xa9 \xc3\xbc", "http://utf8.example/"},
                        {17, 16, "\\\\-Toolbar\\\\-News", "Caf\xe9", "http://latin1.example/"},
                        {19, 18, "\\\\-Toolbar\\\\-News", "Second", "http://second.example/"},
                        {23, 22, "root", "Tabbed", "http://tabbed.example/"},
                        {24, 23, "root", "low", "http://low.example/a b"},
                    }));
    const BookmarkPtr top = list->Item("7");
    EXPECT_EQ(top->LastVisit, -5);
    EXPECT_EQ(top->Icon.size(), 4024u);
    // The folder's own description lands on the bookmark added before it.
    EXPECT_EQ(top->Description, "Folder description");
    EXPECT_EQ(list->Item("17")->Description, "Latin news");
    EXPECT_EQ(list->Item("24")->AddDate, 3);
}

TEST(cNetscapeBookmarkFile, LfFilesAndOddDatesLoadUnreadableFilesGiveNoSource)
{
    BookmarkFile f;
    std::vector<std::string> lines;
    // An LF file loads, and comes back LF without the cleaned bookmark and its description.
    BookmarksPtr list =
        f.Load("<DL><p>\n<DT><A HREF=\"http://a/\">a</A>\r\n<DD>A\n<DT><A HREF=\"http://b/\">b</A>\n", &lines);
    ASSERT_EQ(list->Count(), 2);
    list->Item(1)->Clean = true;
    cNetscapeBookmarkFile writer;
    writer.SetBookmarkFile(f.path);
    writer.SetBookmarkFileContents(lines);
    writer.SetBookmarks(list);
    ASSERT_TRUE(Cleaned(writer.CreateBookMarkFile()));
    EXPECT_EQ(ReadAll(f.path), "<DL><p>\n<DT><A HREF=\"http://b/\">b</A>\n");

    EXPECT_FALSE(f.Load("", &lines));
    EXPECT_TRUE(lines.empty());

    // Milliseconds, past 2038, stray letters: that field reads 0, the bookmark still loads.
    const std::string head = "<DL><p>\r\n<DT><A HREF=\"http://a/\" ";
    for (const char* date : {"ADD_DATE=\"1165400000000\"", "ADD_DATE=\"\"", "ADD_DATE=\"12x\"",
                             "LAST_VISIT=\"2147483648\"", "LAST_MODIFIED=\"1.5\"", "ADD_DATE=\"+1\""}) {
        list = f.Load(head + date + ">a</A>\r\n</DL><p>\r\n");
        ASSERT_EQ(list ? list->Count() : -1, 1) << date;
        EXPECT_EQ(list->Item(1)->AddDate + list->Item(1)->LastVisit + list->Item(1)->LastModified, 0) << date;
    }
    EXPECT_FALSE(f.Load(head + ">a\r\n</DL><p>\r\n")) << "no closing tag";
    EXPECT_TRUE(f.Load(head + "ADD_DATE=\"1>a</A>\r\n</DL><p>\r\n")) << "no closing quote: absent";

    cNetscapeBookmarkFile missing;
    missing.SetBookmarkFile(f.home.Path());
    EXPECT_FALSE(missing.BookmarkFileToCollection());
}

TEST(cNetscapeBookmarkFile, OddStructuresNeitherCrashNorMisfile)
{
    BookmarkFile f;
    // A description before any bookmark is dropped; a list end at the top stops the reader.
    BookmarksPtr list = f.Load("<DD>orphan\r\n<DT><A HREF=\"http://a/\">a</A>\r\n</DL><p>\r\n"
                               "<DT><A HREF=\"http://b/\">b</A>\r\n\r\n");
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(1)->Description, "");

    // A line break split across two reads of the file.
    std::vector<std::string> lines;
    const std::string longLine((1 << 20) - 1, 'x');
    list = f.Load(longLine + "\r\n<DT><A HREF=\"http://c/\">c</A>\r\n\r", &lines);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(lines, (std::vector<std::string>{longLine, "<DT><A HREF=\"http://c/\">c</A>", "\r"}));

    // Folders nested far deeper than any call stack would allow, never closed.
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<DT><H3>x</H3>\r\n<DL><p>\r\n";
    list = f.Load(deep + "<DT><A HREF=\"http://deep/\">d</A>\r\n\r\n");
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(1)->Folder.size(), 200000u * 4);
}

TEST(cNetscapeBookmarkFile, RewriteDropsExactlyTheMarkedLinesAndTheirDescriptionsWhateverTheKeys)
{
    BookmarkFile f;
    // Nothing marked: every byte comes back, and no more.
    const std::string original = CrLfLines(ExportLines());
    ASSERT_TRUE(f.Clean({}));
    EXPECT_EQ(ReadAll(f.path), original);
    EXPECT_EQ(ReadAll(BackupFolder() + "Backup_User_200801251430.html"), original);

    // The description goes with all its lines; the folder's description stays.
    ASSERT_TRUE(f.Clean({6}));
    EXPECT_EQ(ReadAll(f.path), BookmarkFile::Without({6, 7, 8}));
    // Two in a row, each with a description.
    ASSERT_TRUE(f.Clean({16, 18, 13}));
    EXPECT_EQ(ReadAll(f.path), BookmarkFile::Without({13, 16, 17, 18, 19}));
    ASSERT_TRUE(f.Clean({23}));
    EXPECT_EQ(ReadAll(f.path), BookmarkFile::Without({23}));

    // Keys by position, as another source may give them: a key minus one names another line.
    cNetscapeBookmarkFile writer = f.Writer({16});
    std::int32_t position = 0;
    for (const BookmarkPtr& b : *writer.Bookmarks())
        b->BookmarkID = ++position;
    ASSERT_TRUE(Cleaned(writer.CreateBookMarkFile()));
    EXPECT_EQ(ReadAll(f.path), BookmarkFile::Without({16, 17}));
}

// An export in Firefox's own shape (LF line ends, a separator and the next entry on one line),
// with a line holding several entries as hand-made files do.
TEST(cNetscapeBookmarkFile, EveryEntryOfALineIsReadAndOnlyTheMarkedOnesGo)
{
    BookmarkFile f;
    const std::string a = "    <DT><A HREF=\"http://a.example/\" ADD_DATE=\"1700000000\">A</A>\n"
                          "    <DD>About a,\nover two lines\n";
    const std::string b = "<DT><A HREF=\"http://b.example/\" ADD_DATE=\"1700000000\">B</A>";
    const std::string dead = "<DT><A HREF=\"http://dead.example/\">Dead</A>", d = "<DT><A HREF=\"http://d.example/\">D</A>";
    const std::string original = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- This is an automatically generated file.\n"
        "     DO NOT EDIT! -->\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n\n<DL><p>\n" + a + "    <HR>    " + b + "\n"
        "    <HR>    <DT><H3 ADD_DATE=\"1700000000\">Mozilla Firefox</H3>\n    <DL><p>\n"
        "        <DT><A HREF=\"http://c.example/\">C</A>" + dead + d + "</DL><p>\n"
        "\t<DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks Toolbar</H3>\n\t<DL><p>\n\t\t<DT><A HREF=\"http://e.example/\">E</A>\n"
        "\t</DL><p>\n</DL>\n";
    std::vector<std::string> lines;
    const BookmarksPtr list = f.Load(original, &lines);
    std::vector<std::string> rows;
    for (const BookmarkPtr& bookmark : *list)
        rows.push_back(std::to_string(bookmark->BookmarkID) + " " + bookmark->Folder + " " + bookmark->ShortcutName);
    EXPECT_EQ(rows, (std::vector<std::string>{"8 root A", "11 root B", "14 \\\\-Mozilla Firefox C", "21 \\\\-Mozilla Firefox Dead",
                                              "22 \\\\-Mozilla Firefox D", "17 \\\\-Bookmarks Toolbar E"}));
    for (const char* key : {"8", "11", "21", "22"})
        list->Item(key)->Clean = true;
    cNetscapeBookmarkFile writer;
    writer.SetBookmarkFile(f.path);
    writer.SetBookmarkFileContents(lines);
    writer.SetBookmarks(list);
    ASSERT_TRUE(Cleaned(writer.CreateBookMarkFile()));
    std::string expected = original;
    for (const std::string& gone : {a, b, dead, d})
        expected.erase(expected.find(gone), gone.size());
    EXPECT_EQ(ReadAll(f.path), expected);
}

TEST(cNetscapeBookmarkFile, AFailedRewriteLeavesTheFileAndSaysWhy)
{
    namespace fs = std::filesystem;
    BookmarkFile f;
    const std::string original = CrLfLines(ExportLines());
    cNetscapeBookmarkFile writer = f.Writer({6});
    fs::permissions(f.path, fs::perms(0444));
    const CleanOutcome refused = writer.CreateBookMarkFile();
    EXPECT_TRUE(refused.reasonUnshown);
    EXPECT_EQ(refused.reason, "Cannot replace " + f.path + ": the file is read-only");
    EXPECT_EQ(ReadAll(f.path), original);

    // No backup possible: no rewrite either.
    fs::permissions(f.path, fs::perms(0644));
    fs::remove_all(DataFolder());
    f.home.WriteFile(".local/share/brimtor", "a file where the data folder should be");
    EXPECT_EQ(writer.CreateBookMarkFile().reason, "No backup copy of " + f.path + " could be made, so it was left unchanged");
    EXPECT_EQ(ReadAll(f.path), original);
}

TEST(cNetscapeBookmarkFile, AFileChangedSinceItsLoadIsLeftAlone)
{
    BookmarkFile f;
    // A line longer than the reader's chunks, so the comparison runs across their boundaries.
    const std::string original = "<!-- " + std::string(3 << 20, 'x') + " -->\r\n" + CrLfLines(ExportLines());
    const auto cleanAfterChange = [&](const std::string& changed) {
        std::vector<std::string> lines;
        const BookmarksPtr list = f.Load(original, &lines);
        f.home.WriteFile("bookmarks.html", changed);
        cNetscapeBookmarkFile writer;
        writer.SetBookmarkFile(f.path);
        writer.SetBookmarkFileContents(std::move(lines));
        writer.SetBookmarks(list);
        return Cleaned(writer.CreateBookMarkFile());
    };
    std::string inside = original;
    inside[(1 << 20) + 7] = 'y';
    std::string lastByte = original;
    lastByte.back() = ' ';
    for (const std::string& changed : {inside, lastByte, original + "x", original.substr(1),
                                       original.substr(0, original.size() - 2), std::string()}) {
        EXPECT_FALSE(cleanAfterChange(changed));
        EXPECT_EQ(ReadAll(f.path), changed);
    }
    EXPECT_TRUE(ListNames(BackupFolder()).empty());
    EXPECT_TRUE(cleanAfterChange(original));
    EXPECT_EQ(ReadAll(f.path), original);
}

TEST(cNetscapeBookmarkFile, FoldersAreListedEmptyOnceTheirDuplicatesGoAndTakenOutWithTheirWholeList)
{
    BookmarkFile f;
    const std::vector<std::string> lines = {
        "<DL><p>",
        "    <DT><A HREF=\"http://a.example/\">A</A>",
        "    <DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Toolbar</H3>",
        "    <DL><p>",
        "    </DL><p>",
        "    <DT><H3>News</H3>",
        "    <DD>Old news",
        "    <DL><p>",
        "        <DT><A HREF=\"HTTP://A.example:80\">A again</A>",
        "        <DT><H3>Empty</H3>",
        "        <DL><p>",
        "        </DL><p>",
        "    </DL><p>",
        "    <HR>    <DT><H3>Flat</H3><DL><p></DL><p><DT><A HREF=\"http://b.example/\">B</A>",
        "</DL><p>"};
    f.home.WriteFile("bookmarks.html", CrLfLines(lines));
    cLinkMain links;
    links.SetSelectedSource(SourceCode::BookmarkFile);
    links.SetTextFile(f.path);
    links.Refresh();
    TidyLists& lists = links.Tidying();
    ASSERT_EQ(lists.Duplicates().size(), 1u);
    EXPECT_EQ(lists.Duplicates()[0].kept->ShortcutName, "A");
    const auto empty = [&] {
        std::vector<std::string> names;
        for (const EmptyFolder& e : lists.EmptyFolders())
            names.push_back(e.folder->Name + (e.onceDuplicatesGo ? " once" : "") + (e.folder->Clean ? " ticked" : ""));
        return names;
    };
    EXPECT_EQ(empty(), (std::vector<std::string>{"News once ticked", "Empty ticked", "Flat ticked"}));
    // The duplicate kept keeps its folder; let go again, it lets the folder be listed anew.
    *lists.Tick(TidyView::Duplicates, 9) = false;
    EXPECT_EQ(empty(), (std::vector<std::string>{"Empty ticked", "Flat ticked"}));
    *lists.Tick(TidyView::Duplicates, 9) = true;
    *lists.Tick(TidyView::EmptyFolders, 3) = false;  // Empty, inside News, goes with it all the same

    const CleanOutcome outcome = links.CleanChosenSource(TidyView::EmptyFolders);
    EXPECT_EQ(outcome.removedFolders, 2);
    EXPECT_EQ(outcome.removed, 0);
    std::vector<std::string> kept = lines;
    kept.erase(kept.begin() + 5, kept.begin() + 13);
    kept[5] = "    <HR>    <DT><A HREF=\"http://b.example/\">B</A>";
    EXPECT_EQ(ReadAll(f.path), CrLfLines(kept));
}
