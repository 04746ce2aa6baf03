#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QObject>

#include "bookmarks/cBookmarks.hpp"
#include "engine/RequestDestination.hpp"

namespace brimtor {

class cHttpExchange;
struct ScanPass;

// How a scan spreads its links. The defaults are the window's with one lane.
struct ParallelScanSettings {
    int jobs = 1;              // lanes: links under way at once, each on its own socket
    int paceMs = 200;          // on each lane, between one link's end and the next link's start
    int timeoutTickMs = 1000;  // one cut-off tick; a link is cut off on the 41st
    ProxySettings proxy;
};

// Checks a collection's links pass by pass (ScanPasses: HEAD for every link, then GET for the
// links that answered badly), the window's scan and the command's alike. A pass starts once the
// whole pass before it has ended, so every link's outcome is what one link at a time gives.
//
// Each lane checks one link at a time on its own exchange and waits one pace after each link.
// Links start in collection order, except that no web server gets more than kPerHostLimit of
// them at once, however many lanes there are. With one lane the links go one by one, in order.
//
// Paused, no lane starts a link; the links under way finish, but neither a pass nor the scan
// ends until the scan is resumed.
class cParallelScan : public QObject {
    Q_OBJECT

public:
    static constexpr int kPerHostLimit = 2;

    // The Favorites' addresses must have been read from their shortcut files beforehand.
    cParallelScan(BookmarksPtr bookmarks, ParallelScanSettings settings, QObject* parent = nullptr);
    ~cParallelScan() override;

    // Starts the first pass (PassStarted(1) comes from inside). ScanCompleted follows from the
    // event loop, never from inside Start.
    void Start();

    bool Completed() const { return m_completed; }
    int Lanes() const { return static_cast<int>(m_lanes.size()); }
    // From 1, while scanning.
    int Pass() const { return m_pass; }
    // Links of the current pass that have ended, and how many the pass asks.
    std::size_t Done() const { return m_done; }
    std::size_t Total() const { return m_total; }
    // Requests ended over every pass, for a rate.
    std::size_t RequestsEnded() const { return m_requestsEnded; }
    // How far the current pass has come through the whole collection, for a bar that sweeps it
    // in every pass: the links from the first on that are over in this pass (ended, or passed
    // over), and one more while the next of them is under way.
    int Progress() const;

    void SetPaused(bool paused);
    bool Paused() const { return m_paused; }
    // The exchange of the link under way that started last, or none while no link is.
    const cHttpExchange* LinkUnderWay() const;

signals:
    // The pass (from 1) has begun; no link of it has started yet.
    void PassStarted(int pass);
    // The bookmark at this position of the collection (from 1) is about to be requested.
    void LinkStarted(int position, const brimtor::cBookmark& bookmark);
    // The link at this position has ended; Done() and Progress() count it already.
    void LinkEnded(int position, bool timedOut);
    void ScanCompleted();

private:
    struct Lane;
    struct HostQueue {
        std::deque<std::size_t> pending;  // positions in m_links, in collection order
        int underWay = 0;
    };

    void BeginPass(int pass);
    void LaneTick(Lane& lane);
    void EndOfLink(Lane& lane, bool timedOut);
    // Moves m_sweep past every link over from there on.
    void SweepOn();
    bool PassOver() const { return m_pending == 0 && m_underWay == 0; }
    void EndPass();
    // The next link a lane may start: the first in collection order whose host has room.
    bool TakeNext(std::size_t& position, std::string& host);
    void MarkReady(const std::string& host);

    std::vector<BookmarkPtr> m_links;
    std::vector<std::string> m_hosts;  // by position: the web server each link goes to
    ParallelScanSettings m_settings;
    std::vector<std::unique_ptr<Lane>> m_lanes;

    std::map<std::string, HostQueue> m_queues;
    std::set<std::pair<std::size_t, std::string>> m_ready;  // (first pending position, host)
    std::size_t m_pending = 0;
    int m_underWay = 0;
    bool m_paused = false;
    std::size_t m_linksStarted = 0;

    std::vector<bool> m_over;  // by position: its part in the current pass is over
    std::size_t m_sweep = 0;   // links from the first on that are over

    int m_pass = 0;
    const ScanPass* m_rule = nullptr;  // the current pass's
    bool m_completed = false;
    std::size_t m_done = 0;
    std::size_t m_total = 0;
    std::size_t m_requestsEnded = 0;
};

}  // namespace brimtor
