#include "engine/RequestDestination.hpp"

#include <algorithm>

#include <QByteArray>
#include <QString>
#include <QUrl>

#include "engine/NumberText.hpp"
#include "engine/UriReference.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";
constexpr std::uint16_t kHttpPort = 80;
constexpr std::uint16_t kHttpsPort = 443;

// The proxy box holds free text; it must read as a whole number that is a TCP port.
std::optional<std::uint16_t> ProxyPort(std::string_view text)
{
    const std::optional<double> number = WholeNumber(text);
    if (!number || !(*number > 0.5 && *number < 65535.5))
        return std::nullopt;
    return static_cast<std::uint16_t>(RoundHalfEven(*number));
}

// A web address as the request needs it: the scheme prefix as written, the host and port, and
// the rest from the first "/" on.
struct WebAddress {
    std::string_view prefix;  // "http://" or "https://" in any letter case, or empty
    bool tls = false;
    HostPort hostPort;
    std::string_view rest;    // empty when the address has no "/" after its host
};

WebAddress SplitWebAddress(std::string_view address)
{
    WebAddress web;
    if (IStartsWith(address, kHttp)) {
        web.prefix = address.substr(0, kHttp.size());
    } else if (IStartsWith(address, kHttps)) {
        web.prefix = address.substr(0, kHttps.size());
        web.tls = true;
    }
    address.remove_prefix(web.prefix.size());
    const std::size_t slash = address.find('/');
    web.hostPort = HostPort::Split(address.substr(0, slash));
    web.rest = slash == std::string_view::npos ? std::string_view() : address.substr(slash);
    return web;
}

// "mailto:", "javascript:", "file:///" and the like: a scheme other than http and https, and
// what follows its colon is no port ("localhost:8080/x" is a host and its port).
bool IsOtherScheme(std::string_view address)
{
    const UriReference parts = UriReference::Split(address.substr(0, address.find_first_of("/?#")));
    if (!parts.hasScheme || IEquals(parts.scheme, "http") || IEquals(parts.scheme, "https"))
        return false;
    const std::string_view afterColon = address.substr(parts.scheme.size() + 1);
    const std::string_view port = afterColon.substr(0, afterColon.find('/'));
    return port.empty() || port.find_first_not_of("0123456789") != std::string_view::npos;
}

bool IsRequestLineByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x21 && byte < 0x7F;
}

// The host as it goes on the wire: non-ASCII letters in their IDNA form. Nothing when it is empty,
// holds a blank or control byte, or has no IDNA form.
std::optional<std::string> WireHost(std::string_view host)
{
    const auto blankOrControl = [](char c) { return static_cast<unsigned char>(c) < 0x21; };
    if (host.empty() || std::any_of(host.begin(), host.end(), blankOrControl))
        return std::nullopt;
    std::string wire(host);
    if (!std::all_of(wire.begin(), wire.end(), IsRequestLineByte)) {
        wire = QUrl::toAce(QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size()))).toStdString();
        if (wire.empty() || !std::all_of(wire.begin(), wire.end(), IsRequestLineByte))
            return std::nullopt;
    }
    return wire;
}

