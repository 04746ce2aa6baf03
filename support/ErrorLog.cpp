#include "support/ErrorLog.hpp"

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

ErrorLogSink SetErrorLogSink(ErrorLogSink sink)
{
    ErrorLogSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace brimtor
