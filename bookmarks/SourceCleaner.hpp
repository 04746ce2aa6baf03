#pragma once

namespace brimtor {

class cLinkMain;

enum class CleanResult {
    Cleaned,      // the chosen source no longer holds the marked bookmarks
    Failed,       // the source was left as it was; the user has been told why
    NoSuchSource  // no writer for the chosen source code; nothing was written
};

// Removes every bookmark marked Clean from the chosen source through that source's own writer,
// which backs the file up first. A writer's failure is reported to the user here or by the
// writer itself, never thrown.
CleanResult CleanChosenSource(cLinkMain& links);

}  // namespace brimtor
