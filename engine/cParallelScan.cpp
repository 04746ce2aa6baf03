#include "engine/cParallelScan.hpp"

#include <algorithm>
#include <optional>

#include <QTimer>

#include "bookmarks/Verdict.hpp"
#include "engine/ScanRules.hpp"
#include "engine/cHttpExchange.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

// The web server a link's request is meant for, whether or not it goes through a proxy: the
// politeness limit is about the server, not about the proxy every link passes.
std::string ServerOf(const std::string& address)
{
    const std::optional<RequestDestination> direct = ChooseDestination(address, ProxySettings {});
    return direct ? ToLowerAscii(direct->sHost) : std::string();
}

}  // namespace

struct cParallelScan::Lane {
    QTimer Timer1;
    QTimer tmStatus;
    QTimer tmTimeOut;
    cHttpExchange exchange {Timer1, tmStatus, tmTimeOut};
    std::string host;
    bool busy = false;
};

cParallelScan::cParallelScan(BookmarksPtr bookmarks, ParallelScanSettings settings, QObject* parent)
    : QObject(parent), m_links(bookmarks->begin(), bookmarks->end()), m_settings(std::move(settings))
{
    const int lanes = std::max(1, m_settings.jobs);
    for (int i = 0; i < lanes; ++i) {
        auto lane = std::make_unique<Lane>();
        Lane& self = *lane;
        lane->Timer1.setInterval(std::max(0, m_settings.paceMs));
        // As in the window: a coarse timer may fire up to 5 % late on every link.
        lane->Timer1.setTimerType(Qt::PreciseTimer);
        // Nobody shows a socket's state here; the exchange still runs the timer it is given.
        lane->tmStatus.setInterval(1000);
        lane->tmTimeOut.setInterval(std::max(1, m_settings.timeoutTickMs));
        connect(&lane->Timer1, &QTimer::timeout, this, [this, &self] { LaneTick(self); });
        connect(&lane->exchange, &cHttpExchange::LinkFinished, this, [this, &self](cHttpExchange::LinkEnd end) {
            EndOfLink(self, end == cHttpExchange::LinkEnd::TimedOut);
        });
        m_lanes.push_back(std::move(lane));
    }
}

cParallelScan::~cParallelScan() = default;

void cParallelScan::Start()
{
    m_hosts.clear();
    for (const BookmarkPtr& bookmark : m_links)
        m_hosts.push_back(ServerOf(RequestAddress(bookmark->url)));
    BeginPass(1);
}

void cParallelScan::BeginPass(int pass)
{
    m_pass = pass;
    m_done = 0;
    m_queues.clear();
    m_ready.clear();
    m_pending = 0;
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        // Links that answered well the first time are not asked again.
        if (!CheckedInPass(*m_links[i], pass == 2))
            continue;
        m_queues[m_hosts[i]].pending.push_back(i);
        ++m_pending;
    }
    m_total = m_pending;
    for (const auto& [host, queue] : m_queues)
        m_ready.emplace(queue.pending.front(), host);
    emit PassStarted(pass);
    // Every lane starts after one pace, as the window's first link does; a pass with nothing to
    // check ends on that first tick.
    for (const auto& lane : m_lanes)
        lane->Timer1.start();
}

void cParallelScan::SetPaused(bool paused)
{
    m_paused = paused;
    for (const auto& lane : m_lanes) {
        // A lane with a link under way paces itself again when that link ends.
        if (paused)
            lane->Timer1.stop();
        else if (!lane->busy && !m_completed)
            lane->Timer1.start();
    }
}

const cHttpExchange* cParallelScan::LatestLink() const
{
    return m_latest ? &m_latest->exchange : nullptr;
}

bool cParallelScan::TakeNext(std::size_t& position, std::string& host)
{
    if (m_ready.empty())
        return false;
    const auto first = m_ready.begin();
    position = first->first;
    host = first->second;
    m_ready.erase(first);
    HostQueue& queue = m_queues[host];
    queue.pending.pop_front();
    ++queue.underWay;
    --m_pending;
    MarkReady(host);
    return true;
}

// Keeps m_ready exactly the hosts that have links waiting and room for one more.
void cParallelScan::MarkReady(const std::string& host)
{
    const HostQueue& queue = m_queues[host];
    if (!queue.pending.empty() && queue.underWay < kPerHostLimit)
        m_ready.emplace(queue.pending.front(), host);
}

void cParallelScan::LaneTick(Lane& lane)
{
    if (m_completed || lane.busy || m_paused) {
        lane.Timer1.stop();
        return;
    }
    std::size_t position = 0;
    std::string host;
    if (!TakeNext(position, host)) {
        // Idle until the next pass: a host with room gets its link from the lane that made room.
        lane.Timer1.stop();
        if (m_pending == 0 && m_underWay == 0)
            EndPass();
        return;
    }
    lane.host = host;
    lane.busy = true;
    ++m_underWay;
    m_latest = &lane;
    const BookmarkPtr& bookmark = m_links[position];
    emit LinkStarted(static_cast<int>(position) + 1, *bookmark);
    // A link that cannot start leaves the bookmark untouched and the lane's pace running.
    if (!lane.exchange.BeginRequest(RequestAddress(bookmark->url), PassMethod(m_pass == 2), bookmark,
                                    m_settings.proxy))
        EndOfLink(lane, false);
}

void cParallelScan::EndOfLink(Lane& lane, bool timedOut)
{
    if (!lane.busy)
        return;
    lane.busy = false;
    --m_underWay;
    ++m_done;
    ++m_requestsEnded;
    HostQueue& queue = m_queues[lane.host];
    const bool wasFull = queue.underWay == kPerHostLimit;
    --queue.underWay;
    if (wasFull)
        MarkReady(lane.host);
    emit LinkEnded(timedOut);
    if (m_pending == 0 && m_underWay == 0)
        EndPass();
}

void cParallelScan::EndPass()
{
    if (m_pass == 1) {
        BeginPass(2);
        return;
    }
    if (m_completed)
        return;
    m_completed = true;
    for (const auto& lane : m_lanes) {
        lane->exchange.CloseSocket();
        lane->Timer1.stop();
    }
    JudgeBookmarks(m_links);  // whoever hears of the end finds every verdict given
    emit ScanCompleted();
}

}  // namespace brimtor
