#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QEventLoop>

#include "bookmarks/cLinkMain.hpp"
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

TEST(cParallelScan, ManyLanesNeverSendMoreThanTwoLinksToOneServer)
{
    // Every answer trickles in a byte a millisecond, so links overlap.
    test::LoopbackServer server;
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Start());
    auto bookmarks = std::make_shared<cBookmarks>();
    for (int i = 1; i <= 30; ++i) {
        const std::string path = (i % 3 ? "/ok" : "/bad") + std::to_string(i);
        server.Script(path, {i % 3 ? "HTTP/1.1 200 OK\r\n\r\n" : "HTTP/1.1 404 Not Found\r\n\r\n", true});
        bookmarks->Add("n", base + path, {}, i);
    }
    cParallelScan scan(bookmarks, {8, 0, 1000, {}});
    RunToEnd(scan);
    EXPECT_EQ(server.MostOpenAtOnce(), cParallelScan::kPerHostLimit);
    // A HEAD for every link, a GET again for the ten that failed.
    EXPECT_EQ(server.Requests().size(), 40u);
    EXPECT_EQ(bookmarks->Item(3)->ResponseCode, 404);
}

TEST(cParallelScan, EmptyCollectionsAndUnstartableLinksStillComplete)
{
    cParallelScan empty(std::make_shared<cBookmarks>(), {4, 0, 1000, {}});
    RunToEnd(empty);
    EXPECT_EQ(empty.RequestsEnded(), 0u);

    auto bookmarks = std::make_shared<cBookmarks>();
    bookmarks->Add("bad port", "http://127.0.0.1:99999/", {}, 1);
    cParallelScan unstartable(bookmarks, {2, 0, 1000, {}});
    RunToEnd(unstartable);
    EXPECT_EQ(bookmarks->Item(1)->Status, "pending");
}

namespace {

// Every outcome field a check writes, one line per bookmark.
std::vector<std::string> Outcomes(const cBookmarks& bookmarks)
{
    std::vector<std::string> lines;
    for (const BookmarkPtr& b : bookmarks)
        lines.push_back(b->url + " " + b->Status + " " + std::to_string(b->ResponseCode) + " "
                        + (b->Clean ? "clean " : "keep ") + b->RedirectedUrl + " " + std::to_string(b->ContentLength));
    return lines;
}

}  // namespace

TEST(cParallelScan, GivesTheWindowsOutcomesAndRequestsWhateverTheLanes)
{
    test::TempHome home;
    test::MessageRecorder messages;
    test::LoopbackServer server;
    server.Script("/ok", {"HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n"});
    server.Script("/moved", {"HTTP/1.1 302 Found\r\nLocation: /ok\r\n\r\n"});
    server.Script("/empty", {"HTTP/1.1 204 No Content\r\n\r\n"});
    server.Script("/silent", {"", false, 0, false});
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Start());
    const std::string text = test::CrLfLines({base + "/ok", base + "/gone", base + "/moved", base + "/empty", base + "/silent",
                                        test::RefusedUrl(), base + "/ok?q=1#part", "http://127.0.0.1:0/", "http://bad host/"});

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
    const std::vector<std::string> oneLaneLog = sortedLog();
    const std::vector<std::string> expected = Outcomes(*links.Bookmarks());
    std::vector<std::string> expectedRequests = server.Requests();
    std::sort(expectedRequests.begin(), expectedRequests.end());
    EXPECT_EQ(expected[4].substr(expected[4].find(' ')), " error 408 keep  0.000000");

    for (const int jobs : {1, 8}) {
        const std::size_t before = server.Requests().size();
        links.Refresh();
        cParallelScan scan(links.Bookmarks(), {jobs, jobs == 1 ? 1 : 0, 5, {}});
        RunToEnd(scan);
        EXPECT_EQ(Outcomes(*links.Bookmarks()), expected) << jobs << " lanes";
        std::vector<std::string> requests(server.Requests().begin() + static_cast<long>(before), server.Requests().end());
        std::sort(requests.begin(), requests.end());
        EXPECT_EQ(requests, expectedRequests) << jobs << " lanes";
    }

    complete = false;
    links.Refresh();
    driver.SetLaneSource([] { return 4; });  // the window's own lanes: the same outcomes and log lines,
    driver.cmdScan_Click();                  // but for each time-out line naming its link
    while (!complete)
        wait.processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(Outcomes(*links.Bookmarks()), expected);
    std::vector<std::string> tied = oneLaneLog;
    std::replace(tied.begin(), tied.end(), std::string("    Error: Connection timed out"),
                 std::string("    [5] Error: Connection timed out"));
    EXPECT_EQ(sortedLog(), tied);
}
