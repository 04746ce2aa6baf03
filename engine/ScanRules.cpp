#include "engine/ScanRules.hpp"

#include "bookmarks/ReadShortcutUrl.hpp"
#include "engine/cURL.hpp"
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
    cURL parts;
    if (!parts.ParseUrl(url) || parts.ExtraInfo().find('#') == std::string::npos)
        return url;
    const char* scheme = parts.Scheme() == SchemeNumber::Https ? "https://" : "http://";
    return scheme + parts.HostHame() + parts.URLPath();
}

void ReadShortcutAddress(cBookmark& bookmark)
{
    bookmark.url = ReadShortcutUrl(bookmark.ShortcutPath);
}

}  // namespace brimtor
