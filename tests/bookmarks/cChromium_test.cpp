#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bookmarks/BackupList.hpp"
#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "bookmarks/TidyLists.hpp"
#include "bookmarks/cChromium.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/RunningAs.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;
using Json = nlohmann::ordered_json;

namespace {

// Every root, nested and empty folders, a bookmarklet, a browser page, names beyond ASCII, ids
// out of order and keys the program does not know; laid out as the browser writes it.
const std::string kTree = Json::parse(R"json({
   "checksum": "00000000000000000000000000000000",
   "roots": {
      "bookmark_bar": { "children": [
         { "date_added": "13350000000000000", "guid": "0bc5d13f-2cba-5d74-951f-3f233fe6c908", "id": "7",
           "meta_info": { "power_bookmark_meta": "" }, "name": "Ärzte – Übersicht", "type": "url", "url": "http://a.example/" },
         { "children": [
            { "id": "12", "name": "Share", "type": "url", "url": "javascript:alert(1)" },
            { "children": [ { "id": "9", "name": "日本 😀", "type": "url", "url": "http://b.example/" } ],
              "id": "5", "name": "Deep", "type": "folder" },
            { "children": [  ], "id": "6", "name": "Empty", "type": "folder" } ],
           "id": "4", "name": "Tools", "type": "folder" } ],
         "id": "1", "name": "Bookmarks bar", "type": "folder" },
      "other": { "children": [ { "id": "3", "name": "Settings", "type": "url", "url": "chrome://settings/" } ],
         "id": "2", "name": "Other bookmarks", "type": "folder" },
      "synced": { "children": [ { "id": "11", "name": "Phone", "type": "url", "url": "https://c.example/" } ],
         "id": "10", "name": "Mobile bookmarks", "type": "folder" }
   },
   "sync_metadata": "c3luYw==",
   "version": 1
})json").dump(3) + "\n";

std::vector<std::string> Rows(const cBookmarks& bookmarks)
{
    std::vector<std::string> rows;
    for (const BookmarkPtr& b : bookmarks)
        rows.push_back(std::to_string(b->BookmarkID) + " " + b->Folder + " " + b->ShortcutName + " " + b->url);
    return rows;
}

}  // namespace

TEST(ChromiumBookmarkFile, ReadsEveryRootInTreeOrderAndRefusesWhatIsNoBookmarkTree)
{
    const LoadOutcome read = ReadChromiumBookmarks(kTree);
    ASSERT_TRUE(read.bookmarks);
    EXPECT_EQ(Rows(*read.bookmarks), (std::vector<std::string>{
        "7 \\\\-Bookmarks bar Ärzte – Übersicht http://a.example/",
        "12 \\\\-Bookmarks bar\\\\-Tools Share javascript:alert(1)",
        "9 \\\\-Bookmarks bar\\\\-Tools\\\\-Deep 日本 😀 http://b.example/",
        "3 \\\\-Other bookmarks Settings chrome://settings/",
        "11 \\\\-Mobile bookmarks Phone https://c.example/"}));
    EXPECT_EQ(ReadChromiumBookmarks("{\"roots\": ").reason, "is not valid JSON");
    EXPECT_EQ(ReadChromiumBookmarks("{\"version\": 1}").reason, "holds no bookmark roots");
}

// The checksum was computed once, from kTree saved as tree.json, by
//   python3 sum.py tree.json 7 9
// with sum.py:
//   import hashlib, json, sys
//   def add(h, n):
//       if n["id"] in sys.argv[2:]: return
//       h.update(n["id"].encode()); h.update(n["name"].encode("utf-16-le"))
//       if n["type"] == "url": h.update(b"url"); h.update(n["url"].encode())
//       else: h.update(b"folder"); [add(h, c) for c in n["children"]]
//   h = hashlib.md5(); r = json.load(open(sys.argv[1]))["roots"]
//   [add(h, r[k]) for k in ("bookmark_bar", "other", "synced")]; print(h.hexdigest())
TEST(ChromiumBookmarkFile, LeavesOutTheTickedNodesKeepsEverythingElseAndSumsTheRest)
{
    const ChromiumRewrite rewrite = ChromiumBookmarksWithout(kTree, {7, 9, 404});
    EXPECT_EQ(rewrite.removed, 2);
    Json expected = Json::parse(kTree);
    Json& bar = expected["roots"]["bookmark_bar"]["children"];
    bar.erase(0);
    bar[0]["children"][1]["children"].erase(0);
    expected["checksum"] = "3197f02e9f73156a5b5affd204958ef3";
    EXPECT_EQ(rewrite.text, expected.dump(3) + "\n");
    EXPECT_NE(rewrite.text.find("\n   \"roots\": {\n      \"bookmark_bar\""), std::string::npos);
}

