#pragma once

#include <span>
#include <string>

#include "bookmarks/cBookmark.hpp"

// The rules every scan follows, in the window and in the command: the passes, which address a
// link's request goes to, and how a Favorites shortcut gets its address before the first pass.
namespace brimtor {

// One pass over the collection: the method it asks with and the links it asks. A pass starts
// once every link of the pass before it has ended, so it may read their outcomes.
struct ScanPass {
    const char* method;                      // "HEAD " or "GET ", with its blank
    bool (*asks)(const cBookmark& bookmark);  // false: the pass passes the link over
    bool look = false;  // the look inside pages: it reads bodies and probes, and writes only LookFinding
};

// The passes in order: HEAD for every link, then GET for the links whose first answer was
// neither a success nor a redirect, then the look inside the pages that answered (a success or a
// redirect) and whose verdict it could change: a secure address stays unticked whatever it says.
std::span<const ScanPass> ScanPasses();

// How the details list, the stage line and the command's progress name a pass (from 1): "1st".
std::string PassName(int pass);

// The address actually requested: the bookmark's address without its fragment ("#" and what
// follows), which is never sent to a server. Scheme, host, port and query stay.
std::string RequestAddress(const std::string& url);

// The pre-scan of the Favorites: the address of the bookmark's shortcut file becomes its url.
void ReadShortcutAddress(cBookmark& bookmark);

}  // namespace brimtor
