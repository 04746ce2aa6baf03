#include <QTest>
#include <gtest/gtest.h>

#include "bookmarks/cLinkMain.hpp"
#include "engine/cScanDriver.hpp"
#include "tests/engine/FakeScanView.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"
#include "tests/common/net/LoopbackServer.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

constexpr ScanTimings kFast {5, 5, 5};

ScriptedReply Reply(const std::string& head)
{
    return {head + "\r\n\r\n"};
}

struct Scan {
    TempHome home;
    MessageRecorder messages;
    cLinkMain links;
    FakeScanView view;
    cScanDriver driver;
    LoopbackServer server;
    bool complete = false;

    explicit Scan(ScanTimings timings = kFast) : driver(links, view, timings)
    {
        server.Start();
        driver.SetConnectionCheck([] { return true; });
        QObject::connect(&driver, &cScanDriver::ScanCompleted, [this] { complete = true; });
    }

    std::string Url(const std::string& path) const
    {
        return server.Url(path);
    }

    // Loads the lines as a text-file source.
    void Load(const std::vector<std::string>& lines)
    {
        links.SetSelectedSource(SourceCode::TextFile);
        links.SetTextFile(home.WriteLines("links.txt", lines));
        links.Refresh();
        view.progressMax = links.Bookmarks()->Count() + 1;
    }

    void Run()
    {
        driver.cmdScan_Click();
        ASSERT_TRUE(QTest::qWaitFor([this] { return complete; }, 20000));
    }

    // Scans /slow, answered a byte at a time, then /ok; returns while /slow is under way.
    void StartWithASlowLink()
    {
        server.Script("/slow", {"HTTP/1.1 200 OK\r\n\r\n", true, 0, true});
        server.Script("/ok", Reply("HTTP/1.1 200 OK"));
        Load({Url("/slow"), Url("/ok")});
        driver.cmdScan_Click();
        WaitForTheFirstLink();
    }

    // Returns once the scan has started its first link.
    void WaitForTheFirstLink()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return view.progress == 1; }, 5000));
    }

    std::vector<std::string> Methods() const
    {
        std::vector<std::string> methods;
        for (const std::string& head : server.Requests())
            methods.push_back(head.substr(0, head.find(" HTTP/1.1")));
        return methods;
    }
};

}  // namespace

TEST(cScanDriver, EmptyCollectionWritesOnlyTheStageLinesInOrder)
{
    Scan s;
    s.Load({});
    s.Run();
    ASSERT_EQ(s.view.details.size(), 7u);
    EXPECT_EQ(s.view.details[5].rfind("Scan time: ", 0), 0u);
    s.view.details[5] = "Scan time: ";
    EXPECT_EQ(s.view.details, (std::vector<std::string> {"starting pre-scan....", "pre-scan complete....",
                                                          "starting 1st pass....", "starting 2nd pass....",
                                                          "starting 3rd pass....", "Scan time: ", "....scan complete...."}));
    EXPECT_EQ(s.view.status.rfind("scan complete in ", 0), 0u);
    EXPECT_EQ(s.view.Caption(ScanButton::Next), "&Report");
    EXPECT_TRUE(s.view.Enabled(ScanButton::Next) && s.view.Enabled(ScanButton::Back) && s.view.Enabled(ScanButton::Scan));
    EXPECT_FALSE(s.view.Enabled(ScanButton::Pause));
    EXPECT_EQ(s.view.flashes, 1);
}

TEST(cScanDriver, SecondPassSendsGetOnlyForLinksThatFailedAndOnlyTheFragmentIsDropped)
{
    Scan s;
    s.server.Script("/ok", Reply("HTTP/1.1 200 OK"));
    s.server.Script("/gone", Reply("HTTP/1.1 404 Not Found"));
    s.server.Script("/moved", Reply("HTTP/1.1 301 Moved\r\nLocation: /new"));
    s.server.Script("/empty", Reply("HTTP/1.1 204 No Content"));
    s.server.Script("HEAD /picky", Reply("HTTP/1.1 405 Method Not Allowed"));
    s.server.Script("/picky", Reply("HTTP/1.1 200 OK"));
    s.server.Script("/page?x=1", Reply("HTTP/1.1 200 OK"));
    s.view.detailsShown = true;
    // A hash-routed web app on its own port is asked on that port, with its query.
    s.Load({s.Url("/ok"), s.Url("/gone"), s.Url("/moved"), s.Url("/empty"), "http://127.0.0.1:1/refused",
            s.Url("/picky"), s.Url("/page?x=1#part")});
    s.Run();

    std::vector<std::pair<int, bool>> outcomes;
    for (const BookmarkPtr& b : *s.links.Bookmarks())
        outcomes.emplace_back(b->ResponseCode, b->Clean);
    // Refused on HEAD and refused again on GET; a server that only dislikes HEAD is fine after all.
    EXPECT_EQ(outcomes, (std::vector<std::pair<int, bool>>{{200, false}, {404, true}, {301, false}, {204, true},
                                                            {10061, true}, {200, false}, {200, false}}));
    EXPECT_EQ(s.links.Bookmarks()->Item(3)->RedirectedUrl, s.Url("/new"));
    // The look at every page that answered, its redirect followed; their empty pages need no probe.
    EXPECT_EQ(s.Methods(), (std::vector<std::string>{"HEAD /ok", "HEAD /gone", "HEAD /moved", "HEAD /empty",
                                                      "HEAD /picky", "HEAD /page?x=1", "GET /gone", "GET /empty", "GET /picky",
"GET /ok", "GET /moved", "GET /new", "GET /picky",
                                                      "GET /page?x=1"}));
    // Per-link lines name the position, the pass and the bookmark.
    EXPECT_NE(std::find(s.view.details.begin(), s.view.details.end(), "[2] 2nd Pass: " + s.Url("/gone")),
              s.view.details.end());
}

