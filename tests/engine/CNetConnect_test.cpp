#include <cstdlib>
#include <map>
#include <optional>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include "engine/CNetConnect.hpp"
#include "engine/ConnectionFlags.hpp"
#include "engine/MWinInetErrors.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace std::chrono_literals;

namespace {

constexpr auto kShortLimit = 200ms;

// A web site on 127.0.0.1 that answers every request with 200, or takes the connection and
// never says a word.
class TestSite {
public:
    explicit TestSite(bool answers)
        : m_answers(answers)
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { Accept(); });
    }

    std::string Address() const
    {
        return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + "/";
    }
    int Connections() const { return m_connections; }
    // The request heads received, up to their empty line.
    const std::vector<std::string>& Requests() const { return m_requests; }

private:
    void Accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] { Read(socket); });
        }
    }

    void Read(QTcpSocket* socket)
    {
        QByteArray& received = m_received[socket];
        received += socket->readAll();
        const qsizetype end = received.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        m_requests.push_back(received.left(end).toStdString());
        received.clear();
        if (m_answers) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
            socket->disconnectFromHost();
        }
    }

    bool m_answers;
    QTcpServer m_server;
    int m_connections = 0;
    std::vector<std::string> m_requests;
    std::map<QTcpSocket*, QByteArray> m_received;
};

// An address on 127.0.0.1 where nothing listens.
std::string RefusingAddress()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return "http://127.0.0.1:" + std::to_string(server.serverPort()) + "/";
}

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

// Sets (or, with nullopt, removes) an environment variable while the object lives.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, std::optional<std::string> value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        Apply(value);
    }
    ~EnvironmentValue() { Apply(m_old); }

private:
    void Apply(const std::optional<std::string>& value)
    {
        if (value)
            setenv(m_name, value->c_str(), 1);
        else
            unsetenv(m_name);
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

// No proxy from the environment, so probes go straight to the loopback sites.
struct DirectConnection {
    EnvironmentValue lower {"http_proxy", std::nullopt};
    EnvironmentValue upper {"HTTP_PROXY", std::nullopt};
    EnvironmentValue all {"all_proxy", std::nullopt};
    EnvironmentValue allUpper {"ALL_PROXY", std::nullopt};
};

}  // namespace

TEST(CNetConnect, ALanConnectionIsConfirmedByTheFirstSiteThatAnswers)
{
    DirectConnection direct;
    MachineFlags lan(ConnectionFlag::Lan);
    TestSite silent(false);
    TestSite answering(true);
    CNetConnect net(kShortLimit);
    net.SetKnownTestSites({RefusingAddress(), silent.Address(), answering.Address()});

    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(net.Connected());
    EXPECT_LT(clock.elapsed(), 5000);  // the silent site was given up after its limit
    EXPECT_EQ(silent.Connections(), 1);
    ASSERT_EQ(answering.Requests().size(), 1u);
    const std::string& request = answering.Requests().front();
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET / HTTP/1.1");
    EXPECT_NE(request.find("\r\nUser-Agent: Brimtor"), std::string::npos);
    EXPECT_EQ(ExtendedErrorText(12003), "200 OK");
    EXPECT_EQ(net.ConnectModeDesc(), "LAN");
    EXPECT_EQ(answering.Requests().size(), 2u);  // every question asks again

    // Once a site answers, the rest are not asked.
    TestSite unasked(true);
    net.SetKnownTestSites({answering.Address(), unasked.Address()});
    EXPECT_TRUE(net.Connected());
    EXPECT_EQ(unasked.Connections(), 0);
}

TEST(CNetConnect, NoSiteAnsweringMeansNotConnectedWithinTheLimits)
{
    DirectConnection direct;
    MachineFlags lan(ConnectionFlag::Lan);
    TestSite silent(false);
    CNetConnect net(kShortLimit);
    net.SetKnownTestSites({silent.Address(), RefusingAddress(), "not an address"});

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(net.Connected());
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(silent.Connections(), 1);

    net.SetKnownTestSites({});
    EXPECT_FALSE(net.Connected());
}

