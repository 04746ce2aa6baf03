#pragma once

#include <string>

#include "bookmarks/BookmarkSource.hpp"
#include "bookmarks/PlacesReader.hpp"

namespace brimtor {

// Removes the bookmarks marked Clean from the places.sqlite of a Firefox profile, as Firefox
// itself would: all or nothing, in one transaction, after a backup copy of the whole database
// (Backup_Firefox_<stamp>.sqlite). Each removal closes the gap in its folder's positions, lowers
// its address's count of bookmarks (Firefox keeps that count up only while it runs), leaves a
// tombstone for sync when the bookmark had been synced, and marks its folder changed.
//
// Refused, with the database untouched and the outcome saying why, while Firefox runs (its lock
// names a live process here, or the database cannot be locked for writing at once), when a
// marked bookmark is no longer in its row as loaded (rows: the same id, guid, place, address and
// folder), or when no backup could be made. A row is removed by its id and all of that, so a
// tick never reaches another row.
CleanOutcome CleanPlaces(const std::string& profileFolder, const cBookmarks& bookmarks,
                         const PlacesRows& rows);

}  // namespace brimtor
