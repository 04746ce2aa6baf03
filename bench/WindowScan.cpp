#include "bench/WindowScan.hpp"

#include <chrono>

#include <QCoreApplication>
#include <QEventLoop>

#include "bookmarks/cLinkMain.hpp"
#include "engine/ScanView.hpp"
#include "tests/common/TempHome.hpp"

namespace brimtor::bench {

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

}  // namespace

QCoreApplication& Application()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    return application;
}

double TimeWindowScan(const std::vector<std::string>& links, ScanTimings timings, int lanes, bool look)
{
    Application();
    test::TempHome home;
    cLinkMain source;
    source.SetSelectedSource(SourceCode::TextFile);
    source.SetTextFile(home.WriteLines("links.txt", links));
    source.Refresh();
    QuietView view;
    view.max = source.Bookmarks()->Count() + 1;
    cScanDriver driver(source, view, timings);
    driver.SetConnectionCheck([] { return true; });
    driver.SetLaneSource([lanes] { return lanes; });
    driver.SetLookSource([look] { return look; });
    QEventLoop loop;
    QObject::connect(&driver, &cScanDriver::ScanCompleted, &loop, &QEventLoop::quit);
    const auto start = std::chrono::steady_clock::now();
    driver.cmdScan_Click();
    loop.exec();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace brimtor::bench
