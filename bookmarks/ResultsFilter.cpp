#include "bookmarks/ResultsFilter.hpp"

#include <algorithm>

#include "bookmarks/BrowsableAddress.hpp"
#include "bookmarks/CodeClass.hpp"
#include "support/Text.hpp"

namespace brimtor {

ResultIcon IconForCode(int code)
{
    if (code == 100 || code == 101)
        return ResultIcon::Information;
    if (ClassOfCode(code) != CodeClass::Broken)
        return ResultIcon::None;
    if (code == 400 || (code >= 402 && code <= 407) || (code >= 409 && code <= 415)
        || code == 10061 || code == 11004)
        return ResultIcon::Bad;
    return ResultIcon::Warning;
}

bool RefusedTheCheck(int code)
{
    return code == 403 || code == 429 || (code >= 900 && code <= 999);
}

// Answers that say nothing about whether the page is there: a login, or a refusal.
static bool AnswerWithheld(int code)
{
    return code == 401 || RefusedTheCheck(code);
}

// Secure addresses and pages that asked for a login or refused the check may well work in the
// user's browser, so the check's verdict on them is never trusted enough to delete them unasked.
static bool IsProtected(const cBookmark& bookmark)
{
    return IStartsWith(bookmark.url, "https") || AnswerWithheld(bookmark.ResponseCode);
}

// Only web pages are judged by their answer: a browser's own queries ("place:"), bookmarklets
// ("javascript:"), local files and other schemes are listed but never marked for removal.
static bool IsWebAddress(const cBookmark& bookmark)
{
    return !BrowsableAddress(bookmark.url).empty();
}

static bool ShownInView(const cBookmark& bookmark, const std::string& view)
{
    if (IEquals(view, "Broken"))
        return bookmark.Clean || AnswerWithheld(bookmark.ResponseCode);
    if (IEquals(view, "Redirect"))
        return std::to_string(bookmark.ResponseCode).front() == '3';
    return true;
}

std::vector<BookmarkPtr> FillView(const cBookmarks& bookmarks, const std::string& view)
{
    std::vector<BookmarkPtr> rows;
    for (const BookmarkPtr& bookmark : bookmarks) {
        if (IsProtected(*bookmark) || !IsWebAddress(*bookmark))
            bookmark->Clean = false;
        if (ShownInView(*bookmark, view))
            rows.push_back(bookmark);
    }
    return rows;
}

}  // namespace brimtor
