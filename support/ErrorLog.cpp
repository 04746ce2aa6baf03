#include "support/ErrorLog.hpp"

#include <exception>

#include "support/NumberedError.hpp"

namespace brimtor {

static ErrorLogSink& Sink()
{
    static ErrorLogSink sink;
    return sink;
}

void LogError(const std::string& source, long number, const std::string& description)
{
    if (Sink())
        Sink()(source, number, description);
}

bool LogFailure(const std::string& source, const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const NumberedError& error) {
        LogError(source, error.Number(), error.Description());
    } catch (const std::exception& error) {
        LogError(source, ErrorNumber::InvalidProcedureCall, error.what());
    }
    return false;
}

ErrorLogSink SetErrorLogSink(ErrorLogSink sink)
{
    ErrorLogSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace brimtor
