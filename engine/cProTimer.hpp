#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace brimtor {

// A stopwatch on the monotonic clock: start, pause, resume and stop, read in milliseconds or as
// minutes and seconds for the scan's completion line.
class cProTimer {
public:
    using Counter = std::function<std::chrono::steady_clock::time_point()>;

    // The counter is the clock to read; tests pass one they move by hand.
    explicit cProTimer(Counter counter = &std::chrono::steady_clock::now);

    bool IsHiTimer() const { return cFrequency != 0; }
    void Start();
    // Seconds of the segment just ended, to three decimals.
    double Pause();
    void StopTime();
    // Milliseconds: of the running segment while running, otherwise the accumulated total.
    double Elapsed() const;
    // "m' ss\" " since the last start or resume, whatever the state.
    std::string ElapsedString() const;

private:
    std::int64_t Now() const;
    double SegmentElapsed() const;

    Counter m_counter;
    std::int32_t lState = 0;  // 0 stopped, 1 running, 2 paused
    std::int64_t cStart = 0;
    double dAccumulated = 0.0;
    std::int64_t cFrequency = 0;  // counter ticks per second
};

}  // namespace brimtor
