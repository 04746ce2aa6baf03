#include "engine/ProxyBox.hpp"

#include <utility>

#include "engine/ConnectionFlags.hpp"

namespace brimtor {

ProxyBox::ProxyBox(ModeQuery connectMode, Untick untickBox)
    : m_connectMode(std::move(connectMode))
    , m_untickBox(std::move(untickBox))
{
}

ProxyBox::Answer ProxyBox::chkUseProxy_Click(bool ticked)
{
    if (m_busy)
        return {};
    // Exactly the proxy bit and nothing else: 0x14, say, does not count.
    if (m_connectMode() == ConnectionFlag::Proxy)
        return {ticked};
    m_busy = true;
    m_untickBox();
    m_busy = false;
    return {std::nullopt, true};
}

}  // namespace brimtor
