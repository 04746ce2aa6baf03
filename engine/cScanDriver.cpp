#include "engine/cScanDriver.hpp"

#include <QCoreApplication>
#include <QPointer>

#include "bookmarks/cLinkMain.hpp"
#include "engine/CNetConnect.hpp"
#include "engine/ScanRules.hpp"
#include "engine/ScanView.hpp"
#include "engine/cHttpExchange.hpp"
#include "engine/cParallelScan.hpp"
#include "engine/cProTimer.hpp"

namespace brimtor {

namespace {

// The caption of a socket state.
std::string SocketStateCaption(int state)
{
    static const char* const captions[] = {"Closed", "Open", "Listening", "Connection pending",
                                           "Resolving host", "Host resolved", "Connecting",
                                           "Connected", "Closing", "Error"};
    return (state >= 0 && state <= 9) ? captions[state] : "";
}

}  // namespace

cScanDriver::cScanDriver(cLinkMain& links, ScanView& view, ScanTimings timings, QObject* parent)
    : QObject(parent)
    , m_links(links)
    , m_view(view)
    , m_timings(timings)
    , m_connected([] { return UserConnection().Connected(); })
    , m_proxy([] { return ProxySettings {}; })
    , m_laneCount([] { return 1; })
    , m_look([] { return true; })
{
    m_socketState.setInterval(timings.socketStateMs);
    connect(&m_socketState, &QTimer::timeout, this, &cScanDriver::ShowSocketState);
}

cScanDriver::~cScanDriver() = default;

bool cScanDriver::cmdScan_Click()
{
    if (!m_connected())
        return false;
    // A request of the scan being replaced must not land in the new one.
    StopTimers();
    m_view.EnableButton(ScanButton::Scan, false);
    m_view.EnableButton(ScanButton::Back, false);
    m_view.EnableButton(ScanButton::Next, false);
    m_view.SetCaption(ScanButton::Pause, "Pause");
    m_oScanTimer = std::make_unique<cProTimer>();
    m_oScanTimer->Start();
    PreScan();
    return true;
}

void cScanDriver::PreScan()
{
    m_view.ClearDetails();
    m_view.SetStatus("pre-scanning favorites...");
    AddDetail("starting pre-scan....", true);
    m_view.EnableButton(ScanButton::Cancel, false);
    m_view.SetProgress(1);
    if (m_links.SelectedSource() != SourceCode::Favorites) {
        m_view.SetProgress(m_view.ProgressMax());
        AddDetail("pre-scan complete....", true);
    } else {
        QPointer<cScanDriver> alive(this);
        ReadShortcutAddresses();
        if (!alive)
            return;
    }
    ArmFirstPass();
}

void cScanDriver::ReadShortcutAddresses()
{
    const BookmarksPtr bookmarks = m_links.Bookmarks();
    const std::int32_t count = bookmarks->Count();
    QPointer<cScanDriver> alive(this);
    for (std::int32_t i = 1; i <= count; ++i) {
        const BookmarkPtr bookmark = bookmarks->Item(i);
        ReadShortcutAddress(*bookmark);
        m_view.SetProgress(i);
        AddDetail("[" + std::to_string(i) + "] Pre-scan: " + bookmark->ShortcutName, false);
        // A large Favorites tree takes a while to read: keep the window painting and answering.
        QCoreApplication::processEvents();
        if (!alive)
            return;
    }
}

void cScanDriver::ArmFirstPass()
{
    m_view.ShowResponse();
    m_view.EnableButton(ScanButton::Cancel, true);
    m_view.EnableButton(ScanButton::Pause, true);
    const ParallelScanSettings settings {m_laneCount(), m_timings.paceMs, m_timings.serverPaceMs,
                                         m_timings.cutOffTickMs, m_proxy(), m_look()};
    m_lanes = std::make_unique<cParallelScan>(m_links.Bookmarks(), settings);
    connect(m_lanes.get(), &cParallelScan::PassStarted, this, &cScanDriver::BeginPass);
    connect(m_lanes.get(), &cParallelScan::LinkStarted, this, [this](int position, const cBookmark& bookmark) {
        AddDetail("[" + std::to_string(position) + "] " + m_sPass + " Pass: " + bookmark.ShortcutName, false);
        ShowProgress();
    });
    connect(m_lanes.get(), &cParallelScan::ProbeStarted, this, [this](const std::string& address) {
        AddDetail("[probe] " + m_sPass + " Pass: " + address, false);
    });
    connect(m_lanes.get(), &cParallelScan::LinkEnded, this, &cScanDriver::LinkEnded);
    connect(m_lanes.get(), &cParallelScan::ScanCompleted, this, &cScanDriver::CompleteScan);
    m_socketState.start();
    m_lanes->Start();
}

void cScanDriver::BeginPass(int pass)
{
    m_view.SetProgress(0);
    m_sPass = PassName(pass);
    m_view.SetStatus("scanning - " + m_sPass + " pass...");
    AddDetail("starting " + m_sPass + " pass....", true);
}

void cScanDriver::CompleteScan()
{
    m_socketState.stop();
    m_view.EnableButton(ScanButton::Pause, false);
    m_view.EnableButton(ScanButton::Next, true);
    m_view.SetCaption(ScanButton::Next, "&Report");
    m_view.EnableButton(ScanButton::Back, true);
    m_view.EnableButton(ScanButton::Scan, true);
    m_oScanTimer->StopTime();
    const std::string elapsed = m_oScanTimer->ElapsedString();
    m_view.SetStatus("scan complete in " + elapsed);
    AddDetail("Scan time: " + elapsed, true);
    AddDetail("....scan complete....", true);
    m_view.SetProgress(m_view.ProgressMax());
    m_oScanTimer.reset();
    m_view.Flash();
    emit ScanCompleted();
}

void cScanDriver::cmdPause_Click()
{
    if (!m_lanes)
        return;
    const bool pause = !m_lanes->Paused();
    m_lanes->SetPaused(pause);
    m_view.EnableButton(ScanButton::Scan, pause);
    m_view.SetCaption(ScanButton::Pause, pause ? "Start" : "Pause");
}

void cScanDriver::AddDetail(const std::string& text, bool force)
{
    if (!force && !m_view.DetailsShown())
        return;
    m_view.AppendDetail(text);
    if (m_view.DetailCount() > kMaxDetails) {
        // Thin out the oldest hundred lines rather than drop them all: every other one goes.
        for (int i = 0; i <= 50; ++i)
            m_view.RemoveDetail(i);
    }
    m_view.SelectLastDetail();
}

void cScanDriver::LinkEnded(int position, bool timedOut)
{
    // With several links under way other lines come between a link's own line and its end: the
    // time-out line then names its link.
    if (timedOut) {
        const std::string which = m_lanes->Lanes() == 1 ? "" : "[" + std::to_string(position) + "] ";
        AddDetail("    " + which + "Error: Connection timed out", true);
    }
    ShowProgress();
}

void cScanDriver::ShowProgress()
{
    m_view.SetProgress(m_lanes->Progress());
}

// Between links the last state read stays shown, as it always has.
void cScanDriver::ShowSocketState()
{
    if (const cHttpExchange* link = m_lanes ? m_lanes->LinkUnderWay() : nullptr)
        m_view.SetResponse(SocketStateCaption(link->State()));
}

void cScanDriver::StopTimers()
{
    m_lanes.reset();
    m_socketState.stop();
}

}  // namespace brimtor
