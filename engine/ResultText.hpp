#pragma once

#include <cstdint>
#include <string>

#include "bookmarks/cBookmark.hpp"

namespace brimtor {

// The words for a check's response code: the socket or connection error's text for numbers
// above 4096, the HTTP reason phrase otherwise.
std::string ResultText(std::int32_t code);

// The words the results show for a bookmark: its code's, then why it was not asked when its
// server had not answered an earlier link, then its verdict's own (why a row is left unticked,
// say).
std::string ResultText(const cBookmark& bookmark);

}  // namespace brimtor
