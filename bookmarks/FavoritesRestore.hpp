#pragma once

#include <string>

#include "bookmarks/RestoreOutcome.hpp"

namespace brimtor {

// Puts the shortcuts of a Favorites backup folder back at their places below the Favorites
// folder, making the folders on the way and the folders a clean took out empty. Only missing
// shortcuts are written: one that is there now, whatever it holds, is kept and named in
// notRestored, as is one that cannot be written. So nothing is replaced, and there is nothing to
// back up first.
RestoreOutcome RestoreFavorites(const std::string& backup, const std::string& favorites);

}  // namespace brimtor
