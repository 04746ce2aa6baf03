#include <gtest/gtest.h>

#include "bookmarks/cBookmarks.hpp"
#include "support/NumberedError.hpp"

using namespace brimtor;

TEST(cBookmarks, NewRecordsArePendingAndPositionsAndKeysAreDifferentLookups)
{
    cBookmarks list;
    const BookmarkPtr zero = list.Add("Name", "a", "root", 0, "/f/a.url");
    EXPECT_EQ(zero->Status, "pending");
    EXPECT_FALSE(zero->Clean);
    EXPECT_EQ(zero->ShortcutPath, "/f/a.url");
    EXPECT_EQ(list.Item("0"), zero);  // 0 is a valid key
    list.Add("c", "c", "", 2);
    list.Add("d", "d", "", 7);
    EXPECT_EQ(list.Item(2)->url, "c");
    EXPECT_EQ(list.Item("7")->url, "d");
    EXPECT_FALSE(list.Add("dup", "dup", "", 7));
    EXPECT_EQ(list.Item("7")->url, "d");
    EXPECT_THROW(list.Item(0), NumberedError);
    EXPECT_THROW(list.Item(4), NumberedError);
    EXPECT_THROW(list.Remove(4), NumberedError);
    EXPECT_EQ(list.Count(), 3);

    cBookmark filled;
    filled.BookmarkID = 9;
    filled.Icon = std::string(100, 'x');
    const BookmarkPtr added = list.AddRecord(std::move(filled));
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Status, "pending");
    EXPECT_EQ(added->Icon, std::string(100, 'x'));
    EXPECT_EQ(list.Item("9"), added);
}

TEST(cBookmarks, KeysMatchOnlyTheirExactDecimalTextAndStayInStepWithRemovals)
{
    cBookmarks list;
    for (int id : {30, 10, -5, 20, 0})
        list.Add(std::to_string(id), std::to_string(id), "", id);
    EXPECT_FALSE(list.Add("dup", "dup", "", -5));
    for (const char* text : {"010", "+10", " 10", "-0", "1e1", "", "2147483648"}) {
        EXPECT_FALSE(list.KeyExists(text)) << text;
        EXPECT_THROW(list.Item(std::string(text)), NumberedError) << text;
    }

    // Removing shifts the positions after it; every key still finds its own record, even after
    // a record's plain ID field was changed.
    list.Item("20")->BookmarkID = 60;
    list.Remove("10");
    list.Remove(1);  // 30
    EXPECT_FALSE(list.KeyExists("10"));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1)->url, "-5");
    EXPECT_EQ(list.Item("20"), list.Item(2));
    EXPECT_EQ(list.Item("0"), list.Item(3));
    EXPECT_TRUE(list.Add("back", "back", "", 30));
    EXPECT_EQ(list.Item("30"), list.Item(4));
    std::vector<std::string> urls;
    for (const BookmarkPtr& b : list)
        urls.push_back(b->url);
    EXPECT_EQ(urls, (std::vector<std::string>{"-5", "20", "0", "back"}));

    list.ClearAll();
    EXPECT_EQ(list.begin(), list.end());
}
