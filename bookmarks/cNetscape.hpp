#pragma once

#include "bookmarks/cBrowserProfile.hpp"

namespace brimtor {

// Source 2: the bookmarks of the default Netscape profile, below ~/.netscape/navigator/.
class cNetscape : public cBrowserProfile {
public:
    explicit cNetscape(const SourceLocation& where = kNoLocation);

    LoadOutcome GetBookMarks() override { return LoadBookmarks(); }
};

}  // namespace brimtor
