#include "bookmarks/cFirefox.hpp"

#include <string>

#include "support/ErrorLog.hpp"

namespace brimtor {

static const BrowserProfileTraits kFirefox {"SOFTWARE\\Mozilla\\Mozilla Firefox\\",
                                            "/.mozilla/firefox/", 1, "cFirefox", "Firefox"};

cFirefox::cFirefox()
    : cBrowserProfile(kFirefox)
{
}

BookmarksPtr cFirefox::GetBookMarks()
{
    BookmarksPtr bookmarks;
    LogFailure(std::string(kFirefox.className) + ": GetBookMarks", [&] { bookmarks = LoadBookmarks(); });
    return bookmarks;
}

}  // namespace brimtor
