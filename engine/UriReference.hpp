#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The five generic parts of an address or relative reference, split the way RFC 3986 does it,
// without decoding or re-encoding a single byte. Both the address splitter and the relative
// resolver build on this one split.
namespace brimtor {

struct UriReference {
    bool hasScheme = false;
    std::string scheme;       // without the ":"
    bool hasAuthority = false;
    std::string authority;    // without the "//"
    std::string path;
    bool hasQuery = false;
    std::string query;        // without the "?"
    bool hasFragment = false;
    std::string fragment;     // without the "#"

    static UriReference Split(std::string_view text);
    // The text the parts stand for; Split(text).Join() == text for every text.
    std::string Join() const;
};

// An authority's "host:port" (user information already removed). The colon of an "[IPv6]" host
// is not a port colon.
// An authority split at the "@" that ends its "user[:password]" part, the last one (a password
// may hold another).
struct UserInfo {
    bool present = false;
    std::string_view info;      // the whole part before the "@"
    std::string_view user;
    std::string_view password;  // the text after the first ":" of info, empty without one
    std::string_view hostPort;  // the rest of the authority

    static UserInfo Split(std::string_view authority);
};

struct HostPort {
    std::string_view host;
    bool hasPort = false;
    std::string_view port;  // the text after the colon, possibly empty

    static HostPort Split(std::string_view hostPort);
};

// A port as written in an address: 1 to 5 digits, 0..65535; nothing otherwise.
std::optional<std::int32_t> PortNumber(std::string_view digits);

// "." and ".." segments removed from an absolute or relative path.
std::string RemoveDotSegments(std::string_view path);

}  // namespace brimtor
