#pragma once

#include <functional>
#include <string>

// The error log every layer writes to from its error handlers. Whether a line is written, and
// where, is decided by the sink the application installs from its settings; with none
// installed nothing is written.
namespace brimtor {

using ErrorLogSink = std::function<void(const std::string& source, long number,
                                        const std::string& description)>;

// `source` is the class or module name, a colon, a blank and the procedure name,
// for example "cLinkMain: Refresh".
void LogError(const std::string& source, long number, const std::string& description);

// Runs the step. A failure ends it and goes to the error log under `source`: a NumberedError
// with its own number and text, any other error as number 5. True when the step finished.
bool LogFailure(const std::string& source, const std::function<void()>& step);

// Installs the sink and returns the one it replaced.
ErrorLogSink SetErrorLogSink(ErrorLogSink sink);

}  // namespace brimtor
