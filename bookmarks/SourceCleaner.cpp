#include "bookmarks/SourceCleaner.hpp"

#include "bookmarks/cLinkMain.hpp"
#include "support/MessageBox.hpp"
#include "support/NumberedError.hpp"

namespace brimtor {

static CleanResult FromWriter(bool cleaned)
{
    return cleaned ? CleanResult::Cleaned : CleanResult::Failed;
}

// The text-file writer reports by error; the user hears it as from every other writer.
static CleanResult CleanTextFile(cLinkMain& links)
{
    try {
        links.CreateTextFile();
        return CleanResult::Cleaned;
    } catch (const NumberedError& error) {
        ReportNotCleaned(error.Description());
        return CleanResult::Failed;
    }
}

CleanResult CleanChosenSource(cLinkMain& links)
{
    switch (links.SelectedBrowser()) {
    case SourceCode::Favorites:
        links.IE().CleanUpBookmarks();
        return CleanResult::Cleaned;
    case SourceCode::Firefox:
        return FromWriter(links.Firefox().CleanUpBookmarks());
    case SourceCode::Netscape:
        return FromWriter(links.Netscape().CleanUpBookmarks());
    case SourceCode::TextFile:
        return CleanTextFile(links);
    case SourceCode::BookmarkFile:
        return FromWriter(links.CreateNetscapeBookmarkFile());
    default:
        ShowMessage("Selected bookmark browser type could not be cleaned", MsgIcon::Critical);
        return CleanResult::NoSuchSource;
    }
}

bool ReportNotCleaned(const std::string& reason)
{
    std::string text = "Bookmarks could not be cleaned at this time";
    if (!reason.empty())
        text += "\r\n\r\n" + reason;
    ShowMessage(text, MsgIcon::Information);
    return false;
}

}  // namespace brimtor
