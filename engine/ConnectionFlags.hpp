#pragma once

#include <cstdint>
#include <functional>

#include <QNetworkProxy>

class QUrl;

// Whether, and how, this machine is connected: the one place that asks the operating system,
// so the connectivity checks can be driven from tests with any connection state.
namespace brimtor {

// The bits of a connection state.
namespace ConnectionFlag {
constexpr std::uint32_t Modem = 1;
constexpr std::uint32_t Lan = 2;
constexpr std::uint32_t Proxy = 4;
constexpr std::uint32_t ModemBusy = 8;
}  // namespace ConnectionFlag

// The proxy web requests to `target` go through: the one named by http_proxy (or HTTP_PROXY),
// else the desktop's setting as Qt reads it. A NoProxy proxy when there is none.
QNetworkProxy ConfiguredProxy(const QUrl& target);

// The machine's state: exactly Proxy when a proxy is configured, else Lan when a network
// interface other than loopback is up and running, else 0. Linux has no dial-up state to report.
std::uint32_t MachineConnectionFlags();

// The connection flags through the installed source; MachineConnectionFlags when none is.
std::uint32_t ConnectionFlags();

// Installs the source of ConnectionFlags (an empty one restores the machine's) and returns the
// one it replaced. For tests.
using ConnectionFlagsSource = std::function<std::uint32_t()>;
ConnectionFlagsSource SetConnectionFlagsSource(ConnectionFlagsSource source);

}  // namespace brimtor
