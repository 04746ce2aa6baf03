#include "bookmarks/cFirefox.hpp"

#include <string>

#include "support/ErrorLog.hpp"
#include "support/NumberedError.hpp"

namespace brimtor {

static const BrowserProfileTraits kFirefox {"SOFTWARE\\Mozilla\\Mozilla Firefox\\",
                                            "/.mozilla/firefox/", 1, "cFirefox"};

cFirefox::cFirefox()
    : cBrowserProfile(kFirefox)
{
}

BookmarksPtr cFirefox::GetBookMarks()
{
    const std::string source = std::string(kFirefox.className) + ": GetBookMarks";
    try {
        return LoadBookmarks();
    } catch (const NumberedError& error) {
        LogError(source, error.Number(), error.Description());
    } catch (const std::exception& error) {
        LogError(source, ErrorNumber::InvalidProcedureCall, error.what());
    }
    return nullptr;
}

}  // namespace brimtor
