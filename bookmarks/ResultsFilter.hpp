#pragma once

#include <string>
#include <vector>

#include "bookmarks/cBookmarks.hpp"

// Which judged bookmarks the results show. The window and the command line both fill their
// results through this.
namespace brimtor {

// Clears Clean on every bookmark whose verdict guards it (secure addresses, pages that asked for
// a login or refused the check, addresses that are not web pages), then returns the bookmarks the
// view word shows, in collection order: "Broken" (ticked, or listed by their verdict), "Redirect"
// (codes that start with 3), "All"; any other word means all, and words compare without regard
// to case.
std::vector<BookmarkPtr> FillView(const cBookmarks& bookmarks, const std::string& view);

// Whether the Problem view ("Broken") lists the bookmark as it stands: ticked, or listed by its
// verdict.
bool InProblemView(const cBookmark& bookmark);

}  // namespace brimtor
