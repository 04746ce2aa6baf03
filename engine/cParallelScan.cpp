#include "engine/cParallelScan.hpp"

#include <algorithm>

#include "bookmarks/Verdict.hpp"
#include "engine/PageText.hpp"
#include "engine/ScanRules.hpp"
#include "engine/modHttp.hpp"
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

    QTimer rest;  // single shot: started with the lane's link; till then the lane starts no other
    cHttpExchange exchange;
    std::size_t item = 0;      // the link's position, or the look's item, under way or last
    std::size_t started = 0;   // when, among all the scan's links
    Server* server = nullptr;
    bool busy = false;
    bool rested = false;
};

cParallelScan::cParallelScan(BookmarksPtr bookmarks, ParallelScanSettings settings, QObject* parent)
    : QObject(parent), m_links(bookmarks->begin(), bookmarks->end()), m_settings(std::move(settings))
{
    const int lanes = std::max(1, m_settings.jobs);
    for (int i = 0; i < lanes; ++i) {
        auto lane = std::make_unique<Lane>(m_settings.timeoutTickMs);
        Lane& self = *lane;
        lane->rest.setSingleShot(true);
        // A coarse timer may fire up to 5 % late on every link; over a long scan that adds up.
        lane->rest.setTimerType(Qt::PreciseTimer);
        connect(&lane->rest, &QTimer::timeout, this, [this, &self] {
            self.rested = true;
            Dispatch();
        });
        connect(&lane->exchange, &cHttpExchange::LinkFinished, this,
                [this, &self](cHttpExchange::LinkEnd end) { EndOfLink(self, end); });
        m_lanes.push_back(std::move(lane));
    }
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, &cParallelScan::Dispatch);
}

cParallelScan::~cParallelScan() = default;

void cParallelScan::Start()
{
    m_servers.clear();
    m_serverOf.clear();
    for (const BookmarkPtr& bookmark : m_links)
        m_serverOf.push_back(&m_servers[ServerOf(RequestAddress(bookmark->url))]);
    m_clock.start();
    BeginPass(1);
}

int cParallelScan::PassCount() const
{
    const std::span<const ScanPass> passes = ScanPasses();
    return static_cast<int>(std::count_if(passes.begin(), passes.end(),
                                          [this](const ScanPass& pass) { return m_settings.look || !pass.look; }));
}

void cParallelScan::BeginPass(int pass)
{
    m_pass = pass;
    m_rule = &ScanPasses()[static_cast<std::size_t>(pass - 1)];
    m_done = 0;
    m_ready.clear();
    m_pending = 0;
    m_over.assign(m_links.size(), true);
    m_sweep = 0;
    std::vector<std::size_t> asked;
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        if (m_rule->asks(*m_links[i])) {
            m_over[i] = false;
            asked.push_back(i);
        }
    }
    if (m_rule->look)
        m_look = std::make_unique<LookPass>(m_links, asked);
    // The look's first items are the asked links, in the same order and at the same addresses.
    for (std::size_t i = 0; i < asked.size(); ++i) {
        const std::size_t item = m_look ? i : asked[i];
        m_serverOf[PositionOf(item)]->pending.push_back(item);
    }
    m_pending = asked.size();
    SweepOn();
    m_total = m_pending;
    for (auto& [name, server] : m_servers) {
        // Of a server that left links unasked, another page is asked first this time: the one
        // cut off before may be the only page of it that hangs. (The look asks no such link.)
        auto& pending = server.pending;
        const auto unasked = std::find_if(pending.begin(), pending.end(), [this](std::size_t item) {
            return !m_look && m_links[item]->ServerSilent;
        });
        if (unasked != pending.end())
            std::rotate(pending.begin(), unasked, std::next(unasked));
        MarkReady(server);
    }
    emit PassStarted(pass);
    // Every lane starts after one pace, as the first link of a pass always has; a pass with
    // nothing to ask ends on that first rest. The look's requests rest only per server: a lane's
    // rest would make it cost as much as the check itself, and it protects no server.
    for (const auto& lane : m_lanes) {
        lane->rest.setInterval(m_rule->look ? 0 : std::max(0, m_settings.lanePaceMs));
        lane->rested = false;
        lane->rest.start();
    }
}

std::size_t cParallelScan::PositionOf(std::size_t item) const
{
    return m_look ? m_look->Items()[item].position : item;
}

