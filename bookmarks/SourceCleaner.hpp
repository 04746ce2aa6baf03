#pragma once

#include <string>

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

// Tells the user a source was left uncleaned, with the reason when there is one; returns false
// for the caller to pass on. Every writer reports this way.
bool ReportNotCleaned(const std::string& reason = {});

}  // namespace brimtor
