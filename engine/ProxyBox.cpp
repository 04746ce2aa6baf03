#include "engine/ProxyBox.hpp"

#include <utility>

#include "engine/ConnectionFlags.hpp"
#include "support/MessageBox.hpp"

namespace brimtor {

ProxyBox::ProxyBox(ModeQuery connectMode, Untick untickBox)
    : m_connectMode(std::move(connectMode))
    , m_untickBox(std::move(untickBox))
{
}

std::optional<bool> ProxyBox::chkUseProxy_Click(bool ticked)
{
    if (m_busy)
        return std::nullopt;
    // Exactly the proxy bit and nothing else: 0x14, say, does not count.
    if (m_connectMode() == ConnectionFlag::Proxy)
        return ticked;
    m_busy = true;
    m_untickBox();
    m_busy = false;
    ShowMessage("You do not appear to be using a Proxy Server or are currently not connected to "
                "the Internet.\r\nPress 'Next' to continue with the cleaning",
                MsgIcon::Information, MsgButtons::Ok, "Proxy Report");
    return std::nullopt;
}

}  // namespace brimtor
