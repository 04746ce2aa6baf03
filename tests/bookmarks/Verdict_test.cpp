#include <algorithm>

#include <gtest/gtest.h>

#include "bookmarks/ResultsFilter.hpp"
#include "bookmarks/Verdict.hpp"

using namespace brimtor;

namespace {

std::vector<std::string> Urls(const std::vector<BookmarkPtr>& rows)
{
    std::vector<std::string> urls;
    for (const BookmarkPtr& b : rows)
        urls.push_back(b->url);
    return urls;
}

}  // namespace

// Each line: the address, whether judging ticks it, whether the Problem view lists it, whether a
// hand tick outlives the next fill, and its icon.
TEST(Verdict, JudgingTicksListsGuardsAndDrawsEveryKindOfOutcome)
{
    const struct {
        const char* url;
        const char* status;
        int code;
        const char* expected;
    } cases[] = {
        {"http://gone/", "scanned", 404, "ticked listed kept bad"},
        {"http://fine/", "scanned", 200, "- - kept none"},
        {"http://moved/", "scanned", 301, "- - kept none"},
        {"http://stale/", "scanned", 304, "ticked listed kept warning"},
        {"http://hello/", "scanned", 100, "ticked listed kept information"},
        {"http://teapot/", "scanned", 408, "ticked listed kept warning"},  // the server's own 408
        {"http://silent/", "error", 408, "- listed cleared warning"},     // cut off: maybe down for now
        {"http://timedout/", "error", 10060, "ticked listed kept warning"},
        {"http://refused/", "error", 10061, "ticked listed kept bad"},
        {"http://noaddress/", "error", 11004, "ticked listed kept bad"},
        {"http://unknown/", "error", 11001, "- - kept warning"},  // maybe a passing DNS fault
        {"http://unasked/", "pending", 0, "- - kept warning"},
        {"HTTPS://secure/", "scanned", 404, "- - cleared bad"},
        {"https://login/", "scanned", 401, "- listed cleared warning"},  // the answer decides first
        {"http://walled/", "scanned", 403, "- listed cleared bad"},
        {"http://limited/", "scanned", 429, "- listed cleared warning"},
        {"http://odd/", "scanned", 999, "- listed cleared warning"},
        {"place:sort=8&maxResults=10", "error", 11004, "- - cleared bad"},
        {"javascript:alert(1)", "pending", 0, "- - cleared warning"},
        {"ftp://gone/", "error", 11004, "ticked listed kept bad"},
        {"gone.example", "scanned", 500, "ticked listed kept warning"},
    };
    cBookmarks list;
    for (const auto& c : cases) {
        const BookmarkPtr b = list.Add(c.url, c.url, "root", list.Count() + 1);
        b->Status = c.status;
        b->ResponseCode = static_cast<std::int16_t>(c.code);
        b->Clean = true;  // a tick from before this scan counts for nothing
    }
    JudgeBookmarks(list);
    std::vector<std::string> ticked;
    for (const BookmarkPtr& b : list)
        ticked.push_back(b->Clean ? "ticked" : "-");
    const std::vector<std::string> problems = Urls(FillView(list, "broken"));
    for (const BookmarkPtr& b : list)
        b->Clean = true;  // ticked by hand
    EXPECT_EQ(FillView(list, "anything").size(), std::size(cases));

    const char* const icons[] = {"none", "bad", "question", "warning", "information"};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const cBookmark& b = *list.Item(static_cast<int>(i) + 1);
        const bool listed = std::find(problems.begin(), problems.end(), b.url) != problems.end();
        EXPECT_EQ(ticked[i] + (listed ? " listed " : " - ") + (b.Clean ? "kept " : "cleared ")
                      + icons[static_cast<int>(IconOf(b))],
                  cases[i].expected)
            << b.url;
    }
    // Redirects go by the code's first digit, whatever their verdict.
    EXPECT_EQ(Urls(FillView(list, "Redirect")), (std::vector<std::string>{"http://moved/", "http://stale/"}));
}

// The look's finding ticks a plain page; a secure one stays protected but is listed with the
// finding, for the user to judge. Either way the words tell what the look saw.
TEST(Verdict, APageTheLookFoundDeadIsTickedUnlessSecureAndSaysWhy)
{
    cBookmarks list;
    for (const char* url : {"http://parked/", "https://parked/", "https://fine/"}) {
        const BookmarkPtr b = list.Add(url, url, "root", list.Count() + 1);
        b->Status = "scanned";
        b->ResponseCode = 200;
        b->LookFinding = std::string(url) == "https://fine/" ? LookVerdict::None : LookVerdict::Parked;
        EXPECT_TRUE(AnsweredAlive(*b)) << url;  // the look asks secure pages too
    }
    JudgeBookmarks(list);
    EXPECT_EQ(Urls(FillView(list, "Broken")), (std::vector<std::string>{"http://parked/", "https://parked/"}));
    const char* const dead = " \u2014 the page looks dead: the domain is parked (for sale)";
    const struct { bool ticked; ResultIcon icon; std::string words; } told[] = {
        {true, ResultIcon::Bad, dead}, {false, ResultIcon::Warning, dead}, {false, ResultIcon::None, ""}};
    for (int i = 1; i <= 3; ++i) {
        const cBookmark& b = *list.Item(i);
        EXPECT_EQ(b.Clean, told[i - 1].ticked) << b.url;
        EXPECT_EQ(IconOf(b), told[i - 1].icon) << b.url;
        EXPECT_EQ(VerdictWords(b), told[i - 1].words) << b.url;
    }
}
