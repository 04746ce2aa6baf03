#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Where one link's request goes and what it says: straight to the web server, or to the proxy
// the user named, and the exact bytes of the fixed request.
namespace brimtor {

// The proxy page's choices: whether to use the proxy, its name or address, and its port as
// the user typed it; a user name (and its password) when the proxy wants to know who asks.
struct ProxySettings {
    ProxySettings() = default;
    ProxySettings(bool use, std::string proxyServer, std::string proxyPort, std::string userName = {},
                  std::string userPassword = {})
        : useProxy(use), server(std::move(proxyServer)), port(std::move(proxyPort)), user(std::move(userName)),
          password(std::move(userPassword))
    {
    }

    bool useProxy = false;
    std::string server;
    std::string port;
    std::string user;
    std::string password;
};

struct RequestDestination {
    std::string sHost;        // name or address the socket connects to
    std::uint16_t port = 80;
    std::string sTarget;      // written after the method: a path, or the whole address for a proxy
    std::string hostHeader;   // the Host line's value
    bool tls = false;         // an https address: TLS with the web server, direct or tunnelled
    std::string serverName;   // the web server's name or address, unbracketed: what its certificate names
    std::string tunnel;       // "host:port" the proxy is asked to CONNECT to first; empty: no tunnel
    std::string proxyAuthorization;  // "Basic ..." for the proxy, when a user name is set
};

// The error a web address ends with when it names no host that could be asked ("The URL is
// invalid.").
constexpr std::int32_t kInvalidUrlError = 12005;

// True for a web address (http, https, or no scheme: "host/x", "host:8080/x") whose host is
// empty, holds a byte below 0x21, or has non-ASCII letters without an IDNA form. Such an address
// is never requested: its link ends as error kInvalidUrlError.
bool HasInvalidHost(std::string_view address);

// The destination of `address`, or nothing when the link cannot be started: an address of
// another scheme ("mailto:", "javascript:", "file:"), an invalid host (HasInvalidHost), a proxy
// port that is not a number from 1 to 65535, or an address port that is not one from 1 to 65535.
// With the proxy box ticked but its server or port empty the link goes direct.
//
// Direct: an "http://" or "https://" prefix (any letter case) is taken off; the host is what
// precedes the first "/", the target the rest ("/" when there is none). A port written after the
// host is the one connected to, and the Host line names it only when it is not the scheme's own.
// Through a proxy, an https address is tunnelled: the proxy is asked to CONNECT to its host and
// port, and the request then goes to the server over TLS as if direct. Any other address is sent
// to the proxy whole (given "http://" when it has no http or https scheme), the Host line naming
// the proxy. A user name gives the proxy a "Basic" authorization; it never reaches the server.
//
// Nothing of a bookmark can end the request line or add a header: in the target every byte
// below 0x21, 0x7F and every byte above it is percent-encoded, as browsers do (a "%XX" already
// there stays as it is), and a host with non-ASCII letters is sent in its IDNA ASCII form.
std::optional<RequestDestination> ChooseDestination(std::string_view address, const ProxySettings& proxy);

// The request for `sMethod` ("HEAD " or "GET ", with its blank): request line, Host, the proxy's
// authorization when the request itself goes to a proxy, User-Agent, Connection: close and
// Accept, each ended by CR LF, then the empty line. No body.
std::string RequestText(std::string_view sMethod, const RequestDestination& destination);

// The proxy's request to open the tunnel: the CONNECT line, Host, the proxy's authorization when
// there is one, User-Agent, then the empty line.
std::string TunnelRequestText(const RequestDestination& destination);

}  // namespace brimtor
