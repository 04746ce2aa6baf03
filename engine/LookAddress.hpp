#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Addresses as the look inside pages compares them: which site (origin) a link belongs to, the
// address of the one probe each site gets, where a site's front page is, and whether two
// addresses name the same page.
namespace brimtor {

// How many random letters make a probe's address one that cannot exist.
constexpr std::size_t kProbeLetters = 25;

// An http or https address. One written without a scheme ("example.com/x", "localhost:8080/x")
// is an http one, as the scan reads it.
struct LookAddress {
    std::string scheme;     // "http" or "https"
    std::string host;       // lower case
    std::int32_t port = 0;  // as written, else the scheme's
    std::string path;       // as written; "/" when there is none
    std::string query;      // as written, with its "?"; empty when there is none. A fragment is
                            // not sent, so it is never part of the page.

    // Nothing for another scheme ("mailto:", "ftp:", "javascript:"), an empty host or a port that
    // is not one.
    static std::optional<LookAddress> Parse(std::string_view address);
    // "scheme://host:port", the port always written, so every spelling of one site gives one key.
    std::string Origin() const;
};

// The key of the site `address` belongs to (LookAddress::Origin), under which its probe is kept
// for the whole scan; empty for an address that is no web address.
std::string OriginKey(std::string_view address);

// The address of a page that cannot exist on the site of `address`: the folder its path is in
// (everything up to the last "/", dot segments resolved) plus `letters`, on the same scheme, host
// and port, without the user information, query or fragment. "http://h/news/2014/story.html"
// gives "http://h/news/2014/<letters>", a root link "http://h/<letters>". Empty for an address
// that is no web address.
std::string ProbeAddress(std::string_view address, std::string_view letters);

// True when both are web addresses of the same page: same scheme, host, port, path and query.
bool SameAddress(std::string_view a, std::string_view b);

// True for the path of a site's front page: "/", a front document ("/index.html", "/index.php",
// "/default.aspx", "/home"), or a language's front page ("/en/", "/pt-br/index.html").
bool IsSiteRoot(std::string_view path);

}  // namespace brimtor
