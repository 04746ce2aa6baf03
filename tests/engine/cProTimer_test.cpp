#include <gtest/gtest.h>

#include <chrono>

#include "engine/cProTimer.hpp"

using namespace brimtor;
using namespace std::chrono_literals;

namespace {

// A monotonic clock that moves only when the test says so.
struct HandClock {
    std::chrono::steady_clock::time_point now{1h};
    cProTimer::Counter Counter()
    {
        return [this] { return now; };
    }
};

std::chrono::steady_clock::duration Millis(double ms)
{
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double, std::milli>(ms));
}

}  // namespace

TEST(cProTimer, AccumulatesRunningSegmentsOnly)
{
    HandClock clock;
    cProTimer timer(clock.Counter());
    timer.Start();
    clock.now += 1500ms;
    timer.Start();  // already running: the segment goes on
    clock.now += 500ms;
    EXPECT_DOUBLE_EQ(timer.Elapsed(), 2000.0);
    EXPECT_DOUBLE_EQ(timer.Pause(), 2.0);
    clock.now += 10s;  // paused time does not count
    EXPECT_DOUBLE_EQ(timer.Elapsed(), 2000.0);
    timer.Start();
    clock.now += Millis(250.25);
    timer.StopTime();
    clock.now += 1s;
    EXPECT_DOUBLE_EQ(timer.Elapsed(), 2250.25);
    // Starting a stopped watch begins a new total.
    timer.Start();
    clock.now += 3ms;
    timer.StopTime();
    EXPECT_DOUBLE_EQ(timer.Elapsed(), 3.0);
    // Pause gives the segment in seconds to three decimals.
    timer.Start();
    clock.now += Millis(1234.5678);
    EXPECT_DOUBLE_EQ(timer.Pause(), 1.235);
}

TEST(cProTimer, ElapsedStringRoundsHalvesToEvenAndMeasuresFromTheLastStart)
{
    for (const auto& [seconds, text] : {std::pair(125.2, "2' 05\" "), std::pair(3600.4, "60' 00\" "),
                                        std::pair(0.5, "0' 00\" "), std::pair(119.5, "2' 00\" ")}) {
        HandClock clock;
        cProTimer timer(clock.Counter());
        timer.Start();
        clock.now += Millis(seconds * 1000.0);
        EXPECT_EQ(timer.ElapsedString(), text) << seconds;
    }
    HandClock clock;
    cProTimer timer(clock.Counter());
    timer.Start();
    clock.now += 10s;
    timer.StopTime();
    clock.now += 50s;
    EXPECT_EQ(timer.ElapsedString(), "1' 00\" ");  // still counts up to the moment of the call
}
