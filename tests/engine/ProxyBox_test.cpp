#include <gtest/gtest.h>

#include "engine/ProxyBox.hpp"
#include "tests/common/Recorders.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

const char* const kReport = "You do not appear to be using a Proxy Server or are currently not "
                            "connected to the Internet.\r\nPress 'Next' to continue with the "
                            "cleaning";

// The box and what happened to it, on a machine with the given connection flags.
struct ProxyPanel {
    explicit ProxyPanel(std::uint32_t mode)
        : box([this, mode] { ++modeQueries; return mode; }, [this] { Untick(); })
    {
    }

    // The widget unticks and, as a real check box does, reports the change at once.
    void Untick()
    {
        ++unticks;
        busyWhileUnticking = box.bProxyClickBusy();
        nestedResult = box.chkUseProxy_Click(false);
    }

    MessageRecorder messages;
    int modeQueries = 0;
    int unticks = 0;
    bool busyWhileUnticking = false;
    std::optional<bool> nestedResult {true};
    ProxyBox box;
};

}  // namespace

TEST(ProxyBox, OnlyAProxyConnectionKeepsTheBoxTickedAnyOtherUnticksItAndSaysWhy)
{
    ProxyPanel proxy(4);
    EXPECT_EQ(proxy.box.chkUseProxy_Click(true), std::optional<bool>(true));
    EXPECT_EQ(proxy.box.chkUseProxy_Click(false), std::optional<bool>(false));
    EXPECT_EQ(proxy.unticks, 0);
    EXPECT_TRUE(proxy.messages.Messages().empty());
    EXPECT_EQ(proxy.modeQueries, 2);  // asked afresh at every change

    for (const std::uint32_t mode : {0u, 0x14u, 6u}) {
        for (const bool ticked : {true, false}) {
            ProxyPanel lan(mode);
            EXPECT_EQ(lan.box.chkUseProxy_Click(ticked), std::nullopt) << mode;
            EXPECT_EQ(lan.unticks, 1);
            EXPECT_TRUE(lan.busyWhileUnticking);
            EXPECT_EQ(lan.nestedResult, std::nullopt);  // the echo of the untick is ignored
            EXPECT_EQ(lan.modeQueries, 1);
            EXPECT_FALSE(lan.box.bProxyClickBusy());
            EXPECT_EQ(lan.messages.Texts(), std::vector<std::string>{kReport});
        }
    }
}