TEST(CNetConnect, TheFlagsDecideWhetherSitesAreOpened)
{
    DirectConnection direct;
    TestSite answering(true);
    CNetConnect net(kShortLimit);
    {
        MachineFlags none(0);
        EXPECT_EQ(net.ConnectModeDesc(), "");  // not connected: nothing to name
        EXPECT_FALSE(net.Connected());
        EXPECT_EQ(net.ConnectMode(), 0u);
    }
    net.SetKnownTestSites({answering.Address()});
    {
        // A modem is taken at its word; a busy one is checked.
        MachineFlags modem(ConnectionFlag::Modem);
        EXPECT_TRUE(net.Connected());
        EXPECT_EQ(net.ConnectModeDesc(), "Modem");
        EXPECT_EQ(answering.Connections(), 0);
        MachineFlags busy(ConnectionFlag::Modem | ConnectionFlag::ModemBusy);
        EXPECT_EQ(net.ConnectModeDesc(), "Modem (Busy)");
        EXPECT_EQ(answering.Requests().size(), 1u);
    }
    {
        MachineFlags proxy(ConnectionFlag::Proxy);
        EXPECT_EQ(net.ConnectModeDesc(), "Proxy Server");
        EXPECT_EQ(net.ConnectMode(), 4u);
        MachineFlags none(0);
        EXPECT_EQ(net.ConnectModeDesc(), "Proxy Server");  // a refresh without a name keeps it
    }
    EXPECT_FALSE(net.Dial());
    EXPECT_FALSE(net.HangUp());

    // The defaults are two home pages, never opened here.
    const std::vector<std::string> defaults = CNetConnect().KnownTestSites();
    ASSERT_EQ(defaults.size(), 2u);
    for (const std::string& site : defaults) {
        EXPECT_EQ(site.rfind("http://", 0), 0u) << site;
        EXPECT_EQ(site.find('/', 7), std::string::npos) << site;
    }
}

TEST(CNetConnect, AProxyInTheEnvironmentIsModeFourExactly)
{
    test::TempHome home;
    TestSite proxy(true);
    const std::string proxyAddress = proxy.Address();
    EnvironmentValue upper("HTTP_PROXY", std::nullopt);
    std::optional<EnvironmentValue> lower(std::in_place, "http_proxy", std::nullopt);
    const std::uint32_t withoutProxy = MachineConnectionFlags();
    EXPECT_TRUE(withoutProxy == 0 || withoutProxy == ConnectionFlag::Lan) << withoutProxy;

    lower.emplace("http_proxy", proxyAddress);
    CNetConnect net(kShortLimit);
    net.SetKnownTestSites({proxyAddress});
    EXPECT_EQ(net.ConnectMode(), 4u);
    EXPECT_EQ(net.ConnectModeDesc(), "Proxy Server");
    EXPECT_TRUE(net.Connected());
    EXPECT_FALSE(proxy.Requests().empty());

    lower.reset();
    EnvironmentValue upperSet("HTTP_PROXY", proxyAddress);
    EXPECT_EQ(MachineConnectionFlags(), 4u);
}

TEST(MWinInetErrors, NumbersReadAsTheirTexts)
{
    EXPECT_EQ(WinInetErrorText(12029), "The attempt to connect to the server failed.");
    EXPECT_EQ(WinInetErrorText(6),
              "The handle that was passed to the API has been either invalidated or closed.");
    EXPECT_EQ(WinInetErrorText(12155), "The header could not be added because it already exists.");
    EXPECT_EQ(WinInetErrorText(10061),
              "No connection could be made because the target machine actively refused it.");
    EXPECT_EQ(WinInetErrorText(11001), "No such host is known.");
    EXPECT_EQ(WinInetErrorText(12045), SystemErrorText(12045));
    EXPECT_NE(SystemErrorText(12157), "Error (12157) not defined.");
    EXPECT_EQ(WinInetErrorText(99999), "Error (99999) not defined.");
    EXPECT_EQ(SystemErrorText(0), "Error (0) not defined.");
    EXPECT_EQ(SystemErrorText(12029), "Error (12029) not defined.");

    SetLastResponseInfo({});
    EXPECT_EQ(WinInetErrorText(12003), "Error Code 12003 not defined.");
    SetLastResponseInfo("530 Not logged in");
    EXPECT_EQ(WinInetErrorText(12003), "530 Not logged in");
    SetLastResponseInfo({});
}