// Every byte below 0x21, 0x7F and every byte above it as "%XX"; everything else, "%" included,
// as it stands, so an address already encoded is not encoded twice.
std::string PercentEncoded(std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        if (IsRequestLineByte(c)) {
            encoded += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string_view WithoutBrackets(std::string_view host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        return host.substr(1, host.size() - 2);
    return host;
}

std::optional<RequestDestination> Direct(const WebAddress& web, const std::string& host)
{
    RequestDestination destination;
    destination.tls = web.tls;
    const std::uint16_t defaultPort = web.tls ? kHttpsPort : kHttpPort;
    destination.sTarget = web.rest.empty() ? "/" : PercentEncoded(web.rest);
    destination.port = defaultPort;
    if (web.hostPort.hasPort && !web.hostPort.port.empty()) {
        const std::optional<std::int32_t> port = PortNumber(web.hostPort.port);
        if (!port || *port == 0)
            return std::nullopt;
        destination.port = static_cast<std::uint16_t>(*port);
    }
    destination.sHost = std::string(WithoutBrackets(host));
    destination.serverName = destination.sHost;
    destination.hostHeader = host;
    if (destination.port != defaultPort)
        destination.hostHeader += ":" + std::to_string(destination.port);
    return destination;
}

std::string BasicAuthorization(const ProxySettings& proxy)
{
    if (proxy.user.empty())
        return {};
    return "Basic " + QByteArray::fromStdString(proxy.user + ":" + proxy.password).toBase64().toStdString();
}

// The proxy cannot read an https request, and must not: it only carries the TLS bytes between us
// and the server once it has opened the tunnel.
std::optional<RequestDestination> Tunnelled(const WebAddress& web, const std::string& host, std::uint16_t proxyPort,
                                            const ProxySettings& proxy)
{
    std::optional<RequestDestination> destination = Direct(web, host);
    if (!destination)
        return std::nullopt;
    destination->tunnel = host + ":" + std::to_string(destination->port);
    destination->sHost = proxy.server;
    destination->port = proxyPort;
    destination->proxyAuthorization = BasicAuthorization(proxy);
    return destination;
}

std::optional<RequestDestination> ThroughProxy(const WebAddress& web, const std::string& host,
                                               const ProxySettings& proxy)
{
    const std::optional<std::uint16_t> port = ProxyPort(proxy.port);
    if (!port)
        return std::nullopt;
    if (web.tls)
        return Tunnelled(web, host, *port, proxy);
    RequestDestination destination;
    destination.sHost = proxy.server;
    destination.port = *port;
    std::string target = web.prefix.empty() ? std::string(kHttp) : std::string(web.prefix);
    target += host;
    if (web.hostPort.hasPort)
        target.append(":").append(web.hostPort.port);
    destination.sTarget = PercentEncoded(target.append(web.rest));
    destination.hostHeader = proxy.server;
    destination.proxyAuthorization = BasicAuthorization(proxy);
    return destination;
}

constexpr std::string_view kUserAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)\r\n";

std::string AuthorizationLine(const RequestDestination& destination)
{
    return destination.proxyAuthorization.empty() ? std::string()
                                                  : "Proxy-Authorization: " + destination.proxyAuthorization + "\r\n";
}

}  // namespace

bool HasInvalidHost(std::string_view address)
{
    return !IsOtherScheme(address) && !WireHost(SplitWebAddress(address).hostPort.host);
}

std::optional<RequestDestination> ChooseDestination(std::string_view address, const ProxySettings& proxy)
{
    if (IsOtherScheme(address))
        return std::nullopt;
    const WebAddress web = SplitWebAddress(address);
    const std::optional<std::string> host = WireHost(web.hostPort.host);
    if (!host)
        return std::nullopt;
    if (proxy.useProxy && !proxy.server.empty() && !proxy.port.empty())
        return ThroughProxy(web, *host, proxy);
    return Direct(web, *host);
}

std::string RequestText(std::string_view sMethod, const RequestDestination& destination)
{
    // Inside a tunnel the request is the server's to read: the proxy's credentials stay out of it.
    const std::string authorization = destination.tunnel.empty() ? AuthorizationLine(destination) : std::string();
    return std::string(sMethod) + destination.sTarget + " HTTP/1.1\r\n"
           "Host: " + destination.hostHeader + "\r\n" + authorization + std::string(kUserAgent) +
           "Connection: close\r\n"
           "Accept: */*\r\n"
           "\r\n";
}

std::string TunnelRequestText(const RequestDestination& destination)
{
    return "CONNECT " + destination.tunnel + " HTTP/1.1\r\n"
           "Host: " + destination.tunnel + "\r\n" + AuthorizationLine(destination) + std::string(kUserAgent) + "\r\n";
}

}  // namespace brimtor
