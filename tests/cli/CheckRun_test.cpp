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
    // Whatever the run's own handler did, the one installed before it is back afterwards.
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
    EXPECT_EQ(ListNames(BackupFolder()).size(), 1u);
    ShowMessage("after the runs");
    EXPECT_EQ(messages.Texts(), std::vector<std::string> {"after the runs"});
}
