#include "engine/cScanDriver.hpp"

#include <QCoreApplication>
#include <QPointer>

#include "bookmarks/Verdict.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "engine/CNetConnect.hpp"
#include "engine/ScanRules.hpp"
#include "engine/ScanView.hpp"
#include "engine/cParallelScan.hpp"
#include "engine/cProTimer.hpp"
#include "support/MessageBox.hpp"

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
    , m_exchange(m_Timer1, m_tmStatus, m_tmTimeOut)
    , m_connected([] { return UserConnection().Connected(); })
    , m_proxy([] { return ProxySettings {}; })
    , m_laneCount([] { return 1; })
{
    m_Timer1.setInterval(timings.Timer1Ms);
    // A coarse timer may fire up to 5 % late on every link; over a long scan that adds up.
    m_Timer1.setTimerType(Qt::PreciseTimer);
    m_tmStatus.setInterval(timings.tmStatusMs);
    m_tmTimeOut.setInterval(timings.tmTimeOutMs);
    connect(&m_Timer1, &QTimer::timeout, this, &cScanDriver::Timer1_Timer);
    connect(&m_tmStatus, &QTimer::timeout, this, &cScanDriver::tmStatus_Timer);
    connect(&m_exchange, &cHttpExchange::LinkFinished, this,
            [this](cHttpExchange::LinkEnd end) { LinkFinished(end == cHttpExchange::LinkEnd::TimedOut); });
}

cScanDriver::~cScanDriver() = default;

void cScanDriver::cmdScan_Click()
{
    if (!m_connected()) {
        ShowMessage("You must have a valid internet connection to proceed", MsgIcon::Information,
                    MsgButtons::Ok, "Invalid Connection");
        return;
    }
    // A request of the scan being replaced must not land in the new one.
    m_exchange.CloseSocket();
    m_lanes.reset();
    m_Timer1.stop();
    m_view.EnableButton(ScanButton::Scan, false);
    m_view.EnableButton(ScanButton::Back, false);
    m_view.EnableButton(ScanButton::Next, false);
    m_view.SetCaption(ScanButton::Pause, "Pause");
    m_oScanTimer = std::make_unique<cProTimer>();
    m_oScanTimer->Start();
    PreScan();
}

void cScanDriver::PreScan()
{
    m_bPaused = false;
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
    m_view.SetProgress(0);
    m_lCurrent = 0;
    m_sPass = "1st";
    m_bSecondPass = false;
    m_view.SetStatus("scanning - 1st pass...");
    AddDetail("starting 1st pass....", true);
    const int lanes = m_laneCount();
    if (lanes > 1)
        StartLanes(lanes);
    else
        m_Timer1.start();
}

// Each lane is paced and cut off by the intervals of the single lane's timers.
void cScanDriver::StartLanes(int lanes)
{
    const ParallelScanSettings settings {lanes, m_Timer1.interval(), m_tmTimeOut.interval(), m_proxy()};
    m_lanes = std::make_unique<cParallelScan>(m_links.Bookmarks(), settings);
    connect(m_lanes.get(), &cParallelScan::PassStarted, this, [this](int pass) {
        if (pass == 2)
            BeginSecondPass();
    });
    connect(m_lanes.get(), &cParallelScan::LinkStarted, this,
            [this](int position, const cBookmark& bookmark) { AddLinkLine(position, bookmark.ShortcutName); });
    connect(m_lanes.get(), &cParallelScan::LinkEnded, this, [this](bool timedOut) {
        LinkFinished(timedOut);
        m_view.SetProgress(static_cast<int>(m_lanes->Done()));
    });
    connect(m_lanes.get(), &cParallelScan::ScanCompleted, this, &cScanDriver::CompleteScan);
    // Several sockets are busy at once: the label follows the link started last.
    m_tmStatus.start();
    m_lanes->Start();
}

void cScanDriver::Timer1_Timer()
{
    // A paused scan waits here without a timer running; Start arms it again.
    if (m_bPaused) {
        m_Timer1.stop();
        return;
    }
    try {
        ++m_lCurrent;
        if (m_lCurrent >= m_links.Bookmarks()->Count() + 1)
            EndPass();
        else
            CheckLink();
    } catch (const std::exception&) {
        // The collection changed under the scan: stand still rather than check the wrong link.
        m_Timer1.stop();
    }
}

void cScanDriver::EndPass()
{
    if (m_bSecondPass)
        CompleteScan();
    else
        BeginSecondPass();
}

void cScanDriver::BeginSecondPass()
{
    m_bSecondPass = true;
    m_lCurrent = 0;
    m_view.SetProgress(0);
    m_sPass = "2nd";
    m_view.SetStatus("scanning - 2nd pass...");
    AddDetail("starting 2nd pass....", true);
}

void cScanDriver::CompleteScan()
{
    if (!m_lanes)  // the lanes have judged their links already
        JudgeBookmarks(*m_links.Bookmarks());
    // Lanes may end their last links while paused; the next scan must not start paused.
    m_bPaused = false;
    m_view.SetCaption(ScanButton::Pause, "Pause");
    m_tmStatus.stop();
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
    m_tmTimeOut.stop();
    m_oScanTimer.reset();
    m_view.Flash();
    m_Timer1.stop();
    emit ScanCompleted();
}

void cScanDriver::CheckLink()
{
    m_view.SetProgress(m_lCurrent);
    const BookmarkPtr bookmark = m_links.Bookmarks()->Item(m_lCurrent);
    // Links that answered well the first time are passed over; the tick goes on unchanged.
    if (!CheckedInPass(*bookmark, m_bSecondPass))
        return;
    AddLinkLine(m_lCurrent, bookmark->ShortcutName);
    m_exchange.BeginRequest(RequestAddress(bookmark->url), PassMethod(m_bSecondPass), bookmark, m_proxy());
}

void cScanDriver::AddLinkLine(std::int32_t position, const std::string& name)
{
    AddDetail("[" + std::to_string(position) + "] " + m_sPass + " Pass: " + name, false);
}

void cScanDriver::cmdPause_Click()
{
    if (m_bPaused) {
        // A link still under way re-arms the timer when it ends; a tick now would drop it.
        if (m_lanes)
            m_lanes->SetPaused(false);
        else if (!m_exchange.UnderWay())
            m_Timer1.start();
        m_bPaused = false;
        m_view.EnableButton(ScanButton::Scan, false);
        m_view.SetCaption(ScanButton::Pause, "Pause");
    } else {
        if (m_lanes)
            m_lanes->SetPaused(true);
        m_Timer1.stop();
        m_view.EnableButton(ScanButton::Scan, true);
        m_bPaused = true;
        m_view.SetCaption(ScanButton::Pause, "Start");
    }
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

void cScanDriver::tmStatus_Timer()
{
    const cHttpExchange* link = m_lanes ? m_lanes->LatestLink() : &m_exchange;
    // Between a lane's links its last state stays shown, as it does between the single lane's.
    if (link && link->UnderWay())
        m_view.SetResponse(SocketStateCaption(link->State()));
}

void cScanDriver::LinkFinished(bool timedOut)
{
    if (timedOut)
        AddDetail("    Error: Connection timed out", true);
}

void cScanDriver::StopTimers()
{
    m_exchange.CloseSocket();
    m_lanes.reset();
    m_Timer1.stop();
    m_tmStatus.stop();
    m_tmTimeOut.stop();
}

}  // namespace brimtor
