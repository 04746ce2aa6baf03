#pragma once

#include "bookmarks/cBrowserProfile.hpp"

namespace brimtor {

// Source 2: the bookmarks of the default Netscape profile, below ~/.netscape/navigator/.
class cNetscape : public cBrowserProfile {
public:
    cNetscape();

    // The default profile's bookmarks, or nullptr. Errors reach the caller as NumberedError.
    BookmarksPtr GetBookMarks() override;
};

}  // namespace brimtor
