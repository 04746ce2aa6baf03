#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QObject>
#include <QTimer>

#include "engine/RequestDestination.hpp"

namespace brimtor {

class cLinkMain;
class cParallelScan;
class cProTimer;
class ScanView;

// The scan's intervals. Tests shorten them.
struct ScanTimings {
    int paceMs = 200;         // on each lane, at least this long between two link starts
    int socketStateMs = 50;   // how often the label shows the socket's state
    int cutOffTickMs = 1000;  // one cut-off tick; a link is cut off on the 41st
    int serverPaceMs = 50;    // to one web server, at least this long between two request starts
};

// Walks the collection of the chosen source and has every link checked, showing it all on the
// scan page: a pre-scan that reads the Favorites' shortcut files, then the passes of
// cParallelScan (a HEAD pass over every link, a GET pass over the links whose first answer was
// neither a success nor a redirect, and unless switched off the look inside the pages that
// answered) on as many lanes as the window asks for. One lane is one link at a time over one
// socket.
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
    // Read at every Scan click: the proxy page's settings.
    void SetProxySource(std::function<ProxySettings()> source) { m_proxy = std::move(source); }
    // Read at every Scan click: how many links may be under way at once. The default is 1.
    void SetLaneSource(std::function<int()> source) { m_laneCount = std::move(source); }
    // Read at every Scan click: whether to look inside the pages that answer. The default is yes.
    void SetLookSource(std::function<bool()> source) { m_look = std::move(source); }

    // Starts a scan, replacing any scan under way. False, with nothing changed, when the
    // machine is not connected: the window tells the user.
    bool cmdScan_Click();
    void cmdPause_Click();
    void AddDetail(const std::string& text, bool force);

    // Stops the scan's timers and drops the links under way: for closing the window.
    void StopTimers();

signals:
    void ScanCompleted();

private:
    void PreScan();
    void ReadShortcutAddresses();
    void ArmFirstPass();
    void BeginPass(int pass);
    void CompleteScan();
    void LinkEnded(int position, bool timedOut);
    void ShowProgress();
    void ShowSocketState();

    cLinkMain& m_links;
    ScanView& m_view;
    ScanTimings m_timings;
    QTimer m_socketState;
    std::function<bool()> m_connected;
    std::function<ProxySettings()> m_proxy;
    std::function<int()> m_laneCount;
    std::function<bool()> m_look;
    // The scan's passes; kept after the end until the next scan.
    std::unique_ptr<cParallelScan> m_lanes;

    std::string m_sPass;
    std::unique_ptr<cProTimer> m_oScanTimer;
};

}  // namespace brimtor
