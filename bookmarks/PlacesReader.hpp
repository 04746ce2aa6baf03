#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

// The kinds of row Firefox writes in moz_bookmarks.type.
inline constexpr std::int64_t kBookmarkType = 1;
inline constexpr std::int64_t kFolderType = 2;
inline constexpr std::int64_t kSeparatorType = 3;

// A row as it was read, so a clean removes that row only while it is still the same bookmark,
// folder or separator: its id, its kind, its guid, its place (fk) and the place's address, its
// folder.
struct PlacesRow {
    std::int64_t id = 0;
    std::int64_t fk = 0;
    std::int64_t parent = 0;
    std::string guid;
    std::string url;
    std::int64_t type = kBookmarkType;
};

// By BookmarkID - 1. A bookmark's key is its place in the load: Firefox's ids are 64-bit numbers,
// which the collection's keys cannot hold.
using PlacesRows = std::vector<PlacesRow>;

// The load, and the rows a clean checks the bookmarks and folders against.
struct PlacesLoad : LoadOutcome {
    PlacesRows rows;
    PlacesRows folderRows;  // by FolderID - 1
    PlacesRows otherRows;   // the separators and rows of other kinds in the listed folders
};

// The bookmarks of a Firefox places.sqlite in the browser's own tree order, each named by its
// title (its address when untitled) and filed under the path of its folders' titles, the top
// folders named as Firefox shows them. The tags tree holds no bookmarks and is left out;
// bookmarks no walk from the root reaches (their folder is gone) are counted in leftOut and told.
// The folders below the top ones are listed too; the top ones, Firefox's own, never are.
//
// The database and its logs are copied into a PrivateCopy and the copy is read: a running
// Firefox locks its database for itself, and even a read-only connection would leave files of
// its own beside the user's. Nothing waits and Firefox's files stay as they were. A database
// without the tables and columns a clean needs is refused, not guessed at; so is a tree with a
// folder inside itself or nested deeper than kMaxNesting, with the file named.
PlacesLoad ReadPlaces(const std::string& databasePath);

}  // namespace brimtor
