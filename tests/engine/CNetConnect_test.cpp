#include <cstdlib>

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "engine/CNetConnect.hpp"
#include "engine/ConnectionFlags.hpp"
#include "engine/MWinInetErrors.hpp"
#include "tests/common/TempHome.hpp"
#include "tests/common/net/LoopbackServer.hpp"

using namespace brimtor;
using namespace brimtor::test;
using namespace std::chrono_literals;

namespace {

constexpr auto kShortLimit = 200ms;

// A test site on 127.0.0.1 that answers with 200, or takes the connection and never says a word.
struct TestSite {
    LoopbackServer server;

    explicit TestSite(bool answers)
    {
        // With a length, as the portals answer: an answer that ends only at the hang-up now and
        // then makes Qt's HTTP stack send the request a second time, which the counts below see.
        server.Script("/", answers ? ScriptedReply {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}
                                   : ScriptedReply {"", false, 0, false});
        server.Start();
    }
    std::string Address() const { return server.Url("/"); }
    std::size_t Requests() const { return server.Requests().size(); }
};

// The connection flags the machine reports while the object lives.
class MachineFlags {
public:
    explicit MachineFlags(std::uint32_t flags)
        : m_previous(SetConnectionFlagsSource([flags] { return flags; }))
    {
    }
    ~MachineFlags() { SetConnectionFlagsSource(std::move(m_previous)); }

private:
    ConnectionFlagsSource m_previous;
};

// The proxy the environment names for this test process; empty names none, so probes go
// straight to the loopback sites.
void UseProxy(const std::string& address)
{
    for (const char* name : {"HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        ::unsetenv(name);
    if (address.empty())
        ::unsetenv("http_proxy");
    else
        ::setenv("http_proxy", address.c_str(), 1);
}

}  // namespace

TEST(CNetConnect, ALanConnectionIsConfirmedByTheFirstSiteThatAnswers)
{
    UseProxy("");
    MachineFlags lan(ConnectionFlag::Lan);
    TestSite silent(false);
    TestSite answering(true);
    CNetConnect net(kShortLimit);
    net.SetKnownTestSites({RefusedUrl(), silent.Address(), answering.Address()});

    EXPECT_TRUE(net.Connected());  // the silent site was given up after its limit
    EXPECT_EQ(silent.Requests(), 1u);
    ASSERT_EQ(answering.Requests(), 1u);
    EXPECT_EQ(answering.server.Requests().front().rfind("GET / HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(net.ConnectModeDesc(), "LAN");
    EXPECT_EQ(answering.Requests(), 2u);  // every question asks again

    // Once a site answers, the rest are not asked.
    TestSite unasked(true);
    net.SetKnownTestSites({answering.Address(), unasked.Address()});
    EXPECT_TRUE(net.Connected());
    EXPECT_EQ(unasked.Requests(), 0u);

    // None answering within the limits: not connected.
    net.SetKnownTestSites({silent.Address(), RefusedUrl(), "not an address"});
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(net.Connected());
    EXPECT_GE(clock.elapsed(), 190);  // the limit, less the 5 % a coarse timer may fire early
}

TEST(CNetConnect, TheFlagsDecideWhetherSitesAreOpened)
{
    UseProxy("");
    TestSite answering(true);
    CNetConnect net(kShortLimit);
    {
        MachineFlags none(0);
        EXPECT_FALSE(net.Connected());
    }
    net.SetKnownTestSites({answering.Address()});
    {
        // A modem is taken at its word; a busy one is checked.
        MachineFlags modem(ConnectionFlag::Modem);
        EXPECT_TRUE(net.Connected());
        EXPECT_EQ(net.ConnectModeDesc(), "Modem");
        EXPECT_EQ(answering.Requests(), 0u);
        MachineFlags busy(ConnectionFlag::Modem | ConnectionFlag::ModemBusy);
        EXPECT_EQ(net.ConnectModeDesc(), "Modem (Busy)");
        EXPECT_EQ(answering.Requests(), 1u);
    }
}

TEST(CNetConnect, AProxyInTheEnvironmentIsModeFourExactly)
{
    TempHome home;
    TestSite proxy(true);
    UseProxy("");
    const std::uint32_t withoutProxy = MachineConnectionFlags();
    EXPECT_TRUE(withoutProxy == 0 || withoutProxy == ConnectionFlag::Lan) << withoutProxy;

    UseProxy(proxy.Address());
    CNetConnect net(kShortLimit);
    net.SetKnownTestSites({proxy.Address()});
    EXPECT_EQ(net.ConnectModeDesc(), "Proxy Server");
    EXPECT_TRUE(net.Connected());
    EXPECT_GT(proxy.Requests(), 0u);

    UseProxy("");
    ::setenv("HTTP_PROXY", proxy.Address().c_str(), 1);
    EXPECT_EQ(MachineConnectionFlags(), 4u);
    ::unsetenv("HTTP_PROXY");
}

TEST(MWinInetErrors, NumbersReadAsTheirTexts)
{
    EXPECT_EQ(WinInetErrorText(11001), "No such host is known.");
    EXPECT_EQ(WinInetErrorText(12045), SystemErrorText(12045));
    EXPECT_EQ(WinInetErrorText(99999), "Error (99999) not defined.");

    SetLastResponseInfo({});
    EXPECT_EQ(WinInetErrorText(12003), "Error Code 12003 not defined.");
    SetLastResponseInfo("530 Not logged in");
    EXPECT_EQ(WinInetErrorText(12003), "530 Not logged in");
    SetLastResponseInfo({});
}
