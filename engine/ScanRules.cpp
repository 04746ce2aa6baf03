#include "engine/ScanRules.hpp"

#include "bookmarks/ReadShortcutUrl.hpp"
#include "engine/cURL.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

bool IsSuccessOrRedirect(std::int32_t code)
{
    return ClassOfCode(code) != CodeClass::Broken;
}

bool CheckedInPass(const cBookmark& bookmark, bool secondPass)
{
    return !secondPass || !IsSuccessOrRedirect(bookmark.ResponseCode);
}

const char* PassMethod(bool secondPass)
{
    return secondPass ? "GET " : "HEAD ";
}

std::string RequestAddress(const std::string& url)
{
    cURL parts;
    parts.ParseUrl(url);
    if (parts.ExtraInfo().find('#') == std::string::npos)
        return url;
    const char* scheme = parts.Scheme() == SchemeNumber::Https ? "https://" : "http://";
    return scheme + parts.HostHame() + parts.URLPath();
}

void ReadShortcutAddress(cBookmark& bookmark)
{
    bookmark.url = ReadShortcutUrl(bookmark.ShortcutPath);
}

}  // namespace brimtor
