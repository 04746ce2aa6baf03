#pragma once

#include <string_view>

#include "bookmarks/cBookmark.hpp"

// The look's findings in words: the one table the command's column, the results' words and the
// judge's own messages read.
namespace brimtor {

// The finding's word in the command's output ("parked", "not-found-page", "home-page",
// "server-default-page", "suspended"); empty for None.
std::string_view LookVerdictWord(LookVerdict verdict);

// The few words that tell the user why ("the domain is parked (for sale)"); empty for None.
std::string_view LookVerdictEvidence(LookVerdict verdict);

}  // namespace brimtor