TEST(cScanDriver, SilentServerIsCutOffOnTheFortyFirstTick)
{
    Scan s;
    s.server.Script("/silent", {"", false, 0, false});
    s.Load({s.Url("/silent")});
    s.Run();
    const BookmarkPtr b = s.links.Bookmarks()->Item(1);
    EXPECT_EQ(b->Status, "error");
    EXPECT_EQ(b->ResponseCode, 408);
    // Forced even with the details hidden; once per pass.
    EXPECT_EQ(std::count(s.view.details.begin(), s.view.details.end(), "    Error: Connection timed out"), 2);
}

TEST(cScanDriver, PauseHoldsTheNextLinkAndScanWhilePausedStartsAfresh)
{
    Scan s;
    ASSERT_NO_FATAL_FAILURE(s.StartWithASlowLink());
    s.driver.cmdPause_Click();
    EXPECT_EQ(s.view.Caption(ScanButton::Pause), "Start");
    EXPECT_TRUE(s.view.Enabled(ScanButton::Scan));
    // The link under way finishes; the next one waits.
    ASSERT_TRUE(QTest::qWaitFor([&s] { return s.links.Bookmarks()->Item(1)->Status == "scanned"; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(s.links.Bookmarks()->Item(2)->Status, "pending");

    s.driver.cmdPause_Click();
    EXPECT_EQ(s.view.Caption(ScanButton::Pause), "Pause");
    EXPECT_FALSE(s.view.Enabled(ScanButton::Scan));
    ASSERT_TRUE(QTest::qWaitFor([&s] { return s.complete; }, 10000));
    EXPECT_EQ(s.links.Bookmarks()->Item(2)->ResponseCode, 200);

    // Scan while paused mid-link: the old request is dropped, the new scan starts clean.
    s.complete = false;
    s.links.Refresh();
    s.driver.cmdScan_Click();
    ASSERT_NO_FATAL_FAILURE(s.WaitForTheFirstLink());
    const BookmarkPtr abandoned = s.links.Bookmarks()->Item(1);
    s.driver.cmdPause_Click();
    s.links.Refresh();
    s.Run();
    EXPECT_EQ(abandoned->Status, "pending");
    EXPECT_EQ(std::count(s.view.details.begin(), s.view.details.end(), "starting pre-scan...."), 1);
    EXPECT_EQ(s.links.Bookmarks()->Item(1)->ResponseCode, 200);
}

TEST(cScanDriver, ResumingWhileALinkIsUnderWayLetsItFinish)
{
    Scan s;
    s.driver.SetLookSource([] { return false; });
    ASSERT_NO_FATAL_FAILURE(s.StartWithASlowLink());
    s.driver.cmdPause_Click();
    s.driver.cmdPause_Click();
    ASSERT_TRUE(QTest::qWaitFor([&s] { return s.complete; }, 10000));
    // Both answered in the first pass, so no link was dropped and asked again.
    EXPECT_EQ(s.Methods(), (std::vector<std::string>{"HEAD /slow", "HEAD /ok"}));
}

TEST(cScanDriver, LanesFinishTheirLinksWhenPausedAndScanWhilePausedClosesThem)
{
    Scan s({5, 5, 60000});  // nothing is cut off while the test looks
    s.driver.SetLaneSource([] { return 4; });
    s.server.Script("/slow", {"HTTP/1.1 200 OK\r\nX-Pad: " + std::string(100, 'x') + "\r\n\r\n", true});
    s.server.Script("/silent", {"", false, 0, false});
    s.Load({s.Url("/slow"), s.Url("/slow"), s.Url("/silent"), s.Url("/silent")});
    s.driver.cmdScan_Click();
    ASSERT_TRUE(QTest::qWaitFor([&s] { return s.server.Requests().size() == 2; }, 5000));
    s.driver.cmdPause_Click();
    ASSERT_TRUE(QTest::qWaitFor([&s] { return s.view.progress == 2; }, 5000));  // both ended...
    QTest::qWait(50);
    EXPECT_EQ(s.server.Requests().size(), 2u);  // ...and no other began
    s.driver.cmdPause_Click();
    ASSERT_TRUE(QTest::qWaitFor([&s] { return s.server.OpenNow() == 2; }, 5000));  // the silent two
    s.driver.cmdPause_Click();
    s.driver.cmdScan_Click();
    s.driver.cmdPause_Click();  // the new scan holds before its first link
    EXPECT_TRUE(QTest::qWaitFor([&s] { return s.server.OpenNow() == 0; }, 5000));  // Scan hung up on both
}

TEST(cScanDriver, AtFourLanesTheBarSweepsTheWholeCollectionInTheSecondPassToo)
{
    Scan s;
    s.driver.SetLaneSource([] { return 4; });
    s.server.Script("/ok", Reply("HTTP/1.1 200 OK"));
    // The first link answers well, so the second pass gives the bar no 0 but at its start.
    s.Load({s.Url("/ok"), s.Url("/gone"), s.Url("/ok"), s.Url("/ok"), s.Url("/ok"), s.Url("/gone")});
    s.Run();
    const std::vector<int>& seen = s.view.progresses;
    const auto secondPass = std::find(seen.rbegin(), seen.rend(), 0).base();
    EXPECT_TRUE(std::is_sorted(secondPass, seen.end()));
    EXPECT_EQ(seen[seen.size() - 2], 6);  // the last link's end, before the bar is filled
}

TEST(cScanDriver, APausedScanAtFourLanesNeitherStartsAPassNorCompletes)
{
    Scan s({5, 5, 60000});
    s.driver.SetLaneSource([] { return 4; });
    const std::string slow = "HTTP/1.1 200 OK\r\nX-Pad: " + std::string(100, 'x') + "\r\n\r\n";
    s.server.Script("/slow", {slow, true});
    s.server.Script("HEAD /retried", Reply("HTTP/1.1 404 Not Found"));
    s.server.Script("/retried", {slow, true});
    s.Load({s.Url("/slow"), s.Url("/retried")});
    // Pauses once the server has the scan's nth request and waits until the link `position` ends.
    const auto pauseUntilTheLastLinkEnds = [&s](std::size_t requests, int position, const std::string& status) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return s.server.Requests().size() == requests; }, 5000));
        s.driver.cmdPause_Click();
        const BookmarkPtr link = s.links.Bookmarks()->Item(position);
        ASSERT_TRUE(QTest::qWaitFor([&] { return link->Status + std::to_string(link->ResponseCode) == status; }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(s.view.Caption(ScanButton::Pause), "Start");
        EXPECT_EQ(s.server.Requests().size(), requests);
    };
    s.driver.cmdScan_Click();
    ASSERT_NO_FATAL_FAILURE(pauseUntilTheLastLinkEnds(2, 1, "scanned200"));
    EXPECT_EQ(s.view.details.back(), "starting 1st pass....");
    s.driver.cmdPause_Click();
    ASSERT_NO_FATAL_FAILURE(pauseUntilTheLastLinkEnds(3, 2, "scanned200"));
    EXPECT_FALSE(s.complete);
    EXPECT_TRUE(s.view.Enabled(ScanButton::Pause));
    EXPECT_NE(s.view.Caption(ScanButton::Next), "&Report");
    s.driver.cmdPause_Click();
    EXPECT_TRUE(QTest::qWaitFor([&s] { return s.complete; }, 5000));
}

TEST(cScanDriver, AtFourLanesTheSocketLabelFollowsALinkStillUnderWay)
{
    Scan s({5, 5, 60000});  // nothing is cut off while the test looks
    s.driver.SetLaneSource([] { return 4; });
    s.server.Script("/silent", {"", false, 0, false});
    s.server.Script("/slow", {"HTTP/1.1 200 OK\r\n\r\n", true});
    s.Load({s.Url("/slow"), s.Url("/silent"), s.Url("/slow")});  // answered once: two links at a time
    s.driver.cmdScan_Click();
    // The link started last ends while the one before it is still under way.
    ASSERT_TRUE(QTest::qWaitFor([&s] { return s.links.Bookmarks()->Item(3)->Status == "scanned"; }, 5000));
    s.view.response.clear();
    EXPECT_TRUE(QTest::qWaitFor([&s] { return s.view.response == "Connected"; }, 5000));
}

TEST(cScanDriver, NoConnectionChangesNothing)
{
    Scan s;
    s.Load({s.Url("/ok")});
    s.driver.SetConnectionCheck([] { return false; });
    EXPECT_FALSE(s.driver.cmdScan_Click());
    EXPECT_TRUE(s.view.details.empty());
    EXPECT_TRUE(s.view.Enabled(ScanButton::Scan));
}

TEST(cScanDriver, DetailsLogThinsOutItsOldestLinesAtTenThousand)
{
    Scan s;
    for (int i = 0; i < cScanDriver::kMaxDetails; ++i)
        s.view.details.push_back(std::to_string(i));
    s.driver.AddDetail("per-link line", false);
    EXPECT_EQ(s.view.details.size(), 10000u);  // hidden list: not written
    s.driver.AddDetail("forced", true);
    ASSERT_EQ(s.view.details.size(), 9950u);
    EXPECT_EQ(s.view.details[0], "1");
    EXPECT_EQ(s.view.details[49], "99");
    EXPECT_EQ(s.view.details[50], "101");
    EXPECT_EQ(s.view.details.back(), "forced");
    EXPECT_EQ(s.view.selected, 9949);
}
