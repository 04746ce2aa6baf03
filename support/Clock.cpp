#include "support/Clock.hpp"

#include <cstdio>
#include <ctime>

namespace brimtor {

namespace {

class SystemClock final : public Clock {
public:
    LocalTime Now() const override
    {
        const std::time_t now = std::time(nullptr);
        std::tm parts {};
        localtime_r(&now, &parts);
        return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                parts.tm_hour, parts.tm_min, parts.tm_sec};
    }
};

const SystemClock kSystemClock;
const Clock* gClock = nullptr;

}  // namespace

const Clock& AppClock()
{
    return gClock ? *gClock : kSystemClock;
}

const Clock* SetAppClock(const Clock* clock)
{
    const Clock* previous = gClock;
    gClock = clock;
    return previous;
}

std::string MinuteStamp(const LocalTime& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d",
                  time.year, time.month, time.day, time.hour, time.minute);
    return text;
}

}  // namespace brimtor
