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

// Secure addresses and pages that asked for a login may well work in the user's browser, so
// the check's verdict on them is never trusted enough to delete them unasked.
bool IsProtected(const cBookmark& bookmark);

// True when the view word ("Broken", "Redirect", "All"; any other word means all) shows the
// bookmark. Words compare without regard to case.
bool ShownInView(const cBookmark& bookmark, const std::string& view);

// Clears Clean on every protected bookmark of the collection, then returns the bookmarks the
// view shows, in collection order.
std::vector<BookmarkPtr> FillView(const cBookmarks& bookmarks, const std::string& view);

}  // namespace brimtor
