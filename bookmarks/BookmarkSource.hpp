#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bookmarks/cBookmarks.hpp"
#include "bookmarks/cFolder.hpp"
#include "support/Outcome.hpp"

namespace brimtor {

// Where the user pointed the sources: the file they named (the text file, the bookmark HTML
// file) and a browser profile folder they named instead of the browser's default (--profile).
// Empty for none. A source reads it when it loads, so a later change counts.
struct SourceLocation {
    std::string file;
    std::string profileFolder;
};

// How deep the folders of any store may nest: as deep as the browsers' own JSON reader reads
// objects and arrays. A deeper store is refused, so a walk of what was read may recurse.
constexpr int kMaxNesting = 200;

// Nothing named: every browser source's default profile.
inline const SourceLocation kNoLocation {};

// What one load gave.
struct LoadOutcome {
    // The new collection; nullptr when nothing could be read.
    BookmarksPtr bookmarks;
    // Why there is no collection, one line in the user's words; empty when there is nothing to
    // add to "no bookmarks could be read".
    std::string reason;
    // Told to the user as soon as the load ends, whether it gave bookmarks or not ("No favorites
    // can be located"); a failed load's note is an error.
    std::string note;
    // Entries of the store that could not be read (a repeated id, a folder out of reach): not
    // listed, so never removed, and told in the note by TellLeftOut.
    std::int32_t leftOut = 0;
    // The source's folders, for a source that has them; their bookmarks name them by FolderID.
    FoldersPtr folders = nullptr;
};

// Adds to the note what leftOut counts, naming the store's file by its name: "3 bookmarks in
// Bookmarks could not be read and are left as they are". Nothing when it counts none.
void TellLeftOut(LoadOutcome& outcome, const std::string& file);

enum class CleanResult {
    Cleaned,         // the source no longer holds the marked bookmarks (see failures for any left)
    Failed,          // the source was left as it was: it "could not be cleaned at this time"
    BrowserRunning,  // refused while the browser that owns the store runs; reason says so in full
    NoSuchSource     // no source has the chosen code; nothing was written
};

// What one clean did to its source.
struct CleanOutcome {
    CleanResult result = CleanResult::Cleaned;
    // Why the source was left as it was, in the user's words; may be empty.
    std::string reason;
    // The bookmark HTML writer's refusals are told in the window in their fixed words alone;
    // the reason then goes only where a line has room for it, such as the command's.
    bool reasonUnshown = false;
    // Marked bookmarks the source no longer holds.
    std::int32_t removed = 0;
    // Marked folders it no longer holds (each with whatever was in it).
    std::int32_t removedFolders = 0;
    // One line per marked bookmark that could not be removed ("News/a.url: Permission denied");
    // the others were removed all the same.
    std::vector<std::string> failures;
    // The copies made before anything changed, full paths.
    std::vector<std::string> backups;
};

// A source left as it was, and why.
CleanOutcome NotCleaned(std::string reason);
// A source left as it was, told in the window in fixed words alone (see reasonUnshown).
CleanOutcome NotCleanedUnshown(std::string reason);
// A source left as it was because its browser runs; the words say so in full.
CleanOutcome RefusedWhileRunning(std::string words);
// A whole file replaced, after its backup copy: `removed` bookmarks gone, or none when the
// replace failed.
CleanOutcome Rewritten(const Outcome<>& replaced, std::int32_t removed, std::string backup);

// One place bookmarks come from: how it is found, loaded and cleaned. Every failure is told in
// the outcome; none is shown, none is thrown.
class BookmarkSource {
public:
    virtual ~BookmarkSource() = default;

    // Found for this user, so the window offers it.
    virtual bool IsInstalled() const = 0;
    // Which browser profile it reads, for the option's tooltip and for every message about it
    // ("Google Chrome profile ~/.config/google-chrome/Default"); empty for a source without one.
    virtual std::string FoundWhere() const { return {}; }

    // The source's bookmarks in a new collection.
    virtual LoadOutcome GetBookMarks() = 0;

    // Removes from the source the bookmarks of its last load that are marked Clean, and the
    // folders of that load marked Clean with everything in them, after a backup.
    virtual CleanOutcome CleanUpBookmarks() = 0;

    // Lets go of what only a clean of the last load needs (a bookmark file's lines), for a
    // caller that will not clean; a clean after it changes nothing.
    virtual void ForgoClean() {}
};

// A fingerprint of a store's bytes, kept from the load so a clean can tell whether the store
// changed since.
std::size_t HashOf(const std::string& bytes);

// The marked bookmarks of a collection, the marked folders of a list (none for none).
std::int32_t CountMarked(const BookmarksPtr& bookmarks);
std::int32_t CountMarked(const FoldersPtr& folders);

}  // namespace brimtor
