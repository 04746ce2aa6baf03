#include "support/ErrorLogFile.hpp"

#include <cstdio>

#include "support/Clock.hpp"
#include "support/FileIo.hpp"
#include "support/modRegistry.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

// The general date format: short date, a blank, the time ("12/6/2026 9:05:07 AM").
static std::string GeneralDate(const LocalTime& t)
{
    char text[64];
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    std::snprintf(text, sizeof text, "%d/%d/%d %d:%02d:%02d %s", t.month, t.day, t.year, hour12,
                  t.minute, t.second, t.hour < 12 ? "AM" : "PM");
    return text;
}

std::string ErrorLogPath()
{
    return DataFolder() + "/brimtor.log";
}

std::string ErrorLogLine(const std::string& source, long number, const std::string& description)
{
    return GeneralDate(AppClock().Now()) + "  " + source + " , Error: " + std::to_string(number)
        + " - " + description;
}

static bool AppendLine(const std::string& line)
{
    return MakePrivateFolders(DataFolder()) && AppendFileBytes(ErrorLogPath(), line + "\r\n");
}

bool AppendErrorLog(const std::string& source, long number, const std::string& description)
{
    // Only the exact word switches logging on; "true" does not.
    if (ReadSetting(kSettingsKey, "logging", "False") != "True")
        return true;
    return AppendLine(ErrorLogLine(source, number, description));
}

}  // namespace brimtor
