#pragma once

#include <string>

#include "bookmarks/cBookmark.hpp"

// The rules every scan follows, whoever drives it: which address a link's request goes to, which
// links the second pass asks again, and how a Favorites shortcut gets its address before the
// first pass. The window's one-link-at-a-time scan and the command line's parallel one share
// them, so a bookmark's outcome never depends on which of them checked it.
namespace brimtor {

// True when the pass (false: the HEAD pass, true: the GET pass) sends a request for the bookmark:
// the GET pass asks again only the links whose first answer was neither a success nor a redirect.
bool CheckedInPass(const cBookmark& bookmark, bool secondPass);

// "HEAD " for the first pass, "GET " for the second.
const char* PassMethod(bool secondPass);

// The address actually requested: the bookmark's address without its fragment ("#" and what
// follows), which is never sent to a server. Scheme, host, port and query stay.
std::string RequestAddress(const std::string& url);

// The pre-scan of the Favorites: the address of the bookmark's shortcut file becomes its url.
void ReadShortcutAddress(cBookmark& bookmark);

}  // namespace brimtor
