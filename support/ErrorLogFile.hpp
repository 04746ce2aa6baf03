#pragma once

#include <string>

// The error log file: one line per logged error in DataFolder()/brimtor.log, written only while
// the user has switched logging on by hand ("logging" = "True" in the settings).
namespace brimtor {

// DataFolder()/brimtor.log.
std::string ErrorLogPath();

// The line for one error, without its CR LF: date and time, two blanks, the source,
// " , Error: ", the number, " - ", the description.
std::string ErrorLogLine(const std::string& source, long number, const std::string& description);

// Appends the line when logging is on. False when logging is on and the line could not be
// written; never throws.
bool AppendErrorLog(const std::string& source, long number, const std::string& description);

}  // namespace brimtor
