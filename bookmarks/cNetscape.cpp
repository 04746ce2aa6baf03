#include "bookmarks/cNetscape.hpp"

namespace brimtor {

static const BrowserProfileTraits kNetscape {"SOFTWARE\\Netscape\\Netscape Browser\\",
                                             {"/.netscape/navigator/"}, 2, "cNetscape", "Netscape"};

cNetscape::cNetscape()
    : cBrowserProfile(kNetscape)
{
}

BookmarksPtr cNetscape::GetBookMarks()
{
    return LoadBookmarks();
}

}  // namespace brimtor
