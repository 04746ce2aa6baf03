// How long the window's scan takes on the loopback imitation of the web (bench/WebImitation.hpp:
// 1 000 links on 200 servers, 2 of them silent, 8 refusing), with its real 200 ms per lane and
// 50 ms per server and the cut-off shortened to 10 s, at the window's 8 links at a time and at
// its most, 32, without the look inside pages (bench/bench_scan_look.cpp times what it adds).
// Target: the default within 4x the lower bound (one cut-off plus the busiest server's own queue
// asked two at a time). The command's whole runs on the same imitation are timed by
// bench/web_benchmark.sh.
#include <chrono>

#include <benchmark/benchmark.h>

#include "bench/WebImitation.hpp"
#include "bench/WindowScan.hpp"

using namespace brimtor;

namespace {

constexpr double kCutOffSeconds = 10.0;

void BM_WindowOnTheWeb(benchmark::State& state)
{
    bench::Application();
    bench::WebImitation web;
    web.ServeInBackground(std::chrono::minutes(10));
    const double lowerBound = web.LowerBoundSeconds(kCutOffSeconds);
    const int tickMs = static_cast<int>(kCutOffSeconds * 1000 / 41 + 0.5);
    for (auto _ : state) {
        const double elapsed = bench::TimeWindowScan(web.Links(), {200, 50, tickMs, 50}, static_cast<int>(state.range(0)));
        state.SetIterationTime(elapsed);
        state.counters["lower_bound_s"] = lowerBound;
        state.counters["times_lower_bound"] = elapsed / lowerBound;
    }
}

}  // namespace

BENCHMARK(BM_WindowOnTheWeb)->Arg(8)->Arg(32)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
