#include "bookmarks/cNetscape.hpp"

namespace brimtor {

static const BrowserProfileTraits kNetscape {"SOFTWARE\\Netscape\\Netscape Browser\\",
                                             {"/.netscape/navigator/"}, 2, "Netscape"};

cNetscape::cNetscape(const SourceLocation& where)
    : cBrowserProfile(kNetscape, where)
{
}

}  // namespace brimtor
