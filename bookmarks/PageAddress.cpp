#include "bookmarks/PageAddress.hpp"

#include <algorithm>

#include "support/Text.hpp"

namespace brimtor {

namespace {

struct WebScheme {
    std::string_view name;
    std::string_view defaultPort;
};

constexpr WebScheme kWebSchemes[] = {{"http", "80"}, {"https", "443"}, {"ftp", "21"}};

}  // namespace

std::optional<std::string> PageAddress(std::string_view url)
{
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos)
        return std::nullopt;
    const std::string scheme = ToLowerAscii(url.substr(0, schemeEnd));
    const auto web = std::find_if(std::begin(kWebSchemes), std::end(kWebSchemes),
                                  [&scheme](const WebScheme& each) { return each.name == scheme; });
    if (web == std::end(kWebSchemes))
        return std::nullopt;
    const std::string_view rest = url.substr(schemeEnd + 3);
    const std::size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    const std::string_view authority = rest.substr(0, authorityEnd);
    const std::string_view tail = rest.substr(authorityEnd);
    // A user name may hold any letter case; only the host after it is folded.
    const std::size_t at = authority.rfind('@');
    const std::size_t hostStart = at == std::string_view::npos ? 0 : at + 1;
    std::string_view host = authority.substr(hostStart);
    std::string_view port;
    // The colons of an IPv6 address stand inside its brackets.
    const std::size_t colon = host.rfind(':');
    if (colon != std::string_view::npos && host.find(']', colon) == std::string_view::npos) {
        port = host.substr(colon + 1);
        host = host.substr(0, colon);
    }
    if (host.empty())
        return std::nullopt;
    std::string page = scheme + "://";
    page.append(authority.substr(0, hostStart)).append(ToLowerAscii(host));
    if (!port.empty() && port != web->defaultPort)
        page.append(":").append(port);
    if (tail.empty() || tail.front() != '/')
        page += '/';
    return page.append(tail);
}

}  // namespace brimtor
