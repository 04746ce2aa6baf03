#include "engine/LookAddress.hpp"

#include <algorithm>

#include "engine/UriReference.hpp"
#include "engine/cURL.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

// "example.com/x" and "localhost:8080/x" are web addresses written without their scheme; a
// scheme's colon is followed by something that is no port ("mailto:a@b", "javascript:x").
bool LacksOnlyItsScheme(std::string_view address)
{
    const UriReference parts = UriReference::Split(address);
    if (parts.hasScheme && parts.hasAuthority)
        return false;
    const HostPort hostPort = HostPort::Split(address.substr(0, address.find_first_of("/?#")));
    return !hostPort.hasPort || hostPort.port.empty() || PortNumber(hostPort.port).has_value();
}

// A language's front-page folder: "en", "de", "pt-br", "zh_hans".
bool IsLanguage(std::string_view segment)
{
    if (segment.size() < 2 || !IsAsciiLetter(segment[0]) || !IsAsciiLetter(segment[1]))
        return false;
    if (segment.size() == 2)
        return true;
    const std::string_view region = segment.substr(3);
    return (segment[2] == '-' || segment[2] == '_') && region.size() >= 2 && region.size() <= 4
        && std::all_of(region.begin(), region.end(), [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c); });
}

// "index.html", "default.aspx", "home": the document a server gives for its front page.
bool IsFrontDocument(std::string_view name)
{
    const std::size_t dot = name.find('.');
    const std::string_view stem = name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? "" : name.substr(dot + 1);
    return (stem == "index" || stem == "default" || stem == "home") && extension.size() <= 5
        && std::all_of(extension.begin(), extension.end(), IsAsciiLetter);
}

}  // namespace

std::optional<LookAddress> LookAddress::Parse(std::string_view address)
{
    const std::string text = LacksOnlyItsScheme(address) ? "http://" + std::string(address) : std::string(address);
    cURL url;
    if (!url.ParseUrl(text) || url.HostHame().empty()
        || (url.Scheme() != SchemeNumber::Http && url.Scheme() != SchemeNumber::Https))
        return std::nullopt;
    const std::string& extra = url.ExtraInfo();
    const std::string_view query = std::string_view(extra).substr(0, extra.find('#'));
    return LookAddress{url.Scheme() == SchemeNumber::Https ? "https" : "http", ToLowerAscii(url.HostHame()),
                       url.Port(), url.URLPath().empty() ? "/" : url.URLPath(), std::string(query)};
}

std::string LookAddress::Origin() const { return scheme + "://" + host + ":" + std::to_string(port); }

std::string OriginKey(std::string_view address)
{
    const std::optional<LookAddress> parsed = LookAddress::Parse(address);
    return parsed ? parsed->Origin() : std::string();
}

std::string ProbeAddress(std::string_view address, std::string_view letters)
{
    const std::optional<LookAddress> parsed = LookAddress::Parse(address);
    if (!parsed)
        return {};
    const std::string path = RemoveDotSegments(parsed->path);
    const std::string folder = path.substr(0, path.rfind('/') + 1);  // a parsed path starts with "/"
    const std::int32_t scheme = parsed->scheme == "https" ? SchemeNumber::Https : SchemeNumber::Http;
    const bool ownPort = parsed->port == DefaultPort(scheme);
    return parsed->scheme + "://" + parsed->host + (ownPort ? "" : ":" + std::to_string(parsed->port))
        + folder + std::string(letters);
}

bool SameAddress(std::string_view a, std::string_view b)
{
    const std::optional<LookAddress> first = LookAddress::Parse(a);
    const std::optional<LookAddress> second = LookAddress::Parse(b);
    return first && second && first->Origin() == second->Origin() && first->path == second->path
        && first->query == second->query;
}

bool IsSiteRoot(std::string_view path)
{
    const std::string lower = ToLowerAscii(path);
    std::string_view rest = lower;
    if (!rest.empty() && rest[0] == '/')
        rest.remove_prefix(1);
    const std::size_t slash = rest.find('/');
    if (IsLanguage(rest.substr(0, slash)))
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    return rest.find('/') == std::string_view::npos && (rest.empty() || IsFrontDocument(rest));
}

}  // namespace brimtor
