#pragma once

#include <cstdint>
#include <string>

// Readable texts for the error numbers a check can end with (socket and TLS numbers) and for the
// Internet-library numbers they share a range with.
namespace brimtor {

// The text of an Internet-library error number; 12003 gives ExtendedErrorText(12003); any other
// number gives SystemErrorText.
std::string WinInetErrorText(std::int32_t number);

// The last answer the connectivity probe received, or "Error Code <n> not defined." when it
// has received none.
std::string ExtendedErrorText(std::int32_t number);

// The text of a socket or TLS error number, or "Error (<n>) not defined." for any other.
std::string SystemErrorText(std::int32_t number);

// Kept for ExtendedErrorText for the rest of the run; set by the connectivity probe.
void SetLastResponseInfo(std::string text);

}  // namespace brimtor
