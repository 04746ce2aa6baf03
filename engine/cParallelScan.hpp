#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "bookmarks/cBookmarks.hpp"
#include "engine/LookPass.hpp"
#include "engine/RequestDestination.hpp"
#include "engine/cHttpExchange.hpp"

namespace brimtor {

struct ScanPass;

// How a scan spreads its links. The defaults are the window's with one lane.
struct ParallelScanSettings {
    int jobs = 1;              // lanes: links under way at once, each on its own socket
    int lanePaceMs = 200;      // on each lane, at least this long between two link starts (not in the look)
    int serverPaceMs = 50;     // to one web server, at least this long between two request starts
    int timeoutTickMs = 1000;  // one cut-off tick; a link is cut off on the 41st
    ProxySettings proxy;
    bool look = true;          // the look inside pages that answer, as the last pass
};

// Checks a collection's links pass by pass (ScanPasses: HEAD for every link, then GET for the
// links that answered badly, then the look inside the pages that answered), the window's scan and
// the command's alike. A pass starts once the whole pass before it has ended, so every link's
// outcome is what one link at a time gives.
//
// The look asks its items (LookPass: each link's look, and a site's probe once a look needs it) as
// the other passes ask links, under the same lanes, server limits and pace, cut-off, silence and
// pause, but with no rest per lane; a redirect it follows and a probe are asked before the rest of
// their server's queue, so the looks under way end soon.
//
// Each lane checks one link at a time on its own exchange and starts no two links closer than
// one lane pace: a link that took longer is followed at once. Links start in collection order, except that the politeness towards each web server
// comes first: at most kPerHostLimit of its links at once (one until it has answered anything),
// and never two starts closer than the server pace. With one lane the links go one by one, in
// order.
//
// A server that has answered nothing yet and lets a link end with no answer at all (cut off
// before a byte came, connected or not) is silent for the rest of the pass: its links still
// waiting end at once as unasked time-outs (RecordServerSilent). So a silent server costs one
// cut-off a pass, whatever the lanes. The next pass asks first one of the links it left unasked,
// so another page of it gets its chance to answer before the rest are asked.
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
    // Items of the current pass that have ended, and how many it asks (the look: its links, and
    // the probes as they are asked for).
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
    // The look is about to ask this address, which cannot exist, of a site it looks at.
    void ProbeStarted(const std::string& address);
    // The link at this position has ended, asked or not; Done() and Progress() count it already.
    void LinkEnded(int position, bool timedOut);
    void ScanCompleted();

private:
    struct Lane;
    // One web server, for the whole scan.
    struct Server {
        std::deque<std::size_t> pending;  // this pass's items not yet started: links by position, or the look's items
        int underWay = 0;
        bool answered = false;            // anything came back from it, in any pass
        qint64 nextStartMs = 0;           // on m_clock: no link of it starts before
    };
    using ReadyEntry = std::pair<std::size_t, Server*>;  // (first pending item, server)

    // The passes this scan makes: the look, last, only when asked for.
    int PassCount() const;
    void BeginPass(int pass);
    // The collection position of an item of the current pass; LookPass::kProbe for a probe.
    std::size_t PositionOf(std::size_t item) const;
    // Starts links on the lanes that are free and rested, as far as the servers allow.
    void Dispatch();
    // The next item a lane may start: the first in order whose server has room and is due;
    // otherwise `wakeAt` learns when the earliest server with room is due.
    std::optional<ReadyEntry> TakeNext(qint64 now, std::optional<qint64>& wakeAt);
    void StartLink(Lane& lane, ReadyEntry next);
    // How the lane's request ended; none when it could not start.
    void EndOfLink(Lane& lane, std::optional<cHttpExchange::LinkEnd> end);
    // A look's item asks (again, at a redirect's target; or a probe `added` to the pass) before
    // anything else waiting for its server, so the looks under way end soon.
    void AskFirst(std::size_t item, bool added);
    // Ends every item still waiting for this server, unasked.
    void Silence(Server& server);
    void ItemOver(std::size_t item, bool timedOut);
    // Moves m_sweep past every link over from there on.
    void SweepOn();
    bool PassOver() const { return m_pending == 0 && m_underWay == 0; }
    void EndPass();
    // Keeps m_ready exactly the servers that have links waiting and room for one more.
    void MarkReady(Server& server);

    std::vector<BookmarkPtr> m_links;
    std::vector<Server*> m_serverOf;  // by position
    std::unique_ptr<LookPass> m_look;  // during the look's pass
    std::map<std::string, Server> m_servers;
    ParallelScanSettings m_settings;
    std::vector<std::unique_ptr<Lane>> m_lanes;
    QTimer m_wake;  // single shot: a lane is free, or a server becomes due
    QElapsedTimer m_clock;

    std::set<ReadyEntry> m_ready;
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
