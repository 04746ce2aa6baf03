#include "engine/RequestDestination.hpp"

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

std::optional<RequestDestination> ThroughProxy(std::string_view address, const ProxySettings& proxy)
{
    const std::optional<std::uint16_t> port = ProxyPort(proxy.txtProxyPort);
    if (!port)
        return std::nullopt;
    RequestDestination destination;
    destination.sHost = proxy.txtProxyServer;
    destination.port = *port;
    destination.sTarget = std::string(address);
    // An https address keeps its scheme: the proxy fetches it over TLS for us.
    if (!IStartsWith(address, kHttp) && !IStartsWith(address, kHttps))
        destination.sTarget = std::string(kHttp) + destination.sTarget;
    destination.hostHeader = proxy.txtProxyServer;
    return destination;
}

std::string_view WithoutBrackets(std::string_view host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        return host.substr(1, host.size() - 2);
    return host;
}

std::optional<RequestDestination> Direct(std::string_view address)
{
    RequestDestination destination;
    std::uint16_t defaultPort = kHttpPort;
    if (IStartsWith(address, kHttp)) {
        address.remove_prefix(kHttp.size());
    } else if (IStartsWith(address, kHttps)) {
        address.remove_prefix(kHttps.size());
        destination.tls = true;
        defaultPort = kHttpsPort;
    }
    const std::size_t slash = address.find('/');
    const std::string_view hostPort = address.substr(0, slash);
    destination.sTarget = slash == std::string_view::npos ? "/" : std::string(address.substr(slash));

    const HostPort split = HostPort::Split(hostPort);
    destination.port = defaultPort;
    if (split.hasPort && !split.port.empty()) {
        const std::optional<std::int32_t> port = PortNumber(split.port);
        if (!port || *port == 0)
            return std::nullopt;
        destination.port = static_cast<std::uint16_t>(*port);
    }
    destination.sHost = std::string(WithoutBrackets(split.host));
    destination.hostHeader = std::string(split.host);
    if (destination.port != defaultPort)
        destination.hostHeader += ":" + std::to_string(destination.port);
    return destination;
}

}  // namespace

std::optional<RequestDestination> ChooseDestination(std::string_view address, const ProxySettings& proxy)
{
    if (proxy.chkUseProxy && !proxy.txtProxyServer.empty() && !proxy.txtProxyPort.empty())
        return ThroughProxy(address, proxy);
    return Direct(address);
}

std::string RequestText(std::string_view sMethod, const RequestDestination& destination)
{
    return std::string(sMethod) + destination.sTarget + " HTTP/1.1\r\n"
           "Host: " + destination.hostHeader + "\r\n"
           "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)\r\n"
           "Connection: close\r\n"
           "Accept: */*\r\n"
           "\r\n";
}

}  // namespace brimtor
