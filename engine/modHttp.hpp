#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bookmarks/CodeClass.hpp"
#include "bookmarks/cBookmark.hpp"

// Reading an HTTP answer: the header block, the status code and its class, the declared length,
// a redirect's target, and the reason phrase of each code. Only the status line and the headers
// count for a link's outcome; the look inside pages reads a body's first bytes (BodyOf).
namespace brimtor {

// The status line and header lines of a response, each with its closing CR LF, up to the empty
// line. A response without the empty line gives its first character only (empty for none), so it
// never yields a status code beyond a single digit.
std::string_view HeaderBlock(std::string_view response);

// The three characters after the first blank (the first three when there is none), read as a
// number and rounded halves to even; 0 when they are no number or it does not fit 16 bits.
std::int16_t GetStatusCode(std::string_view block);

// The value of the first header line after the status line whose name is `name` in any letter
// case, without the blanks and tabs around it; empty when there is none.
std::string GetHeaderValue(std::string_view block, std::string_view name);

// The leading number 16 characters after the first "Content-Length"; 0 when there is none or it
// does not fit a float.
float GetContentLength(std::string_view block);

// The Location header resolved against the address requested: kept as it is when it starts with
// "http://", otherwise combined with the base, which keeps its own scheme and port (given
// "http://" when it has no http or https scheme). Empty when there is no Location or the two
// cannot be combined.
std::string GetRedirectLocation(std::string_view block, const std::string& base);

// The bytes of a body as the server meant them, from the first bytes received after `block`: a
// chunked body joined from its chunks as far as they came, any other as it is.
std::string BodyOf(std::string_view block, std::string_view received);

// The reason phrase of a code; "Unknown" for codes without one.
std::string StatusText(std::int32_t code);

// Writes the outcome of a received response into the bookmark: code, declared length, the
// redirect target (resolved against `requested`, the address the request was for) for the
// redirect class, and Status "scanned"; an earlier look's finding is cleared. What it amounts to
// is judged once the scan has ended.
void DigestResponse(std::string_view response, cBookmark& bookmark, const std::string& requested);

// Writes the outcome of a link ended by socket error `number`: "error" with that number, and no
// look's finding.
void RecordSocketError(cBookmark& bookmark, int number);

// Writes the outcome of a link that was cut off as socket error 408 (RecordSocketError).
void RecordTimeOut(cBookmark& bookmark);

// Writes the outcome of a link that was never asked because its server had let an earlier link
// go without any answer: a time-out, marked ServerSilent. Every other outcome clears that mark.
void RecordServerSilent(cBookmark& bookmark);

}  // namespace brimtor
