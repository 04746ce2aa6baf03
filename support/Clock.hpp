#pragma once

#include <string>

// Wall-clock time behind a seam, so backup names and log lines can be tested with a fixed time.
namespace brimtor {

struct LocalTime {
    int year = 0;
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time.
    virtual LocalTime Now() const = 0;
};

// The clock the program reads: the system's, unless a test installed another.
const Clock& AppClock();

// Installs a clock (not owned; nullptr restores the system clock) and returns the previous one.
const Clock* SetAppClock(const Clock* clock);

// "yyyymmddhhmm": the stamp of backup file names.
std::string MinuteStamp(const LocalTime& time);

}  // namespace brimtor
