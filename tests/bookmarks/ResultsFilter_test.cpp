#include <gtest/gtest.h>

#include "bookmarks/ResultsFilter.hpp"

using namespace brimtor;

namespace {

BookmarkPtr AddChecked(cBookmarks& list, const std::string& url, int code, bool clean)
{
    BookmarkPtr b = list.Add(url, url, "root", list.Count() + 1);
    b->ResponseCode = static_cast<std::int16_t>(code);
    b->Clean = clean;
    b->Status = "scanned";
    return b;
}

std::vector<std::string> Urls(const std::vector<BookmarkPtr>& rows)
{
    std::vector<std::string> urls;
    for (const BookmarkPtr& b : rows)
        urls.push_back(b->url);
    return urls;
}

}  // namespace

TEST(ResultsFilter, ViewsSelectTheirRowsAndProtectionAppliesToEveryRow)
{
    cBookmarks list;
    AddChecked(list, "http://gone/", 404, true);
    const BookmarkPtr secure = AddChecked(list, "HTTPS://secure/", 404, true);
    const BookmarkPtr login = AddChecked(list, "http://login/", 401, true);
    AddChecked(list, "http://moved/", 301, false);
    AddChecked(list, "http://fine/", 200, false);
    AddChecked(list, "http://refused/", 10061, true);
    // Bot walls, rate limits and browser-only sites turn the check away from a live page.
    const BookmarkPtr walled = AddChecked(list, "http://walled/", 403, true);
    const BookmarkPtr limited = AddChecked(list, "http://limited/", 429, true);
    const BookmarkPtr odd = AddChecked(list, "http://odd/", 999, true);
    AddChecked(list, "http://error/", 500, true);

    EXPECT_EQ(Urls(FillView(list, "broken")),
              (std::vector<std::string>{"http://gone/", "http://login/", "http://refused/", "http://walled/",
                                        "http://limited/", "http://odd/", "http://error/"}));
    for (const BookmarkPtr& b : {secure, login, walled, limited, odd})
        EXPECT_FALSE(b->Clean) << b->url;
    EXPECT_TRUE(list.Item(10)->Clean);  // a 500 is ticked as before
    EXPECT_TRUE(RefusedTheCheck(900));
    EXPECT_FALSE(RefusedTheCheck(10061));  // a socket error number is no answer
    EXPECT_EQ(Urls(FillView(list, "Redirect")), std::vector<std::string>{"http://moved/"});
    EXPECT_EQ(FillView(list, "All").size(), 10u);
    EXPECT_EQ(FillView(list, "anything").size(), 10u);

    // A hand tick survives until the next fill, which clears it again on protected rows.
    secure->Clean = true;
    EXPECT_EQ(Urls(FillView(list, "Redirect")), std::vector<std::string>{"http://moved/"});
    EXPECT_FALSE(secure->Clean);
}

TEST(ResultsFilter, OnlyWebAddressesStayTicked)
{
    cBookmarks list;
    for (const char* url : {"place:sort=8&maxResults=10", "javascript:alert(1)", "file:///x", "ftp://gone/", "gone.example"})
        AddChecked(list, url, 11004, true);
    EXPECT_EQ(Urls(FillView(list, "Broken")), (std::vector<std::string>{"ftp://gone/", "gone.example"}));
}

TEST(ResultsFilter, IconsFollowTheCodeClasses)
{
    EXPECT_EQ(IconForCode(101), ResultIcon::Information);
    EXPECT_EQ(IconForCode(307), ResultIcon::None);
    for (int code : {400, 415, 10061})
        EXPECT_EQ(IconForCode(code), ResultIcon::Bad) << code;
    for (int code : {204, 304, 401, 408, 416, 500, 10060})
        EXPECT_EQ(IconForCode(code), ResultIcon::Warning) << code;
}