int cParallelScan::Progress() const
{
    const bool nextUnderWay = std::any_of(m_lanes.begin(), m_lanes.end(), [this](const auto& lane) {
        return lane->busy && PositionOf(lane->item) == m_sweep;
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
    m_wake.stop();
    // Resumed, every lane rests a whole pace before its next link, as after a pass's start.
    for (const auto& lane : m_lanes) {
        lane->rest.stop();
        lane->rested = false;
        if (!paused && !m_completed)
            lane->rest.start();
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

void cParallelScan::Dispatch()
{
    if (m_completed || m_paused)
        return;
    if (PassOver()) {
        EndPass();
        return;
    }
    const qint64 now = m_clock.elapsed();
    std::optional<qint64> wakeAt;
    for (const auto& lane : m_lanes) {
        if (lane->busy || !lane->rested)
            continue;
        const std::optional<ReadyEntry> next = TakeNext(now, wakeAt);
        if (!next)
            break;
        StartLink(*lane, *next);
    }
    if (!wakeAt)
        return;
    const int delay = static_cast<int>(std::max<qint64>(0, *wakeAt - now));
    if (!m_wake.isActive() || m_wake.remainingTime() > delay)
        m_wake.start(delay);
}

std::optional<cParallelScan::ReadyEntry> cParallelScan::TakeNext(qint64 now, std::optional<qint64>& wakeAt)
{
    for (auto entry = m_ready.begin(); entry != m_ready.end(); ++entry) {
        Server& server = *entry->second;
        if (server.nextStartMs > now) {
            wakeAt = std::min(wakeAt.value_or(server.nextStartMs), server.nextStartMs);
            continue;
        }
        const ReadyEntry next = *entry;
        m_ready.erase(entry);
        server.pending.pop_front();
        ++server.underWay;
        server.nextStartMs = now + m_settings.serverPaceMs;
        --m_pending;
        MarkReady(server);
        return next;
    }
    return std::nullopt;
}

void cParallelScan::MarkReady(Server& server)
{
    const int limit = server.answered ? kPerHostLimit : 1;
    if (!server.pending.empty() && server.underWay < limit)
        m_ready.emplace(server.pending.front(), &server);
}

void cParallelScan::StartLink(Lane& lane, ReadyEntry next)
{
    const auto [item, server] = next;
    lane.item = item;
    lane.started = ++m_linksStarted;
    lane.server = server;
    lane.busy = true;
    lane.rested = false;
    lane.rest.start();
    ++m_underWay;
    bool started = false;
    if (m_look) {
        const LookPass::Item& asked = m_look->Items()[item];
        if (asked.redirects == 0 && asked.position == LookPass::kProbe)
            emit ProbeStarted(asked.address);
        else if (asked.redirects == 0)
            emit LinkStarted(static_cast<int>(asked.position) + 1, *m_links[asked.position]);
        started = lane.exchange.BeginLook(asked.address, m_settings.proxy, kLookBodyBytes);
    } else {
        const BookmarkPtr& bookmark = m_links[item];
        emit LinkStarted(static_cast<int>(item) + 1, *bookmark);
        started = lane.exchange.BeginRequest(RequestAddress(bookmark->url), m_rule->method, bookmark, m_settings.proxy);
    }
    // A link that cannot start leaves the bookmark untouched; the lane paces on.
    if (!started)
        EndOfLink(lane, std::nullopt);
}

void cParallelScan::EndOfLink(Lane& lane, std::optional<cHttpExchange::LinkEnd> end)
{
    if (!lane.busy)
        return;
    lane.busy = false;
    --m_underWay;
    ++m_requestsEnded;
    Server& server = *lane.server;
    --server.underWay;
    const bool timedOut = end == cHttpExchange::LinkEnd::TimedOut;
    const bool unanswered = timedOut && lane.exchange.sResponse().empty();
    const bool silent = unanswered && !server.answered;
    server.answered = server.answered || !unanswered;
    std::optional<std::size_t> next;
    if (m_look && end == cHttpExchange::LinkEnd::Digested)
        next = m_look->Answered(lane.item, lane.exchange.sResponse(), lane.exchange.sBody());
    else if (m_look)
        m_look->Unanswered(lane.item);
    if (next != lane.item)
        ItemOver(lane.item, timedOut);
    if (next)
        AskFirst(*next, next != lane.item);
    if (silent)
        Silence(server);
    else
        MarkReady(server);
    // Paused, the pass waits for the resume, whose rests end it. Otherwise this lane, if it has
    // rested, or another free one may take what this end made room for, or end the pass.
    if (!m_paused)
        m_wake.start(0);
}

void cParallelScan::AskFirst(std::size_t item, bool added)
{
    Server& server = m_servers[ServerOf(m_look->Items()[item].address)];
    if (!server.pending.empty())
        m_ready.erase({server.pending.front(), &server});
    server.pending.push_front(item);
    ++m_pending;
    m_total += added ? 1 : 0;
    MarkReady(server);
}

void cParallelScan::Silence(Server& server)
{
    if (!server.pending.empty())
        m_ready.erase({server.pending.front(), &server});
    for (const std::size_t item : server.pending) {
        if (m_look)
            m_look->Unanswered(item);
        else
            RecordServerSilent(*m_links[item]);
        --m_pending;
        ItemOver(item, false);
    }
    server.pending.clear();
}

// A probe has no place in the collection: only its count moves.
void cParallelScan::ItemOver(std::size_t item, bool timedOut)
{
    ++m_done;
    const std::size_t position = PositionOf(item);
    if (position == LookPass::kProbe)
        return;
    m_over[position] = true;
    SweepOn();
    emit LinkEnded(static_cast<int>(position) + 1, timedOut);
}

void cParallelScan::EndPass()
{
    m_look.reset();
    if (m_pass < PassCount()) {
        BeginPass(m_pass + 1);
        return;
    }
    m_completed = true;
    m_wake.stop();
    for (const auto& lane : m_lanes)
        lane->rest.stop();
    JudgeBookmarks(m_links);  // whoever hears of the end finds every verdict given
    emit ScanCompleted();
}

}  // namespace brimtor
