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

// Clears Clean on every protected bookmark of the collection (secure addresses, and pages
// that asked for a login), then returns the bookmarks the view word shows, in collection
// order: "Broken", "Redirect", "All"; any other word means all, and words compare without
// regard to case.
// A bookmark that is not a web address ("place:", "javascript:", a file) is never left marked.
std::vector<BookmarkPtr> FillView(const cBookmarks& bookmarks, const std::string& view);

}  // namespace brimtor
