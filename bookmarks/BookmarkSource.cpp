#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

CleanOutcome NotCleaned(std::string reason)
{
    CleanOutcome outcome;
    outcome.result = CleanResult::Failed;
    outcome.reason = std::move(reason);
    return outcome;
}

CleanOutcome RefusedWhileRunning(std::string words)
{
    CleanOutcome outcome = NotCleaned(std::move(words));
    outcome.result = CleanResult::BrowserRunning;
    return outcome;
}

CleanOutcome Rewritten(const Outcome<>& replaced, std::int32_t removed, std::string backup)
{
    CleanOutcome outcome = replaced ? CleanOutcome() : NotCleaned(replaced.Reason());
    outcome.removed = replaced ? removed : 0;
    outcome.backups.push_back(std::move(backup));
    return outcome;
}

std::int32_t CountMarked(const BookmarksPtr& bookmarks)
{
    std::int32_t marked = 0;
    if (bookmarks) {
        for (const BookmarkPtr& bookmark : *bookmarks)
            marked += bookmark->Clean ? 1 : 0;
    }
    return marked;
}

}  // namespace brimtor
