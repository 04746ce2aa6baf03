#pragma once

#include <cstddef>
#include <cstdint>
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

// How a parallel scan spreads its links. The defaults are the window's scan.
struct ParallelScanSettings {
    int jobs = 1;              // links under way at once, each on its own socket
    int paceMs = 200;          // on each lane, between one link's end and the next link's start
    int timeoutTickMs = 1000;  // one time-out tick; a link is cut off on the 41st
    ProxySettings proxy;
};

// Checks a collection's links with several under way at once, by the same rules as the window's
// scan: a HEAD pass over every link, then a GET pass over the links
// whose first answer was neither a success nor a redirect. The second pass starts once the whole
// first pass has ended, so every link's outcome is what one link at a time would have given.
//
// Each lane is one cHttpExchange with its own three timers, so pacing and the time-out tick work
// per link exactly as they do in the window. No web server gets more than kPerHostLimit of the
// links at once, however many lanes there are.
//
// The window follows a scan through the signals; the command only waits for ScanCompleted.
class cParallelScan : public QObject {
    Q_OBJECT

public:
    static constexpr int kPerHostLimit = 2;

    // The Favorites' addresses must have been read from their shortcut files beforehand.
    cParallelScan(BookmarksPtr bookmarks, ParallelScanSettings settings, QObject* parent = nullptr);
    ~cParallelScan() override;

    // Arms the first pass. ScanCompleted follows from the event loop,
    // never from inside Start.
    void Start();

    bool Completed() const { return m_completed; }
    // 1 or 2 while scanning.
    int Pass() const { return m_pass; }
    // Links of the current pass that have ended, and how many the pass holds.
    std::size_t Done() const { return m_done; }
    std::size_t Total() const { return m_total; }
    // Requests ended over both passes, for a rate.
    std::size_t RequestsEnded() const { return m_requestsEnded; }

    // Paused, no lane starts a link; the links under way finish. Resuming paces every idle lane
    // anew, as the window's Start does.
    void SetPaused(bool paused);
    // The exchange of the link started last, or none before the first.
    const cHttpExchange* LatestLink() const;

signals:
    // The pass (1 or 2) has begun; nothing of it has started yet.
    void PassStarted(int pass);
    // The bookmark at this position of the collection (from 1) is about to be requested.
    void LinkStarted(int position, const brimtor::cBookmark& bookmark);
    // A link of the current pass has ended; Done() counts it already.
    void LinkEnded(bool timedOut);
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
    const Lane* m_latest = nullptr;

    int m_pass = 0;
    bool m_completed = false;
    std::size_t m_done = 0;
    std::size_t m_total = 0;
    std::size_t m_requestsEnded = 0;
};

}  // namespace brimtor
