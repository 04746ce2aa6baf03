// How long the window's scan takes, with its real 200 ms pacing.
//
// BM_ScanPacingOverhead: what the scan driver adds on top of its pacing. A scan of n links that
// all answer 200 waits one pace before each link of the first pass and one in the second (which
// asks none of them), so its floor is (n + 1) x 200 ms; the rest is the driver, the loopback
// exchanges and the event loop. Target: under 2 % over the floor.
//
// BM_ScanLanes: 200 links on 20 loopback servers, 20 of them silent, with the cut-off shortened
// to about a second (41 ticks of 24 ms), checked with 1, 4 and 16 links at a time. A silent link
// holds its lane for the whole cut-off in both passes. Target: 4 lanes under a third of the
// time of 1.
#include <memory>
#include <string>
#include <vector>

#include <QHostAddress>
#include <benchmark/benchmark.h>

#include "bench/WindowScan.hpp"
#include "tests/common/net/LoopbackServer.hpp"

using namespace brimtor;
using brimtor::bench::TimeWindowScan;

namespace {

void BM_ScanPacingOverhead(benchmark::State& state)
{
    bench::Application();
    const int links = static_cast<int>(state.range(0));
    test::LoopbackServer server;
    server.Start();
    server.Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n", false, 0, true});
    const std::vector<std::string> lines(static_cast<std::size_t>(links), server.Url("/ok"));

    double overhead = 0;
    for (auto _ : state) {
        const double elapsed = TimeWindowScan(lines, {}, 1);  // the real 200 ms / 50 ms / 1 s timers
        const double floor = (links + 1.0) * 0.2;
        overhead = (elapsed - floor) / floor * 100.0;
        state.SetIterationTime(elapsed);
    }
    state.counters["overhead_percent"] = overhead;
}

void BM_ScanLanes(benchmark::State& state)
{
    bench::Application();
    constexpr int kServers = 20;
    constexpr int kLinks = 200;
    // Every server on its own loopback address: the scan lets no server have more than two links.
    std::vector<std::unique_ptr<test::LoopbackServer>> servers;
    for (int i = 1; i <= kServers; ++i) {
        auto server = std::make_unique<test::LoopbackServer>();
        server->listen(QHostAddress(QStringLiteral("127.0.0.%1").arg(i)), 0);
        server->Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n"});
        server->Script("/silent", {"", false, 0, false});
        servers.push_back(std::move(server));
    }
    // Link i goes to server i mod 20. Each run of 20 links holds two silent ones, a different
    // pair of servers each time, so every server has one.
    std::vector<std::string> links;
    for (int i = 0; i < kLinks; ++i) {
        const test::LoopbackServer& server = *servers[static_cast<std::size_t>(i % kServers)];
        links.push_back("http://" + server.serverAddress().toString().toStdString() + ":"
                        + std::to_string(server.serverPort()) + (i % 10 == i / kServers ? "/silent" : "/ok"));
    }

    static double oneLane = 0;
    const int lanes = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const double elapsed = TimeWindowScan(links, {200, 50, 24}, lanes);
        state.SetIterationTime(elapsed);
        if (lanes == 1)
            oneLane = elapsed;
        if (oneLane > 0)
            state.counters["share_of_1_lane"] = elapsed / oneLane;
    }
}

}  // namespace

BENCHMARK(BM_ScanPacingOverhead)->Arg(50)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ScanLanes)->Arg(1)->Arg(4)->Arg(16)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