TEST(ChromiumBookmarkFile, NestingBeyondTheBrowsersBoundIsRefusedWhileReadingAndNoRewriteGrows)
{
    std::string deep = R"({"roots": {"bookmark_bar": )";
    for (int i = 0; i < 5000; ++i)
        deep += R"({"children": [)";
    for (int i = 0; i < 5000; ++i)
        deep += "]}";
    EXPECT_EQ(ReadChromiumBookmarks(deep + "}}").reason, "nests deeper than the browser reads");

    // A value outside the folders, written without layout by some other tool.
    const auto withDeepValue = [](int depth) {
        Json tree = Json::parse(kTree);
        tree["roots"]["other"]["meta_info"]["deep"] = Json::parse(std::string(depth, '[') + std::string(depth, ']'));
        return tree.dump();
    };
    EXPECT_EQ(ReadChromiumBookmarks(withDeepValue(300)).reason, "nests deeper than the browser reads");
    const std::string compact = withDeepValue(190);
    const ChromiumRewrite rewrite = ChromiumBookmarksWithout(compact, {7});
    EXPECT_LE(rewrite.text.size(), compact.size());
    EXPECT_EQ(ReadChromiumBookmarks(rewrite.text).bookmarks->Count(), 4);
}

namespace {

struct ChromiumHome {
    TempHome home;
    FakeClock clock {{2026, 12, 6, 9, 5, 0}};
    std::string browser = home / ".config/google-chrome";
    std::string file = home.WriteFile(".config/google-chrome/Profile 1/Bookmarks", kTree);
    cLinkMain links;

    ChromiumHome()
    {
        home.WriteFile(".config/google-chrome/Local State", R"({"profile": {"last_used": "Profile 1"}})");
        home.WriteFile(".config/google-chrome/Default/Bookmarks", "{}");
        home.WriteFile(".config/vivaldi/Local State", "{}");  // no profile with bookmarks: passed over
        // A browser tried once, its bookmarks left behind: the one in use changed them since.
        const std::string stale = home.WriteFile(".config/chromium/Default/Bookmarks", kTree);
        std::filesystem::last_write_time(stale, std::filesystem::last_write_time(file) - std::chrono::hours(1));
        links.SetSelectedSource(SourceCode::Chromium);
    }

    CleanOutcome LoadTickAndClean(std::int32_t id)
    {
        links.Refresh();
        links.Bookmarks()->Item(std::to_string(id))->Clean = true;
        return links.CleanChosenSource();
    }

    // The lock a browser with that PID keeps on this host, or on the one named.
    void Lock(pid_t pid, const char* host = nullptr)
    {
        char here[256] = {};
        ::gethostname(here, sizeof here - 1);
        std::filesystem::remove(browser + "/SingletonLock");
        std::filesystem::create_symlink(std::string(host ? host : here) + "-" + std::to_string(pid), browser + "/SingletonLock");
    }
};

}  // namespace

