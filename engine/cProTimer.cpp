#include "engine/cProTimer.hpp"

#include <cmath>
#include <cstdio>
#include <utility>

#include "support/Text.hpp"

namespace brimtor {

namespace {
constexpr std::int32_t kStopped = 0;
constexpr std::int32_t kRunning = 1;
constexpr std::int32_t kPaused = 2;
}  // namespace

cProTimer::cProTimer(Counter counter)
    : m_counter(std::move(counter)),
      cFrequency(std::chrono::steady_clock::period::den / std::chrono::steady_clock::period::num)
{
}

std::int64_t cProTimer::Now() const
{
    return m_counter().time_since_epoch().count();
}

double cProTimer::SegmentElapsed() const
{
    return static_cast<double>(Now() - cStart) / static_cast<double>(cFrequency) * 1000.0;
}

void cProTimer::Start()
{
    if (lState == kRunning)
        return;
    if (lState == kStopped)
        dAccumulated = 0.0;
    lState = kRunning;
    cStart = Now();
}

double cProTimer::Pause()
{
    dAccumulated += SegmentElapsed();
    lState = kPaused;
    return static_cast<double>(RoundHalfEven(SegmentElapsed())) / 1000.0;
}

void cProTimer::StopTime()
{
    dAccumulated += SegmentElapsed();
    lState = kStopped;
}

double cProTimer::Elapsed() const
{
    return lState == kRunning ? SegmentElapsed() : dAccumulated;
}

std::string cProTimer::ElapsedString() const
{
    const double seconds = SegmentElapsed() / 1000.0;
    const long long minutes = RoundHalfEven(seconds) / 60;
    const long long rest = RoundHalfEven(seconds - static_cast<double>(minutes) * 60.0);
    char text[64];
    std::snprintf(text, sizeof text, "%lld' %02lld\" ", minutes, rest);
    return text;
}

}  // namespace brimtor
