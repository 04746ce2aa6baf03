#include <gtest/gtest.h>

#include "engine/ProxyBox.hpp"

using namespace brimtor;

namespace {

using Answer = ProxyBox::Answer;

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

    int modeQueries = 0;
    int unticks = 0;
    bool busyWhileUnticking = false;
    Answer nestedResult {true};
    ProxyBox box;
};

}  // namespace

TEST(ProxyBox, OnlyAProxyConnectionKeepsTheBoxTickedAnyOtherUnticksItAndSaysWhy)
{
    ProxyPanel proxy(4);
    EXPECT_EQ(proxy.box.chkUseProxy_Click(true), Answer {true});
    EXPECT_EQ(proxy.box.chkUseProxy_Click(false), Answer {false});
    EXPECT_EQ(proxy.unticks, 0);
    EXPECT_EQ(proxy.modeQueries, 2);  // asked afresh at every change

    for (const std::uint32_t mode : {0u, 0x14u, 6u}) {
        for (const bool ticked : {true, false}) {
            ProxyPanel lan(mode);
            EXPECT_EQ(lan.box.chkUseProxy_Click(ticked), (Answer {std::nullopt, true})) << mode;
            EXPECT_EQ(lan.unticks, 1);
            EXPECT_TRUE(lan.busyWhileUnticking);
            EXPECT_EQ(lan.nestedResult, Answer {});  // the echo of the untick is ignored
            EXPECT_EQ(lan.modeQueries, 1);
            EXPECT_FALSE(lan.box.bProxyClickBusy());
        }
    }
}
