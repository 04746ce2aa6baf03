// How much time the scan driver adds on top of its 200 ms pacing. A scan of n links that all
// answer 200 takes n + 1 ticks in the first pass and n + 1 in the second (which passes over
// them), so its floor is (2n + 2) x 200 ms; the rest is the driver, the loopback exchanges and
// the event loop. Target: under 2 % over the floor.
#include <chrono>
#include <cstdlib>

#include <QCoreApplication>
#include <QEventLoop>
#include <benchmark/benchmark.h>

#include "bookmarks/cLinkMain.hpp"
#include "engine/ScanView.hpp"
#include "engine/cScanDriver.hpp"
#include "support/FileIo.hpp"
#include "tests/common/net/LoopbackServer.hpp"

using namespace brimtor;

namespace {

// The scan page with nothing to show.
class QuietView : public ScanView {
public:
    void SetStatus(const std::string&) override {}
    void SetResponse(const std::string&) override {}
    void ShowResponse() override {}
    bool DetailsShown() const override { return true; }
    void ClearDetails() override { lines = 0; }
    void AppendDetail(const std::string&) override { ++lines; }
    int DetailCount() const override { return lines; }
    void RemoveDetail(int) override { --lines; }
    void SelectLastDetail() override {}
    void SetProgress(int) override {}
    int ProgressMax() const override { return max; }
    void EnableButton(ScanButton, bool) override {}
    void SetCaption(ScanButton, const std::string&) override {}
    void Flash() override {}
    int lines = 0;
    int max = 0;
};

QCoreApplication& Application()
{
    static int argc = 1;
    static char name[] = "bench_scan_pacing";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    return application;
}

void BM_ScanPacingOverhead(benchmark::State& state)
{
    Application();
    const int links = static_cast<int>(state.range(0));
    char folder[] = "/tmp/brimtor-bench-XXXXXX";
    ::mkdtemp(folder);
    ::setenv("HOME", folder, 1);

    test::LoopbackServer server;
    const quint16 port = server.Start();
    server.Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n", false, 0, true});
    std::string text;
    for (int i = 0; i < links; ++i)
        text += "http://127.0.0.1:" + std::to_string(port) + "/ok\r\n";
    const std::string file = std::string(folder) + "/links.txt";
    WriteFileBytes(file, text);

    cLinkMain source;
    source.SetSelectedBrowser(SourceCode::TextFile);
    source.SetTextFile(file);
    QuietView view;
    cScanDriver driver(source, view);  // the real 200 ms / 50 ms / 1 s timers
    driver.SetConnectionCheck([] { return true; });

    double overhead = 0;
    for (auto _ : state) {
        source.Refresh();
        view.max = links + 1;
        // A real event loop, as the window runs: waiting in slices would add its own delays.
        QEventLoop loop;
        QObject::connect(&driver, &cScanDriver::ScanCompleted, &loop, &QEventLoop::quit);
        const auto start = std::chrono::steady_clock::now();
        driver.cmdScan_Click();
        loop.exec();
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double floor = (2.0 * links + 2.0) * 0.2;
        overhead = (elapsed - floor) / floor * 100.0;
        state.SetIterationTime(elapsed);
    }
    state.counters["overhead_percent"] = overhead;
    std::system((std::string("rm -rf ") + folder).c_str());
}

}  // namespace

BENCHMARK(BM_ScanPacingOverhead)->Arg(50)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
