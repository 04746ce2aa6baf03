#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace brimtor {

// The rule of the "Use Proxy" box: it may stay ticked only while the machine reaches the
// Internet through a proxy and nothing else. The wizard owns the widgets and calls
// chkUseProxy_Click whenever the box's value changes, by the user or by code.
class ProxyBox {
public:
    // The machine's connection flags, read afresh for every change (e.g. through a CNetConnect
    // with the user's test sites).
    using ModeQuery = std::function<std::uint32_t()>;
    // Unticks the box; its change event comes back into chkUseProxy_Click and is ignored.
    using Untick = std::function<void()>;

    ProxyBox(ModeQuery connectMode, Untick untickBox);

    // True only while the box is being unticked from here.
    bool bProxyClickBusy() const { return m_busy; }

    // The Enabled state to give the proxy panel's four text boxes and their four captions, or
    // nothing when the panel stays as it is. Without a proxy the box is unticked again and the
    // "Proxy Report" message is shown, also when the user was unticking it.
    std::optional<bool> chkUseProxy_Click(bool ticked);

private:
    ModeQuery m_connectMode;
    Untick m_untickBox;
    bool m_busy = false;
};

}  // namespace brimtor
