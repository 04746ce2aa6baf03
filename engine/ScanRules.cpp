#include "engine/ScanRules.hpp"

#include "bookmarks/ReadShortcutUrl.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

bool CheckedInPass(const cBookmark& bookmark, bool secondPass)
{
    return !secondPass || ClassOfCode(bookmark.ResponseCode) == CodeClass::Broken;
}

const char* PassMethod(bool secondPass)
{
    return secondPass ? "GET " : "HEAD ";
}

std::string RequestAddress(const std::string& url)
{
    // A fragment names a place in the page (or a route of a web app on its own port); the page
    // itself is everything before it, port and query included.
    return url.substr(0, url.find('#'));
}

void ReadShortcutAddress(cBookmark& bookmark)
{
    bookmark.url = ReadShortcutUrl(bookmark.ShortcutPath);
}

}  // namespace brimtor
