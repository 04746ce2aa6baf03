#include "bookmarks/ResultsFilter.hpp"

#include "bookmarks/Verdict.hpp"
#include "support/Text.hpp"

namespace brimtor {

bool InProblemView(const cBookmark& bookmark)
{
    return bookmark.Clean || RowOf(bookmark.Verdict).listed;
}

static bool ShownInView(const cBookmark& bookmark, const std::string& view)
{
    if (IEquals(view, "Broken"))
        return InProblemView(bookmark);
    if (IEquals(view, "Redirect"))
        return std::to_string(bookmark.ResponseCode).front() == '3';
    return true;
}

std::vector<BookmarkPtr> FillView(const cBookmarks& bookmarks, const std::string& view)
{
    std::vector<BookmarkPtr> rows;
    for (const BookmarkPtr& bookmark : bookmarks) {
        if (RowOf(bookmark->Verdict).guarded)
            bookmark->Clean = false;
        if (ShownInView(*bookmark, view))
            rows.push_back(bookmark);
    }
    return rows;
}

}  // namespace brimtor
