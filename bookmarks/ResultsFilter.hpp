#pragma once

#include <string>
#include <vector>

#include "bookmarks/cBookmarks.hpp"

// Which checked bookmarks the results show, which are protected from cleaning, and the icon
// each gets. The window and the command line both fill their results through this.
namespace brimtor {

enum class ResultIcon { None, Bad, Question, Warning, Information };

// The icon for a response code: information for 1xx, none for success and redirect codes,
// bad for definite failures, warning for everything doubtful.
ResultIcon IconForCode(int code);

// True for the answers with which a live page turns the check away rather than saying it is
// gone: 403 (bot walls), 429 (rate limits), and 999 and the other codes from 900 (sites that
// answer only browsers). Socket error numbers are not answers and never count.
bool RefusedTheCheck(int code);

// Clears Clean on every protected bookmark of the collection (secure addresses, pages that
// asked for a login and pages that refused the check), then returns the bookmarks the view word shows, in collection
// order: "Broken", "Redirect", "All"; any other word means all, and words compare without
// regard to case.
// A bookmark that is not a web address ("place:", "javascript:", a file) is never left marked.
std::vector<BookmarkPtr> FillView(const cBookmarks& bookmarks, const std::string& view);

}  // namespace brimtor
