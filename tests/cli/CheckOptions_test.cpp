#include <gtest/gtest.h>

#include "bookmarks/cLinkMain.hpp"
#include "cli/CheckOptions.hpp"

using namespace brimtor;

TEST(CheckOptions, DefaultsAreTheWindowsScan)
{
    const ParsedArguments parsed = ParseCheckArguments({"--source", "text", "links.txt"});
    ASSERT_EQ(parsed.error, "");
    const CheckOptions& o = parsed.options;
    EXPECT_EQ(o.source, SourceCode::TextFile);
    EXPECT_EQ(o.jobs, 1);
    EXPECT_EQ(o.paceMs, 200);
    EXPECT_EQ(TimeoutTickMs(o.timeoutSeconds), 1000);
    EXPECT_EQ(o.view, "Broken");
    EXPECT_FALSE(o.proxy.chkUseProxy || o.noConnectionCheck || o.noCheck || o.clean || o.yes || o.help);
}

TEST(CheckOptions, EveryOptionInBothSpellings)
{
    const ParsedArguments parsed = ParseCheckArguments(
        {"--source=HTML", "--view", "redirect", "--format=json", "--jobs", "16", "--pace=0", "--timeout", "2",
         "--proxy", "proxy.lan:3128", "--test-sites", " http://a/ ; http://b/;", "--no-connection-check",
         "--clean", "-y", "saved/bookmarks.html"});
    ASSERT_EQ(parsed.error, "");
    const CheckOptions& o = parsed.options;
    EXPECT_EQ(o.source, SourceCode::BookmarkFile);
    EXPECT_EQ(o.view, "Redirect");
    EXPECT_EQ(o.format, OutputFormat::Json);
    EXPECT_EQ(o.jobs, 16);
    EXPECT_EQ(o.paceMs, 0);
    EXPECT_EQ(TimeoutTickMs(o.timeoutSeconds), 49);
    EXPECT_EQ(o.proxy.txtProxyServer + ":" + o.proxy.txtProxyPort, "proxy.lan:3128");
    EXPECT_EQ(o.testSites, (std::vector<std::string> {"http://a/", "http://b/"}));
    EXPECT_TRUE(o.proxy.chkUseProxy && o.noConnectionCheck && o.clean && o.yes);
    EXPECT_EQ(o.file, "saved/bookmarks.html");
    EXPECT_EQ(ParseCheckArguments({"--source", "netscape", "--no-check"}).options.view, "All");
    EXPECT_EQ(ParseCheckArguments({"--help"}).error, "");
}

TEST(CheckOptions, BadArgumentsSayWhatIsWrong)
{
    const auto error = [](std::vector<std::string> arguments) { return ParseCheckArguments(arguments).error; };
    EXPECT_EQ(error({}), "--source is required (favorites, firefox, netscape, html or text)");
    EXPECT_EQ(error({"--source", "opera"}), "bad value for --source: \"opera\"");
    EXPECT_EQ(error({"--source", "text"}), "the html and text sources need a FILE");
    EXPECT_EQ(error({"--source", "firefox", "x.html"}), "a FILE is only read by the html and text sources");
    EXPECT_EQ(error({"--source", "text", "a", "b"}), "only one FILE may be given");
    EXPECT_EQ(error({"--source", "text", "a", "--jobs"}), "--jobs needs a value");
    EXPECT_EQ(error({"--source", "text", "a", "--jobs", "4x"}), "bad value for --jobs: \"4x\"");
    EXPECT_EQ(error({"--source", "text", "a", "--jobs", "0"}), "bad value for --jobs: \"0\"");
    EXPECT_EQ(error({"--source", "text", "a", "--timeout", "0"}), "bad value for --timeout: \"0\"");
    EXPECT_EQ(error({"--source", "text", "a", "--proxy", "host:70000"}), "bad value for --proxy: \"host:70000\"");
    EXPECT_EQ(error({"--source", "text", "a", "--yes=no"}), "unknown option --yes=no");
    EXPECT_EQ(error({"--source", "text", "a", "--clean", "--no-check"}),
              "--clean needs a check; it cannot be combined with --no-check");
}
