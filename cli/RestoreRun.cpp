#include "cli/RestoreRun.hpp"

#include <ostream>

#include "bookmarks/BackupRestore.hpp"
#include "cli/Console.hpp"

namespace brimtor {

bool RunRestore(const std::string& backup, bool yes, std::istream& in, std::ostream& err)
{
    const BackupRestore restore(backup);
    // Without a place to put it, or a name that tells how, there is nothing to ask about.
    const bool askable = restore.Known() && !restore.Target().empty();
    if (askable && !yes && !AnsweredYes(restore.Question(), in, err)) {
        err << kProgram << "nothing was put back\n";
        return false;
    }
    const RestoreOutcome outcome = restore.Restore();
    if (!outcome) {
        err << kProgram << backup << " was not put back: " << outcome.Reason()
            << (restore.Known() && !askable ? " (the backup window asks for the place)" : "") << '\n';
        return false;
    }
    if (!outcome->backup.empty())
        err << kProgram << "backup " << outcome->backup << '\n';
    for (const std::string& line : outcome->notRestored)
        err << kProgram << "not restored: " << line << '\n';
    err << kProgram << "restored " << outcome->bookmarks << " bookmark(s) from " << backup << " to "
        << restore.TargetWords() << '\n';
    return outcome->notRestored.empty();
}

}  // namespace brimtor
