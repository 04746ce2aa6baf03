#pragma once

#include <string>

#include "bookmarks/RestoreOutcome.hpp"

namespace brimtor {

// Puts a backup copy of a Firefox places.sqlite back as a profile's database. The copy must pass
// SQLite's full integrity check and hold a Firefox bookmark tree, or the profile is not touched.
// Refused while Firefox runs, by its lock link or its lock on the database, as a clean is. The
// database as it is now is backed up first, its log's changes included; then its -wal and -shm
// files go, so no log of the old database is ever applied to the new one, and the copy, written
// beside it, takes its name in one step, keeping its owner and mode.
RestoreOutcome RestorePlaces(const std::string& backup, const std::string& databasePath);

}  // namespace brimtor
