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
    explicit Lane(int cutOffTickMs) : exchange(cutOffTickMs) {}

    QTimer pace;  // single shot: started when the lane's link ends, its tick starts the next
    cHttpExchange exchange;
    std::size_t position = 0;  // of the link under way, or of the last one
    std::size_t started = 0;   // when, among all the scan's links
    std::string host;
    bool busy = false;
};

cParallelScan::cParallelScan(BookmarksPtr bookmarks, ParallelScanSettings settings, QObject* parent)
    : QObject(parent), m_links(bookmarks->begin(), bookmarks->end()), m_settings(std::move(settings))
{
    const int lanes = std::max(1, m_settings.jobs);
    for (int i = 0; i < lanes; ++i) {
        auto lane = std::make_unique<Lane>(m_settings.timeoutTickMs);
        Lane& self = *lane;
        lane->pace.setSingleShot(true);
        lane->pace.setInterval(std::max(0, m_settings.paceMs));
        // A coarse timer may fire up to 5 % late on every link; over a long scan that adds up.
        lane->pace.setTimerType(Qt::PreciseTimer);
        connect(&lane->pace, &QTimer::timeout, this, [this, &self] { LaneTick(self); });
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
    m_rule = &ScanPasses()[static_cast<std::size_t>(pass - 1)];
    m_done = 0;
    m_queues.clear();
    m_ready.clear();
    m_pending = 0;
    m_over.assign(m_links.size(), true);
    m_sweep = 0;
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        if (!m_rule->asks(*m_links[i]))
            continue;
        m_over[i] = false;
        m_queues[m_hosts[i]].pending.push_back(i);
        ++m_pending;
    }
    SweepOn();
    m_total = m_pending;
    for (const auto& [host, queue] : m_queues)
        m_ready.emplace(queue.pending.front(), host);
    emit PassStarted(pass);
    // Every lane starts after one pace, as the first link of a pass always has; a pass with
    // nothing to ask ends on that first tick.
    for (const auto& lane : m_lanes)
        lane->pace.start();
}

int cParallelScan::Progress() const
{
    const bool nextUnderWay = std::any_of(m_lanes.begin(), m_lanes.end(), [this](const auto& lane) {
        return lane->busy && lane->position == m_sweep;
    });
    return static_cast<int>(m_sweep) + (nextUnderWay ? 1 : 0);
}

void cParallelScan::SweepOn()
{
    while (m_sweep < m_over.size() && m_over[m_sweep])
        ++m_sweep;
}

void cParallelScan::SetPaused(bool paused)
{
    m_paused = paused;
    for (const auto& lane : m_lanes) {
        // A lane with a link under way paces itself again when that link ends.
        if (paused)
            lane->pace.stop();
        else if (!lane->busy && !m_completed)
            lane->pace.start();
    }
}

const cHttpExchange* cParallelScan::LinkUnderWay() const
{
    const Lane* latest = nullptr;
    for (const auto& lane : m_lanes) {
        if (lane->busy && (!latest || lane->started > latest->started))
            latest = lane.get();
    }
    return latest ? &latest->exchange : nullptr;
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
    if (m_completed || lane.busy || m_paused)
        return;
    std::size_t position = 0;
    std::string host;
    if (!TakeNext(position, host)) {
        // Idle until the next pass: a host with room gets its link from the lane that made room.
        if (PassOver())
            EndPass();
        return;
    }
    lane.position = position;
    lane.started = ++m_linksStarted;
    lane.host = host;
    lane.busy = true;
    ++m_underWay;
    const BookmarkPtr& bookmark = m_links[position];
    emit LinkStarted(static_cast<int>(position) + 1, *bookmark);
    // A link that cannot start leaves the bookmark untouched; the lane paces on.
    if (!lane.exchange.BeginRequest(RequestAddress(bookmark->url), m_rule->method, bookmark, m_settings.proxy))
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
    m_over[lane.position] = true;
    SweepOn();
    HostQueue& queue = m_queues[lane.host];
    const bool wasFull = queue.underWay == kPerHostLimit;
    --queue.underWay;
    if (wasFull)
        MarkReady(lane.host);
    emit LinkEnded(static_cast<int>(lane.position) + 1, timedOut);
    // Paused, the pass waits for the resume, whose ticks end it.
    if (m_paused)
        return;
    if (PassOver())
        EndPass();
    else
        lane.pace.start();
}

void cParallelScan::EndPass()
{
    if (m_pass < static_cast<int>(ScanPasses().size())) {
        BeginPass(m_pass + 1);
        return;
    }
    m_completed = true;
    for (const auto& lane : m_lanes)
        lane->pace.stop();
    JudgeBookmarks(m_links);  // whoever hears of the end finds every verdict given
    emit ScanCompleted();
}

}  // namespace brimtor
