#pragma once

#include <string>

namespace brimtor {

// The address to hand the desktop for a bookmark, or empty text when it must not be opened.
// Bookmark files are untrusted input and the desktop's opener may run whatever it is given,
// so only http, https and ftp addresses go out; an address without a scheme is taken as http.
std::string BrowsableAddress(const std::string& url);

}  // namespace brimtor
