#pragma once

#include "bookmarks/cBrowserProfile.hpp"

namespace brimtor {

// Source 1: the bookmarks of the default Firefox profile, below ~/.mozilla/firefox/.
class cFirefox : public cBrowserProfile {
public:
    cFirefox();

    // The default profile's bookmarks, or nullptr. Errors are logged as
    // "cFirefox: GetBookMarks" and give nullptr.
    BookmarksPtr GetBookMarks() override;
};

}  // namespace brimtor
