#pragma once

#include <string>

#include "bookmarks/BookmarkSource.hpp"
#include "bookmarks/PlacesReader.hpp"
#include "support/Backup.hpp"

namespace brimtor {

// Removes the bookmarks marked Clean, and the folders marked Clean with everything in them, from
// the places.sqlite of a Firefox profile, as Firefox itself would: all or nothing, in one
// transaction, after a backup copy of the whole database (Backup_Firefox_<stamp>.sqlite). Each
// removal closes the gap in its folder's positions, lowers its address's count of bookmarks
// (Firefox keeps that count up only while it runs), leaves a tombstone for sync when the row had
// been synced, and marks its folder changed. An address left without any bookmark loses its
// keywords too, which that count also counts.
//
// Refused, with the database untouched and the outcome saying why, while Firefox runs (its lock
// names Firefox alive here or another host, or the database cannot be locked for writing at
// once), when a row to remove is no longer as loaded (the same id, kind, guid, place, address and
// folder) or a marked folder holds anything it did not hold then, or when no backup could be
// made. A row is removed by its id and all of that, so a tick never reaches another row.
CleanOutcome CleanPlaces(const std::string& profileFolder, const PlacesLoad& load);

// The backup copy Backup_Firefox_<stamp>.sqlite of the whole database as it is now, its
// write-ahead log's changes included: a lone file, which opening never gives a log of its own.
// Throws SqliteError when the database cannot be read.
BackupCopy BackupDatabase(const std::string& path);

}  // namespace brimtor
