#include "bookmarks/SourceCleaner.hpp"

#include "bookmarks/cLinkMain.hpp"
#include "support/MessageBox.hpp"

namespace brimtor {

CleanOutcome CleanChosenSource(cLinkMain& links)
{
    BookmarkSource* source = links.Source(links.SelectedBrowser());
    if (!source) {
        ShowMessage("Selected bookmark browser type could not be cleaned", MsgIcon::Critical);
        return {CleanResult::NoSuchSource, 0, {}, {}};
    }
    return source->CleanUpBookmarks();
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
