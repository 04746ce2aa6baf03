// What the look inside pages costs: the 1 000 links of the loopback imitation of the web
// (bench/WebImitation.hpp: 200 servers, 2 silent, 8 refusing, pages of about 48 KiB, probes
// answered 404) scanned without the look and with it, one after the other on the same imitation,
// with the cut-off shortened to 10 s: the window's way (8 links at a time, 200 ms per lane) and
// the command's (32 at once, no rest per lane), both 50 ms per server. Target: the look adds at
// most 60 % to the scan's time.
#include <chrono>

#include <benchmark/benchmark.h>

#include "bench/WebImitation.hpp"
#include "bench/WindowScan.hpp"

using namespace brimtor;

namespace {

constexpr double kCutOffSeconds = 10.0;

void BM_LookCost(benchmark::State& state)
{
    bench::Application();
    static bench::WebImitation web;
    static const bool serving = (web.ServeInBackground(std::chrono::minutes(20)), true);
    (void)serving;
    const int tickMs = static_cast<int>(kCutOffSeconds * 1000 / 41 + 0.5);
    const ScanTimings timings {static_cast<int>(state.range(1)), 50, tickMs, 50};
    const int lanes = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const double without = bench::TimeWindowScan(web.Links(), timings, lanes, false);
        const double with = bench::TimeWindowScan(web.Links(), timings, lanes, true);
        state.SetIterationTime(with);
        state.counters["without_look_s"] = without;
        state.counters["added_percent"] = 100.0 * (with / without - 1.0);
    }
}

}  // namespace

BENCHMARK(BM_LookCost)->Args({8, 200})->Args({32, 0})->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
