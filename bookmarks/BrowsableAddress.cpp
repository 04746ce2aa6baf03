#include "bookmarks/BrowsableAddress.hpp"

#include "support/Text.hpp"

namespace brimtor {

// The scheme's text when the address starts with one (letters, digits, "+", "-", "." after a
// letter, then ":"), else empty.
static std::string SchemeOf(const std::string& url)
{
    std::size_t i = 0;
    while (i < url.size()) {
        const char c = url[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!(letter || (i > 0 && other)))
            break;
        ++i;
    }
    return (i > 0 && i < url.size() && url[i] == ':') ? url.substr(0, i) : std::string();
}

// "www.example.com:8080/x" and "localhost:8080" start like a scheme but name a host.
static bool LooksLikeHostAndPort(const std::string& address, const std::string& scheme)
{
    const std::size_t after = scheme.size() + 1;
    return scheme.find('.') != std::string::npos
        || (after < address.size() && address[after] >= '0' && address[after] <= '9');
}

std::string BrowsableAddress(const std::string& url)
{
    const std::string address = TrimSpaces(url);
    if (address.empty() || address.front() == '/' || address.front() == '\\'
        || address.front() == '.' || address.front() == '~')
        return {};
    const std::string scheme = SchemeOf(address);
    if (scheme.empty() || LooksLikeHostAndPort(address, scheme))
        return "http://" + address;
    if (IEquals(scheme, "http") || IEquals(scheme, "https") || IEquals(scheme, "ftp"))
        return address;
    return {};
}

}  // namespace brimtor
