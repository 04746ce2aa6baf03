#pragma once

#include <string>

namespace brimtor {

// The web archive's list of the copies it holds of a bookmark's address: "https://web.archive.org/web/*/"
// followed by the address, percent-encoded where an address may not hold a byte as it is (blanks,
// quotes, bytes beyond ASCII, a "%" that starts no escape). Empty for an address that is not a
// web page's (BrowsableAddress decides), which the archive cannot have.
std::string WebArchiveAddress(const std::string& url);

}  // namespace brimtor
