#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QEventLoop>

#include "bookmarks/cLinkMain.hpp"
#include "engine/LookAddress.hpp"
#include "engine/ResultText.hpp"
#include "engine/cParallelScan.hpp"
#include "engine/cScanDriver.hpp"
#include "tests/engine/FakeScanView.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"
#include "tests/common/net/LoopbackServer.hpp"

using namespace brimtor;

namespace {

void RunToEnd(cParallelScan& scan)
{
    QEventLoop loop;
    QObject::connect(&scan, &cParallelScan::ScanCompleted, &loop, &QEventLoop::quit);
    scan.Start();
    EXPECT_FALSE(scan.Completed()) << "completion comes from the event loop";
    loop.exec();
    EXPECT_TRUE(scan.Completed());
}

}  // namespace

TEST(cParallelScan, ManyLanesNeverSendMoreThanTwoLinksToOneServerNorStartThemCloserThanItsPace)
{
    // Every answer trickles in a byte a millisecond, longer than the pace, so links overlap.
    test::LoopbackServer server;
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Start()), pad = "X: " + std::string(50, 'x');
    auto bookmarks = std::make_shared<cBookmarks>();
    for (int i = 1; i <= 30; ++i) {
        const std::string path = (i % 3 ? "/ok" : "/bad") + std::to_string(i);
        server.Script(path, {(i % 3 ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") + pad + "\r\n\r\n", true});
        bookmarks->Add("n", base + path, {}, i);
    }
    cParallelScan scan(bookmarks, {8, 0, 30, 1000, {}});
    RunToEnd(scan);
    EXPECT_EQ(server.MostOpenAtOnce(), cParallelScan::kPerHostLimit);
    // A HEAD for every link, a GET again for the ten that failed, a look at the twenty that
    // answered (whose empty pages need no probe).
    EXPECT_EQ(server.Requests().size(), 60u);
    EXPECT_EQ(bookmarks->Item(3)->ResponseCode, 404);
    const auto& times = server.RequestTimes();
    for (std::size_t i = 1; i < times.size(); ++i)  // as the server saw them, so with some slack
        EXPECT_GE(times[i] - times[i - 1], std::chrono::milliseconds(20)) << i;
}

TEST(cParallelScan, EmptyCollectionsAndUnstartableLinksStillComplete)
{
    cParallelScan empty(std::make_shared<cBookmarks>(), {4, 0, 0, 1000, {}});
    RunToEnd(empty);
    EXPECT_EQ(empty.RequestsEnded(), 0u);

    auto bookmarks = std::make_shared<cBookmarks>();
    bookmarks->Add("bad port", "http://127.0.0.1:99999/", {}, 1);
    cParallelScan unstartable(bookmarks, {2, 0, 0, 1000, {}});
    RunToEnd(unstartable);
    EXPECT_EQ(bookmarks->Item(1)->Status, "pending");
}

namespace {

// Every outcome field a check writes, one line per bookmark.
std::vector<std::string> Outcomes(const cBookmarks& bookmarks)
{
    std::vector<std::string> lines;
    for (const BookmarkPtr& b : bookmarks)
        lines.push_back(b->url + " " + b->Status + " " + ResultText(*b) + " " + (b->Clean ? "clean " : "keep ")
                        + b->RedirectedUrl + " " + std::to_string(b->ContentLength));
    return lines;
}

}  // namespace

TEST(cParallelScan, GivesTheWindowsOutcomesAndRequestsWhateverTheLanes)
{
    test::TempHome home;
    test::MessageRecorder messages;
    // The same probe every run: /moved lands on /ok, which could be a language's front page.
    const ProbeLetters random = SetProbeLetters([] { return std::string(kProbeLetters, 'q'); });
    test::LoopbackServer server;
    server.Script("/ok", {"HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n"});
    server.Script("/moved", {"HTTP/1.1 302 Found\r\nLocation: /ok\r\n\r\n"});
    server.Script("/empty", {"HTTP/1.1 204 No Content\r\n\r\n"});
    server.Script("/silent", {"", false, 0, false});
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Start());
    test::LoopbackServer silent;  // never answers, so its last two links go unasked
    silent.Start("127.0.0.2");
    for (const char* path : {"/a", "/b", "/c"})
        silent.Script(path, {"", false, 0, false});
    const std::string text = test::CrLfLines({base + "/ok", base + "/gone", base + "/moved", base + "/empty", base + "/silent",
                                        test::RefusedUrl(), base + "/ok?q=1#part", "http://127.0.0.1:0/", "http://bad host/",
                                        silent.Url("/a"), silent.Url("/b"), silent.Url("/c")});

    // The window: one link at a time, the time-out tick shortened alike.
    cLinkMain links;
    links.SetSelectedSource(SourceCode::TextFile);
    links.SetTextFile(home.WriteFile("links.txt", text));
    links.Refresh();
    test::FakeScanView view;
    view.detailsShown = true;
    cScanDriver driver(links, view, {1, 5, 5});
    driver.SetConnectionCheck([] { return true; });
    bool complete = false;
    QObject::connect(&driver, &cScanDriver::ScanCompleted, [&] { complete = true; });
    driver.cmdScan_Click();
    QEventLoop wait;
    while (!complete)
        wait.processEvents(QEventLoop::WaitForMoreEvents);
    const auto sortedLog = [&view] {  // the scan time left out
        std::vector<std::string> lines = view.details;
        std::erase_if(lines, [](const std::string& line) { return line.rfind("Scan time: ", 0) == 0; });
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    // One lane: a time-out line follows its own link's line; name that link, as more lanes do.
    std::vector<std::string> oneLaneLog = view.details;
    std::erase_if(oneLaneLog, [](const std::string& line) { return line.rfind("Scan time: ", 0) == 0; });
    for (std::size_t i = 1; i < oneLaneLog.size(); ++i) {
        if (oneLaneLog[i] == "    Error: Connection timed out")
            oneLaneLog[i].insert(4, oneLaneLog[i - 1].substr(0, oneLaneLog[i - 1].find(' ') + 1));
    }
    const std::vector<std::string> expected = Outcomes(*links.Bookmarks());
    std::vector<std::string> expectedRequests = server.Requests();
    std::sort(expectedRequests.begin(), expectedRequests.end());
    EXPECT_EQ(expected[4].substr(expected[4].find(' ')), " error Request Time-out \u2014 no answer; the site may be down for now keep  0.000000");

    for (const int jobs : {1, 8}) {
        const std::size_t before = server.Requests().size();
        links.Refresh();
        cParallelScan scan(links.Bookmarks(), {jobs, jobs == 1 ? 1 : 0, 0, 5, {}});
        RunToEnd(scan);
        EXPECT_EQ(Outcomes(*links.Bookmarks()), expected) << jobs << " lanes";
        std::vector<std::string> requests(server.Requests().begin() + static_cast<long>(before), server.Requests().end());
        std::sort(requests.begin(), requests.end());
        EXPECT_EQ(requests, expectedRequests) << jobs << " lanes";
    }

    complete = false;
    links.Refresh();
    driver.SetLaneSource([] { return 8; });  // the window's own lanes: the same outcomes and log lines,
    driver.cmdScan_Click();                  // but for each time-out line naming its link
    while (!complete)
        wait.processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(Outcomes(*links.Bookmarks()), expected);
    std::sort(oneLaneLog.begin(), oneLaneLog.end());
    EXPECT_EQ(sortedLog(), oneLaneLog);
    SetProbeLetters(random);
}

TEST(cParallelScan, ASilentServerCostsOneCutOffAPassButOneThatAnsweredIsNeverSilent)
{
    test::LoopbackServer silent, live;
    silent.Start("127.0.0.2");
    live.Start("127.0.0.3");
    auto bookmarks = std::make_shared<cBookmarks>();
    for (int i = 1; i <= 6; ++i) {
        silent.Script("/" + std::to_string(i), {"", false, 0, false});
        bookmarks->Add("s", silent.Url("/" + std::to_string(i)), {}, i);
    }
    live.Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n"});
    live.Script("/hang", {"", false, 0, false});  // one page of a live server hangs
    for (const char* path : {"/ok", "/hang", "/hang", "/missing"})
        bookmarks->Add("l", live.Url(path), {}, bookmarks->Count() + 1);
    cParallelScan scan(bookmarks, {8, 0, 0, 5, {}});
    RunToEnd(scan);

    // One link asked a pass; the second pass asks first a link the first left unasked.
    EXPECT_EQ(silent.Accepted(), 2);
    ASSERT_EQ(silent.Requests().size(), 2u);
    EXPECT_EQ(silent.Requests()[1].substr(0, 7), "GET /2 ");
    std::vector<std::string> results;
    for (const BookmarkPtr& b : *bookmarks)
        results.push_back(b->Status + " " + ResultText(*b) + (b->Clean ? " ticked" : ""));
    const std::string timeOut = "error Request Time-out \u2014 no answer; the site may be down for now",
                      unasked = "error Request Time-out \u2014 the server did not answer an earlier link either";
    EXPECT_EQ(results, (std::vector<std::string> {unasked, timeOut, unasked, unasked, unasked, unasked, "scanned OK",
                                                   timeOut, timeOut, "scanned Not Found ticked"}));
    EXPECT_EQ(live.Accepted(), 8);  // every link of it asked, the failed ones twice, the one that answered looked at
}
