#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

// A bookmark's row as it was read, so a clean can tell that it is still the same bookmark.
struct PlacesRow {
    std::int64_t parent = 0;
    std::string url;
};

// By BookmarkID, which is the row's id.
using PlacesRows = std::unordered_map<std::int32_t, PlacesRow>;

// The load, and the rows a clean checks the bookmarks against.
struct PlacesLoad : LoadOutcome {
    PlacesRows rows;
};

// The bookmarks of a Firefox places.sqlite in the browser's own tree order, each named by its
// title (its address when untitled) and filed under the path of its folders' titles, the top
// folders named as Firefox shows them. The tags tree holds no bookmarks and is left out.
//
// The database and its write-ahead log are copied into a private temporary folder and the copy
// is read: a running Firefox locks its database for itself, and even a read-only connection
// would leave files of its own beside the user's. Nothing waits and Firefox's files stay as
// they were. A database without the tables and columns a clean needs is refused, not guessed at.
PlacesLoad ReadPlaces(const std::string& databasePath);

}  // namespace brimtor
