#include "bookmarks/WebArchive.hpp"

#include <cstring>

#include "bookmarks/BrowsableAddress.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

constexpr const char* kArchiveListing = "https://web.archive.org/web/*/";

// The characters an address holds as they are: the unreserved and the reserved ones of RFC 3986.
bool StaysAsItIs(char c)
{
    const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    return alphanumeric || (c != '\0' && std::strchr("-._~:/?#[]@!$&'()*+,;=", c) != nullptr);
}

// An escape already in the address stays one: "%20" is not made "%2520".
bool StartsEscape(const std::string& text, std::size_t i)
{
    return text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0
        && HexDigitValue(text[i + 2]) >= 0;
}

}  // namespace

std::string WebArchiveAddress(const std::string& url)
{
    const std::string address = BrowsableAddress(url);
    if (address.empty())
        return {};
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string listing = kArchiveListing;
    for (std::size_t i = 0; i < address.size(); ++i) {
        const char c = address[i];
        if (StaysAsItIs(c) || StartsEscape(address, i)) {
            listing += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            ((listing += '%') += kHex[byte >> 4]) += kHex[byte & 15];
        }
    }
    return listing;
}

}  // namespace brimtor
