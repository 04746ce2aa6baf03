#include <gtest/gtest.h>

#include <string>

#include "engine/PageText.hpp"

using namespace brimtor;

TEST(PageText, ReadsTitleFirstHeadingAndVisibleWords)
{
    const PageText page = ReadPage(
        "<!DOCTYPE html><html><head><title>Page&nbsp;Not Found &#8211; Caf&eacute; &#xE9;</title>"
        "<style>h1 { color: red }</style><script>var t = '<h1>not this</h1>';</script></head>"
        "<body><svg><title>Icon</title></svg><h1><img src=logo.png></h1><!-- <h2>hidden</h2> -->"
        "<h2 class=\"a>b\">Sorry, we COULDN\xE2\x80\x99T   find\n\tthat<br>page</h2>"
        "<p>Error <b>4</b><i>04</i>: it doesn't &amp; won't &unknown; exist &copy;2024 \xF0\x9F\x98\x80!</p>"
        "<template><p>later</p></template><p>a < b</p><h1>Second heading</h1></body></html>",
        "text/html; charset=utf-8");
    EXPECT_EQ(page.title, "page not found caf\xC3\xA9 \xC3\xA9");
    EXPECT_EQ(page.heading, "sorry we couldn't find that page");
    EXPECT_EQ(page.text, "sorry we couldn't find that page error 404 it doesn't won't unknown exist 2024 a b "
                         "second heading");
}

TEST(PageText, ReadsBytesAsUtf8WhereWellFormedElseLatin1AndOnlyHtmlOrText)
{
    // A-umlaut in UTF-8 and in Latin-1, a stray continuation byte, an overlong form, a cut-off sequence.
    EXPECT_EQ(ReadPage("<p>\xC3\x84rger \xC4rger x\x80y \xC0\xAF \xE2\x82").text,
              "\xC3\xA4rger \xC3\xA4rger x y \xC3\xA0 \xC3\xA2");
    EXPECT_EQ(MatchingWords("/caf%C3%A9/Page_Not-FOUND.html"), "caf c3 a9 page not found html");
    EXPECT_EQ(ReadPage("<p>Not found</p>", "text/plain").text, "p not found p");
    EXPECT_EQ(ReadPage("<title>Not found</title>", "image/png").title, "");
    EXPECT_EQ(ReadPage("<title>Not found</title>", "application/xhtml+xml").title, "not found");
}

TEST(PageText, HostileBodiesEndAtTheEndOfTheBody)
{
    // Deep nesting costs nothing; only the first 64 KiB are read.
    std::string nested;
    while (nested.size() < 2 * kLookBodyBytes)
        nested += "<div><span>x";
    const PageText deep = ReadPage(nested);
    EXPECT_EQ(deep.text.size(), 2 * (kLookBodyBytes / 12) - 1);

    // An unclosed quote, tag, comment, script or title swallows the rest and nothing more.
    const std::string huge(100000, 'a');
    const auto start = [](const std::string& html) { return ReadPage(html).text.substr(0, 10); };
    EXPECT_EQ(start("<p>kept</p><a href=\"" + huge + ">\">gone"), "kept");
    EXPECT_EQ(start("<p>kept</p><a title='" + huge), "kept");
    EXPECT_EQ(start("<p>kept</p><!-- " + huge), "kept");
    EXPECT_EQ(start("<p>kept</p><script>" + huge), "kept");
    const PageText title = ReadPage("<title>" + huge);
    EXPECT_EQ(title.title.size(), 1024u);
    EXPECT_EQ(title.text, "");
    EXPECT_EQ(ReadPage("<p>kept &#99999999999999; &#x; &#0; &").text, "kept x");
}
