#include "bookmarks/BookmarkSource.hpp"

#include <functional>

#include "support/modFileFunctions.hpp"

namespace brimtor {

void TellLeftOut(LoadOutcome& outcome, const std::string& file)
{
    if (outcome.leftOut == 0)
        return;
    const bool one = outcome.leftOut == 1;
    if (!outcome.note.empty())
        outcome.note += "\r\n";
    outcome.note += std::to_string(outcome.leftOut) + (one ? " bookmark in " : " bookmarks in ")
                    + GetFileName(file)
                    + (one ? " could not be read and is left as it is" : " could not be read and are left as they are");
}

CleanOutcome NotCleaned(std::string reason)
{
    CleanOutcome outcome;
    outcome.result = CleanResult::Failed;
    outcome.reason = std::move(reason);
    return outcome;
}

CleanOutcome NotCleanedUnshown(std::string reason)
{
    CleanOutcome outcome = NotCleaned(std::move(reason));
    outcome.reasonUnshown = true;
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

std::size_t HashOf(const std::string& bytes)
{
    return std::hash<std::string>{}(bytes);
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

std::int32_t CountMarked(const FoldersPtr& folders)
{
    std::int32_t marked = 0;
    if (folders) {
        for (const cFolder& folder : *folders)
            marked += folder.Clean ? 1 : 0;
    }
    return marked;
}

}  // namespace brimtor
