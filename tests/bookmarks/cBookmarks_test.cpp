#include <gtest/gtest.h>

#include "bookmarks/cBookmarks.hpp"
#include "support/NumberedError.hpp"

using namespace brimtor;

TEST(cBookmarks, NewRecordsArePendingAndUnmarked)
{
    cBookmarks list;
    const BookmarkPtr b = list.Add("Name", "http://a/", "root", 0, "/f/a.url");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->Status, "pending");
    EXPECT_FALSE(b->Clean);
    EXPECT_EQ(b->ResponseCode, 0);
    EXPECT_EQ(b->ContentLength, 0.0f);
    EXPECT_EQ(b->RedirectedUrl, "");
    EXPECT_EQ(b->Folder, "root");
    EXPECT_EQ(b->ShortcutPath, "/f/a.url");
    EXPECT_EQ(list.Item("0"), b);  // 0 is a valid key
}

TEST(cBookmarks, PositionsAndKeysAreDifferentLookups)
{
    cBookmarks list;
    list.Add("a", "a", "", 0);
    list.Add("c", "c", "", 2);
    list.Add("d", "d", "", 7);
    EXPECT_EQ(list.Item(2)->url, "c");
    EXPECT_EQ(list.Item("2")->url, "c");
    EXPECT_EQ(list.Item(3)->url, "d");
    EXPECT_EQ(list.Item("7")->url, "d");
    EXPECT_EQ(list.Item(list.Count())->url, "d");
    EXPECT_FALSE(list.Add("dup", "dup", "", 7));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item("7")->url, "d");

    EXPECT_THROW(list.Item(0), NumberedError);
    EXPECT_THROW(list.Item(4), NumberedError);
    EXPECT_THROW(list.Item("99"), NumberedError);
    EXPECT_THROW(list.Remove(4), NumberedError);
    EXPECT_FALSE(list.KeyExists("99"));
    EXPECT_TRUE(list.KeyExists("2"));
    EXPECT_EQ(list.Count(), 3);
}

TEST(cBookmarks, RemoveKeepsKeysAndOrderInStep)
{
    cBookmarks list;
    for (int id : {5, 6, 7, 8})
        list.Add(std::to_string(id), std::to_string(id), "", id);
    list.Item("6")->BookmarkID = 60;  // a plain field: changing it must not confuse the keys
    list.Remove("6");
    list.Remove(1);
    EXPECT_FALSE(list.KeyExists("6"));
    EXPECT_FALSE(list.KeyExists("5"));
    std::vector<std::string> urls;
    for (const BookmarkPtr& b : list)
        urls.push_back(b->url);
    EXPECT_EQ(urls, (std::vector<std::string>{"7", "8"}));
    EXPECT_TRUE(list.Add("again", "again", "", 5));

    list.ClearAll();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.begin(), list.end());
    list.SetBookmarkHeader("<TITLE>");
    EXPECT_EQ(list.BookmarkHeader(), "<TITLE>");
}

TEST(cBookmarks, KeysMatchOnlyTheirExactDecimalTextInAnyAddingOrder)
{
    cBookmarks list;
    for (int id : {30, 10, -5, 20, 0})
        list.Add(std::to_string(id), std::to_string(id), "", id);
    EXPECT_FALSE(list.Add("dup", "dup", "", 10));
    EXPECT_FALSE(list.Add("dup", "dup", "", -5));
    for (int id : {30, 10, -5, 20, 0})
        EXPECT_EQ(list.Item(std::to_string(id))->url, std::to_string(id));
    for (const char* text : {"010", "+10", " 10", "10 ", "-0", "1e1", "abc", "", "-", "2147483648",
                             "99999999999999999999"}) {
        EXPECT_FALSE(list.KeyExists(text)) << text;
        EXPECT_THROW(list.Item(std::string(text)), NumberedError) << text;
    }

    // Removing shifts the positions after it; every key still finds its own record.
    list.Remove("10");
    list.Remove(1);  // 30
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1)->url, "-5");
    EXPECT_EQ(list.Item("20"), list.Item(2));
    EXPECT_EQ(list.Item("0"), list.Item(3));
    EXPECT_EQ(list.Item("-5"), list.Item(1));
    EXPECT_TRUE(list.Add("back", "back", "", 30));
    EXPECT_EQ(list.Item("30"), list.Item(4));

    cBookmark filled;
    filled.BookmarkID = 7;
    filled.Icon = std::string(100, 'x');
    const BookmarkPtr added = list.AddRecord(std::move(filled));
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Status, "pending");
    EXPECT_EQ(added->Icon, std::string(100, 'x'));
    EXPECT_EQ(list.Item("7"), added);
    cBookmark taken;
    taken.BookmarkID = 7;
    EXPECT_FALSE(list.AddRecord(std::move(taken)));
}
