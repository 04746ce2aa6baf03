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

    // What the window does after a change of the box.
    struct Answer {
        std::optional<bool> panelEnabled;  // the proxy panel's Enabled state, or nothing: it stays
        bool noProxy = false;              // the box was unticked again: tell the user why
        bool operator==(const Answer&) const = default;
    };

    ProxyBox(ModeQuery connectMode, Untick untickBox);

    // True only while the box is being unticked from here.
    bool bProxyClickBusy() const { return m_busy; }

    // With a proxy the panel (its four text boxes and their captions) follows the box. Without
    // one the box is unticked again and the user is told, also when they were unticking it.
    Answer chkUseProxy_Click(bool ticked);

private:
    ModeQuery m_connectMode;
    Untick m_untickBox;
    bool m_busy = false;
};

}  // namespace brimtor
