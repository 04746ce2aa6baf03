#pragma once

#include <string>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

class cLinkMain;

// Removes every bookmark marked Clean from the chosen source through that source's own writer,
// which backs the source up first. A writer's failure is reported to the user by the writer,
// never thrown.
CleanOutcome CleanChosenSource(cLinkMain& links);

// Tells the user a source was left uncleaned, with the reason when there is one; returns false
// for the caller to pass on. Every writer reports this way.
bool ReportNotCleaned(const std::string& reason = {});

}  // namespace brimtor