TEST(cChromium, FindsTheLastUsedProfileAndCleansOnlyAClosedBrowsersUnchangedFile)
{
    ChromiumHome c;
    EXPECT_EQ(c.links.Source(SourceCode::Chromium)->FoundWhere(), "Google Chrome profile ~/.config/google-chrome/Profile 1");
    c.Lock(::getpid());
    CleanOutcome outcome = [&] { const RunningAs chrome("chrome"); return c.LoadTickAndClean(9); }();
    EXPECT_EQ(outcome.result, CleanResult::BrowserRunning);
    EXPECT_EQ(outcome.reason, "Google Chrome is running. Close it, then clean again.");
    c.Lock(1, "elsewhere-box");
    EXPECT_EQ(c.LoadTickAndClean(9).reason, "Google Chrome is running on elsewhere-box. Close it there, then clean again.");

    // A live process that is not the browser (this one, under its own name) holds a stale lock's number.
    c.Lock(::getpid());
    c.links.Refresh();
    c.home.WriteFile(".config/google-chrome/Profile 1/Bookmarks", kTree + " ");
    c.links.Bookmarks()->Item("9")->Clean = true;
    outcome = c.links.CleanChosenSource();
    EXPECT_EQ(outcome.result, CleanResult::Failed);
    EXPECT_EQ(outcome.reason, c.file + " has changed since its bookmarks were loaded; load them again before cleaning");
    EXPECT_EQ(ReadAll(c.file), kTree + " ");
    EXPECT_TRUE(ListBackups().empty());

    outcome = c.LoadTickAndClean(9);
    EXPECT_EQ(outcome.result, CleanResult::Cleaned);
    EXPECT_EQ(ReadAll(outcome.backups.at(0)), kTree + " ");
    EXPECT_EQ(ReadAll(c.file), ChromiumBookmarksWithout(kTree + " ", {9}).text);
}

TEST(cChromium, BookmarksThatCannotBeReadAreCountedToldAndLeftAsTheyAre)
{
    ChromiumHome c;
    std::string tree = kTree;
    // A repeated id, a number for an id, an id beyond 32 bits.
    tree.replace(tree.find(R"("id": "9")"), 9, R"("id": "7")");
    tree.replace(tree.find(R"("id": "12")"), 10, R"("id": 12)");
    tree.replace(tree.find(R"("id": "3")"), 9, R"("id": "2147483648")");
    c.home.WriteFile(".config/google-chrome/Profile 1/Bookmarks", tree);
    EXPECT_EQ(c.links.Refresh().note, "3 bookmarks in Bookmarks could not be read and are left as they are");
    EXPECT_EQ(c.LoadTickAndClean(7).removed, 1);
    EXPECT_EQ(ReadAll(c.file).find("Ärzte"), std::string::npos);
    EXPECT_NE(ReadAll(c.file).find("日本 😀"), std::string::npos);

    std::filesystem::remove(c.file);
    ASSERT_EQ(::mkfifo(c.file.c_str(), 0600), 0);
    EXPECT_EQ(c.links.Refresh().reason, c.file + " is not a regular file");
    // Local State naming a profile that is gone: the browser starts with Default.
    c.home.WriteFile(".config/google-chrome/Local State", R"({"profile": {"last_used": "Gone"}})");
    EXPECT_EQ(cChromium(kNoLocation).FoundWhere(), "Google Chrome profile ~/.config/google-chrome/Default");
}

// The checksum, by sum.py above: python3 sum.py tree.json 6
TEST(cChromium, AFolderHoldingOnlyADuplicateGoesWholeAndTheRestIsSummedAgain)
{
    ChromiumHome c;
    Json tree = Json::parse(kTree);
    Json& tools = tree["roots"]["bookmark_bar"]["children"][1]["children"];
    tools[2]["children"].push_back({{"id", "20"}, {"name", "Again"}, {"type", "url"}, {"url", "HTTP://a.example:80"}});
    c.home.WriteFile(".config/google-chrome/Profile 1/Bookmarks", tree.dump(3));
    c.links.Refresh();
    TidyLists& lists = c.links.Tidying();
    ASSERT_EQ(lists.Duplicates().size(), 1u);
    EXPECT_EQ(lists.Duplicates()[0].kept->BookmarkID, 7);
    const std::vector<EmptyFolder> folders = lists.EmptyFolders();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].folder->Name + " " + folders[0].folder->Folder, "Empty \\\\-Bookmarks bar\\\\-Tools");
    EXPECT_EQ(c.links.CleanChosenSource(TidyView::EmptyFolders).removedFolders, 1);
    tools.erase(2);
    tree["checksum"] = "dfe4bbe7efc9bd832f6bbfba2e62517f";
    EXPECT_EQ(ReadAll(c.file), tree.dump(3));
}
