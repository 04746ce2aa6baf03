#include "engine/modHttp.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include "engine/CWinInet_URL.hpp"
#include "engine/NumberText.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

const std::map<std::int32_t, const char*>& ReasonPhrases()
{
    static const std::map<std::int32_t, const char*> phrases{
        {100, "Continue"},
        {101, "Switching Protocols"},
        {200, "OK"},
        {201, "Created"},
        {202, "Accepted"},
        {203, "Non-Authoritative Information"},
        {204, "No Content"},
        {205, "Reset Content"},
        {206, "Partial Content"},
        {300, "Multiple Choices"},
        {301, "Moved Permanently"},
        {302, "Moved Temporarily"},
        {303, "See Other"},
        {304, "Not Modified"},
        {305, "Use Proxy"},
        {400, "Bad Request"},
        {401, "Unauthorized"},
        {402, "Payment Required"},
        {403, "Forbidden"},
        {404, "Not Found"},
        {405, "Method Not Allowed"},
        {406, "Not Acceptable"},
        {407, "Proxy Authentication Required"},
        {408, "Request Time-out"},
        {409, "Conflict"},
        {410, "Gone"},
        {411, "Length Required"},
        {412, "Precondition Failed"},
        {413, "Request Entity Too Large"},
        {414, "Request-URI Too Large"},
        {415, "Unsupported Media Type"},
        {500, "Internal Server Error"},
        {501, "Not Implemented"},
        {502, "Bad Gateway"},
        {503, "Service Unavailable"},
        {504, "Gateway Time-out"},
        {505, "HTTP Version not supported"},
    };
    return phrases;
}

constexpr int kTimedOutCode = 408;

// A new outcome: the silent server's mark and whatever an earlier look saw are stale.
void ClearEarlierFindings(cBookmark& bookmark)
{
    bookmark.ServerSilent = false;
    bookmark.LookFinding = LookVerdict::None;
}

}  // namespace

std::string_view HeaderBlock(std::string_view response)
{
    const std::size_t end = response.find("\r\n\r\n");
    if (end == std::string_view::npos)
        return response.substr(0, 1);
    return response.substr(0, end + 2);
}

std::int16_t GetStatusCode(std::string_view block)
{
    const std::size_t blank = block.find(' ');
    const std::string_view code = blank == std::string_view::npos ? block.substr(0, 3) : block.substr(blank + 1, 3);
    const std::optional<double> number = WholeNumber(code);
    if (!number)
        return 0;
    // Three characters can still spell a number beyond 16 bits ("9e9"); such a code is no code.
    constexpr double kLow = std::numeric_limits<std::int16_t>::min() - 0.5;
    constexpr double kHigh = std::numeric_limits<std::int16_t>::max() + 0.5;
    if (!(*number > kLow && *number < kHigh))
        return 0;
    return static_cast<std::int16_t>(RoundHalfEven(*number));
}

std::string GetHeaderValue(std::string_view block, std::string_view name)
{
    // Header names are case-insensitive, and a server may put any blanks after the colon, or none.
    for (std::size_t lineEnd = block.find("\r\n"); lineEnd != std::string_view::npos;) {
        const std::size_t start = lineEnd + 2;
        lineEnd = block.find("\r\n", start);
        const std::string_view line =
            block.substr(start, lineEnd == std::string_view::npos ? lineEnd : lineEnd - start);
        if (line.size() <= name.size() || line[name.size()] != ':' || !IStartsWith(line, name))
            continue;
        const std::string_view value = line.substr(name.size() + 1);
        const std::size_t first = value.find_first_not_of(" \t");
        if (first == std::string_view::npos)
            return {};
        return std::string(value.substr(first, value.find_last_not_of(" \t") + 1 - first));
    }
    return {};
}

float GetContentLength(std::string_view block)
{
    constexpr std::size_t kValueOffset = 16;  // "Content-Length: "
    const std::size_t start = block.find("Content-Length");
    if (start == std::string_view::npos || start + kValueOffset > block.size())
        return 0.0f;
    const double length = LeadingNumber(block.substr(start + kValueOffset));
    // A length beyond what the record can hold is as good as no length at all.
    if (!(std::fabs(length) <= std::numeric_limits<float>::max()))
        return 0.0f;
    return static_cast<float>(length);
}

std::string GetRedirectLocation(std::string_view block, const std::string& base)
{
    const std::string location = GetHeaderValue(block, "Location");
    if (location.empty())
        return {};
    if (location.compare(0, 7, "http://") == 0)
        return location;
    // The base keeps its own scheme and port: "/moved" from an https page stays https.
    const bool absolute = IStartsWith(base, "http://") || IStartsWith(base, "https://");
    const std::string absoluteBase = absolute ? base : "http://" + base;
    return CWinInet_URL().CombineUrl(absoluteBase, location);
}

std::string BodyOf(std::string_view block, std::string_view received)
{
    if (IFind(GetHeaderValue(block, "Transfer-Encoding"), "chunked") == std::string::npos)
        return std::string(received);
    // Each chunk is its size in hex (extensions after ";" ignored), CR LF, the bytes, CR LF; the
    // last has size 0. A body cut short keeps what came of its last chunk.
    std::string body;
    for (std::size_t lineEnd = received.find("\r\n"); lineEnd != std::string_view::npos;
         lineEnd = received.find("\r\n")) {
        std::size_t size = 0;
        const auto [end, error] = std::from_chars(received.data(), received.data() + lineEnd, size, 16);
        if (error != std::errc() || size == 0)
            break;
        received.remove_prefix(lineEnd + 2);
        body.append(received.substr(0, size));
        if (size > received.size() || received.size() - size < 2)
            break;
        received.remove_prefix(size + 2);
    }
    return body;
}

std::string StatusText(std::int32_t code)
{
    const auto found = ReasonPhrases().find(code);
    return found == ReasonPhrases().end() ? "Unknown" : found->second;
}

void DigestResponse(std::string_view response, cBookmark& bookmark, const std::string& requested)
{
    const std::string_view block = HeaderBlock(response);
    bookmark.ContentLength = GetContentLength(block);
    bookmark.ResponseCode = GetStatusCode(block);
    if (ClassOfCode(bookmark.ResponseCode) == CodeClass::Redirect)
        bookmark.RedirectedUrl = GetRedirectLocation(block, requested);
    bookmark.Status = "scanned";
    ClearEarlierFindings(bookmark);
}

void RecordSocketError(cBookmark& bookmark, int number)
{
    bookmark.Status = "error";
    bookmark.ResponseCode = static_cast<std::int16_t>(number);
    ClearEarlierFindings(bookmark);
}

void RecordTimeOut(cBookmark& bookmark)
{
    RecordSocketError(bookmark, kTimedOutCode);
}

void RecordServerSilent(cBookmark& bookmark)
{
    RecordTimeOut(bookmark);
    bookmark.ServerSilent = true;
}

}  // namespace brimtor

