#include <gtest/gtest.h>

#include <sstream>

#include "bookmarks/cLinkMain.hpp"
#include "cli/CheckRun.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"
#include "tests/common/net/LoopbackServer.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

struct Answered {
    int exit = -1;
    std::string out;
    std::string err;
};

Answered RunWith(const CheckOptions& options, const std::string& answer)
{
    std::istringstream in(answer);
    std::ostringstream out;
    std::ostringstream err;
    const int exit = CheckRun(options, in, out, err).Run();
    return {exit, out.str(), err.str()};
}

}  // namespace

TEST(CheckRun, CleaningAsksFirstAndOnlyYesCleans)
{
    TempHome home;
    LoopbackServer server;
    server.Script("/gone", {"HTTP/1.1 404 Not Found\r\n\r\n"});
    server.Start();
    const std::string link = server.Url("/gone");
    const std::string path = home.WriteFile("links.txt", link + "\r\n");
    CheckOptions options =
        ParseCheckArguments({"--source", "text", path, "--no-connection-check", "--pace", "0", "--clean"}).options;
    // The run shows no message box: the only one recorded is the test's own.
    MessageRecorder messages;

    const Answered no = RunWith(options, "n\n");
    EXPECT_EQ(no.exit, 1);
    EXPECT_EQ(no.err, "Remove 1 bookmark(s) from " + path + " after a backup? This cannot be undone. [y/N] "
                      "brimtor-check: nothing was cleaned\n");
    EXPECT_EQ(ReadAll(path), link + "\r\n");
    // No answer at all, as when the terminal closes, is a no.
    EXPECT_EQ(RunWith(options, "").exit, 1);
    EXPECT_EQ(ReadAll(path), link + "\r\n");

    const Answered yes = RunWith(options, " Y \n");
    EXPECT_EQ(yes.exit, 1) << yes.err;
    EXPECT_EQ(ReadAll(path), "");
    EXPECT_EQ(ListNames(BackupFolder()).size(), 2u);  // the copy and its record
    ShowMessage("after the runs");
    EXPECT_EQ(messages.Texts(), std::vector<std::string> {"after the runs"});
}

TEST(CheckOptions, DefaultsAndEveryOptionWorkInBothSpellings)
{
    const ParsedArguments parsed = ParseCheckArguments({"--source", "text", "links.txt"});
    ASSERT_EQ(parsed.error, "");
    CheckOptions o = parsed.options;
    EXPECT_EQ(o.jobs, 32);
    EXPECT_EQ(o.paceMs, 50);
    EXPECT_EQ(TimeoutTickMs(o.timeoutSeconds), 1000);
    EXPECT_EQ(o.view, "Broken");
    EXPECT_FALSE(o.proxy.useProxy || o.noConnectionCheck || o.noCheck || o.clean || o.yes || o.help);

    const ParsedArguments every = ParseCheckArguments(
        {"--source=HTML", "--view", "redirect", "--format=json", "--jobs", "16", "--pace=0", "--timeout", "2",
         "--proxy", "ann:pa:ss@proxy.lan:3128", "--test-sites", " http://a/ ; http://b/;", "--no-connection-check",
         "--clean", "-y", "saved/bookmarks.html"});
    ASSERT_EQ(every.error, "");
    o = every.options;
    EXPECT_EQ(o.source, SourceCode::BookmarkFile);
    EXPECT_EQ(o.view, "Redirect");
    EXPECT_EQ(o.format, OutputFormat::Json);
    EXPECT_EQ(o.jobs, 16);
    EXPECT_EQ(o.paceMs, 0);
    EXPECT_EQ(TimeoutTickMs(o.timeoutSeconds), 49);
    EXPECT_EQ(o.proxy.user + "|" + o.proxy.password + "|" + o.proxy.server + ":" + o.proxy.port, "ann|pa:ss|proxy.lan:3128");
    EXPECT_EQ(o.testSites, (std::vector<std::string> {"http://a/", "http://b/"}));
    EXPECT_TRUE(o.proxy.useProxy && o.noConnectionCheck && o.clean && o.yes);
    EXPECT_EQ(o.file, "saved/bookmarks.html");
    const CheckOptions netscape = ParseCheckArguments({"--source", "netscape", "--no-check"}).options;
    EXPECT_EQ(netscape.source, SourceCode::Netscape);
    EXPECT_EQ(netscape.view, "All");
    EXPECT_EQ(ParseCheckArguments({"--help"}).error, "");
}

TEST(CheckOptions, BadArgumentsSayWhatIsWrong)
{
    const auto error = [](std::vector<std::string> arguments) { return ParseCheckArguments(arguments).error; };
    EXPECT_EQ(error({}), "--source is required (favorites, firefox, netscape, chromium, html or text)");
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
