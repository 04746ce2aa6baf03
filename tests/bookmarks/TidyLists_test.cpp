#include <gtest/gtest.h>

#include "bookmarks/PageAddress.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

TEST(PageAddress, TwoAddressesAreTheSamePageByOneTableOfRules)
{
    const struct {
        const char* a;
        const char* b;
        bool same;
    } pairs[] = {
        {"HTTP://Example.COM/a?q#f", "http://example.com/a?q#f", true},  // scheme and host in any case
        {"http://example.com:80/", "http://example.com/", true},          // the default ports
        {"https://example.com:443/x", "https://example.com/x", true},
        {"http://example.com", "http://example.com/", true},              // an empty path
        {"http://example.com?q", "http://example.com/?q", true},
        {"http://[::1]:80/", "http://[::1]/", true},
        {"http://example.com/#a", "http://example.com/#b", false},        // the fragment counts
        {"http://example.com/", "https://example.com/", false},
        {"https://example.com:80/", "https://example.com/", false},       // another scheme's port
        {"http://example.com:8080/", "http://example.com/", false},
        {"http://example.com/A", "http://example.com/a", false},          // the path's case counts
        {"http://Me@example.com/", "http://me@example.com/", false},      // so does a user name's
        {"javascript:go()", "javascript:go()", false},                    // no web page
        {"http:///x", "http:///x", false},
    };
    for (const auto& p : pairs) {
        const auto a = PageAddress(p.a);
        EXPECT_EQ(a && a == PageAddress(p.b), p.same) << p.a << " " << p.b;
    }
}

TEST(TidyLists, TheFirstCopyInTheFileStaysAndNoLaterCleanBringsARemovedLineBack)
{
    TempHome home;
    FakeClock clock({2026, 12, 6, 9, 5, 0});
    cLinkMain links;
    links.SetSelectedSource(SourceCode::TextFile);
    const std::string path = home.WriteLines("links.txt", {"http://b.example/", "http://a.example/ first",
        "HTTP://A.example:80/ again", "http://a.example/#top", "http://b.example/ twice", "http://gone.example/"});
    links.SetTextFile(path);
    links.Refresh();
    std::vector<std::string> found;
    for (const Duplicate& d : links.Tidying().Duplicates())
        found.push_back(d.copy->ShortcutName + " < " + d.kept->ShortcutName + (d.Clean ? " ticked" : ""));
    EXPECT_EQ(found, (std::vector<std::string>{"again < first ticked", "twice < http://b.example/ ticked"}));

    // Cleaning the duplicates' list takes its ticks only, whatever a link view ticks.
    links.Bookmarks()->Item("5")->Clean = true;
    *links.Tidying().Tick(TidyView::Duplicates, 4) = false;
    EXPECT_EQ(links.CleanChosenSource(TidyView::Duplicates).removed, 1);
    EXPECT_EQ(ReadAll(path), CrLfLines({"http://b.example/", "http://a.example/ first", "http://a.example/#top",
                                        "http://b.example/ twice", "http://gone.example/"}));
    EXPECT_TRUE(links.Bookmarks()->Item("5")->Clean);
    EXPECT_EQ(links.CleanChosenSource().removed, 1);
    EXPECT_EQ(ReadAll(path), CrLfLines({"http://b.example/", "http://a.example/ first", "http://a.example/#top",
                                        "http://b.example/ twice"}));
}
