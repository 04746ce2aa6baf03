#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QObject>
#include <QTimer>

#include "engine/RequestDestination.hpp"
#include "engine/cHttpExchange.hpp"

namespace brimtor {

class cLinkMain;
class cParallelScan;
class cProTimer;
class ScanView;

// The pacing, status and time-out timers' intervals. Tests shorten them.
struct ScanTimings {
    int Timer1Ms = 200;     // between one link's end and the next link's start
    int tmStatusMs = 50;    // how often the socket's state is shown
    int tmTimeOutMs = 1000; // one time-out tick; a link is cut off on the 41st
};

// Walks the collection of the chosen source and has every link checked: a pre-scan that reads
// the Favorites' shortcut files, a HEAD pass over every link, then a GET pass over the links
// whose first answer was neither a success nor a redirect.
//
// With one lane it checks one link at a time through its own exchange and timers. With more it
// hands both passes to the command line's cParallelScan and shows what that reports, so the
// passes follow one set of rules whoever runs them.
class cScanDriver : public QObject {
    Q_OBJECT

public:
    // The details log keeps at most this many lines.
    static constexpr int kMaxDetails = 10000;

    cScanDriver(cLinkMain& links, ScanView& view, ScanTimings timings = {}, QObject* parent = nullptr);
    ~cScanDriver() override;

    // Asked at every Scan click; the default confirms the connection with the test sites
    // (the user's own when the settings name any).
    void SetConnectionCheck(std::function<bool()> check) { m_connected = std::move(check); }
    // Read at the start of every link: the proxy page's settings.
    void SetProxySource(std::function<ProxySettings()> source) { m_proxy = std::move(source); }
    // Read at every Scan click: how many links may be under way at once. The default is 1.
    void SetLaneSource(std::function<int()> source) { m_laneCount = std::move(source); }

    void cmdScan_Click();
    void cmdPause_Click();
    void AddDetail(const std::string& text, bool force);

    // Stops the three timers and drops the link under way: for closing the window.
    void StopTimers();

    cHttpExchange& Exchange() { return m_exchange; }
    const QTimer& Timer1() const { return m_Timer1; }

signals:
    void ScanCompleted();

private:
    void PreScan();
    void ReadShortcutAddresses();
    void ArmFirstPass();
    void StartLanes(int lanes);
    void Timer1_Timer();
    void EndPass();
    void BeginSecondPass();
    void CompleteScan();
    void CheckLink();
    void AddLinkLine(std::int32_t position, const std::string& name);
    void tmStatus_Timer();
    void LinkFinished(bool timedOut);

    cLinkMain& m_links;
    ScanView& m_view;
    QTimer m_Timer1;
    QTimer m_tmStatus;
    QTimer m_tmTimeOut;
    cHttpExchange m_exchange;
    std::function<bool()> m_connected;
    std::function<ProxySettings()> m_proxy;
    std::function<int()> m_laneCount;
    // The scan's lanes when it has more than one; kept after the end until the next scan.
    std::unique_ptr<cParallelScan> m_lanes;

    std::int32_t m_lCurrent = 0;
    std::string m_sPass;
    bool m_bSecondPass = false;
    bool m_bPaused = false;
    std::unique_ptr<cProTimer> m_oScanTimer;
};

}  // namespace brimtor
