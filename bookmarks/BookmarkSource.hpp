#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bookmarks/cBookmarks.hpp"

namespace brimtor {

enum class CleanResult {
    Cleaned,      // the source no longer holds the marked bookmarks (see failures for any left)
    Failed,       // the source was left as it was; the user has been told why
    NoSuchSource  // no source has the chosen code; nothing was written
};

// What one clean did to its source, for the window's and the command line's report.
struct CleanOutcome {
    CleanResult result = CleanResult::Failed;
    // Marked bookmarks the source no longer holds.
    std::int32_t removed = 0;
    // One line per marked bookmark that could not be removed ("News/a.url: Permission denied");
    // the others were removed all the same.
    std::vector<std::string> failures;
    // The copies made before anything changed, full paths.
    std::vector<std::string> backups;
};

// One place bookmarks come from: how it is found, loaded and cleaned. The controller holds at
// most one of each kind, made from the table in SourceKinds, and reaches it by source code.
class BookmarkSource {
public:
    virtual ~BookmarkSource() = default;

    // Found for this user, so the window offers it.
    virtual bool IsInstalled() const = 0;
    // What was found, for the option's tooltip ("Google Chrome, profile Default"); may be empty.
    virtual std::string FoundWhere() const { return {}; }

    // The source's bookmarks in a new collection; nullptr when none could be read. May throw
    // NumberedError, which the controller logs.
    virtual BookmarksPtr GetBookMarks() = 0;
    // One line for the command line: why GetBookMarks gave nothing.
    virtual std::string WhyNotLoadable() const = 0;

    // Removes from the source the bookmarks of its last load that are marked Clean, after a
    // backup. Never throws: a refusal or a failure is told to the user through the message box
    // seam, and the outcome says what happened.
    virtual CleanOutcome CleanUpBookmarks() = 0;
};

// The marked bookmarks of a collection (none for no collection).
std::int32_t CountMarked(const BookmarksPtr& bookmarks);

}  // namespace brimtor
