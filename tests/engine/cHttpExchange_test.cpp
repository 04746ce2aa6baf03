#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QTest>

#include "bookmarks/Verdict.hpp"
#include "engine/ResultText.hpp"
#include "engine/cHttpExchange.hpp"
#include "tests/common/TempHome.hpp"
#include "tests/common/net/LoopbackServer.hpp"
#include "tests/common/net/SelfSignedCertificate.hpp"

using namespace brimtor;
using brimtor::test::LoopbackServer;
using brimtor::test::ScriptedReply;
using LinkEnd = cHttpExchange::LinkEnd;

namespace {

const std::string kTail =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)\r\n"
    "Connection: close\r\n"
    "Accept: */*\r\n"
    "\r\n";

BookmarkPtr NewBookmark(const std::string& url)
{
    auto bookmark = std::make_shared<cBookmark>();
    bookmark->url = url;
    bookmark->Status = "pending";
    return bookmark;
}

class ExchangeTest : public ::testing::Test {
protected:
    ExchangeTest() { port = server.Start(); }

    // Runs one link on `exchange` to its end.
    BookmarkPtr Check(cHttpExchange& exchange, const std::string& address, const std::string& method = "HEAD ",
                      const ProxySettings& proxy = {})
    {
        std::vector<LinkEnd> seen;
        const auto connection = QObject::connect(&exchange, &cHttpExchange::LinkFinished,
                                                 [&seen](LinkEnd end) { seen.push_back(end); });
        BookmarkPtr bookmark = NewBookmark(address);
        EXPECT_TRUE(exchange.BeginRequest(address, method, bookmark, proxy));
        EXPECT_TRUE(QTest::qWaitFor([&seen] { return !seen.empty(); }, 5000)) << address;
        QTest::qWait(5);  // a second end would show up here
        QObject::disconnect(connection);
        ends.insert(ends.end(), seen.begin(), seen.end());
        return bookmark;
    }
    BookmarkPtr Check(const std::string& address, const std::string& method = "HEAD ", const ProxySettings& proxy = {})
    {
        return Check(exchange, address, method, proxy);
    }

    std::string Base() const { return server.Url(""); }

    void ExpectLinkClosed()
    {
        EXPECT_FALSE(exchange.UnderWay());
        EXPECT_EQ(exchange.State(), 0);
    }

    brimtor::test::TempHome home;
    cHttpExchange exchange;
    LoopbackServer server;
    quint16 port = 0;
    std::vector<LinkEnd> ends;
};

}  // namespace

TEST_F(ExchangeTest, SendsTheExactRequestDirectAndThroughAProxy)
{
    server.Script("/dir/page.html", {"HTTP/1.1 200 OK\r\nContent-Length: 5120\r\n\r\n"});
    BookmarkPtr direct = Check(Base() + "/dir/page.html");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0],
              "HEAD /dir/page.html HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n" + kTail);
    EXPECT_EQ(direct->ResponseCode, 200);
    EXPECT_FLOAT_EQ(direct->ContentLength, 5120.0f);
    EXPECT_EQ(ends, std::vector<LinkEnd>{LinkEnd::Digested});
    ExpectLinkClosed();

    server.Script("http://host/x", {"HTTP/1.1 404 Not Found\r\n\r\n"});
    BookmarkPtr proxied = Check("host/x", "GET ", {true, "127.0.0.1", std::to_string(port)});
    Check("host/x", "GET ", {true, "127.0.0.1", std::to_string(port), "ann", "s3cret"});
    ASSERT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(server.Requests()[1], "GET http://host/x HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kTail);
    EXPECT_EQ(server.Requests()[2], "GET http://host/x HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                    "Proxy-Authorization: Basic YW5uOnMzY3JldA==\r\n" + kTail);
    EXPECT_EQ(proxied->ResponseCode, 404);

    // A proxy port that is no port: nothing is sent and the bookmark keeps what it held.
    for (const char* badPort : {"abc", "70000"}) {
        BookmarkPtr skipped = NewBookmark("host/x");
        EXPECT_FALSE(exchange.BeginRequest("host/x", "HEAD ", skipped, {true, "127.0.0.1", badPort}));
        EXPECT_FALSE(exchange.UnderWay());
        EXPECT_EQ(skipped->Status, "pending");
    }
    QTest::qWait(20);
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_EQ(ends.size(), 3u);
}

TEST_F(ExchangeTest, DigestsEveryKindOfAnswerAndNumbersSocketErrors)
{
    const std::string moved = "HTTP/1.1 301 Moved Permanently\r\nLocation: ../moved/\r\n\r\n";
    server.Script("/old/chunked.html", {moved, true});
    server.Script("/old/abs.html", {"HTTP/1.1 302 Found\r\nLocation: http://other/x\r\n\r\n"});
    server.Script("/silent", {""});
    server.Script("/unended", {"HTTP/1.1 200 OK\r\nServer: half\r\n"});
    server.Script("/empty", {"HTTP/1.1 204 No Content\r\n\r\n"});
    server.Script("/long", {"HTTP/1.1 200 OK\r\nX-Long: " + std::string(100 * 1024, 'a') + "\r\n\r\n"});

    BookmarkPtr chunked = Check(Base() + "/old/chunked.html");
    EXPECT_EQ(chunked->ResponseCode, 301);
    EXPECT_EQ(chunked->RedirectedUrl, Base() + "/moved/");
    EXPECT_FALSE(chunked->Clean);
    EXPECT_EQ(exchange.sResponse(), moved);  // assembled in order from one-byte pieces
    EXPECT_EQ(Check(Base() + "/old/abs.html")->RedirectedUrl, "http://other/x");

    const struct {
        const char* path;
        int code;
    } broken[] = {{"/silent", 0}, {"/unended", 0}, {"/empty", 204}, {"/missing", 404}, {"/long", 0}};
    for (const auto& b : broken) {
        BookmarkPtr bookmark = Check(Base() + b.path);
        EXPECT_EQ(bookmark->Status, "scanned") << b.path;
        EXPECT_EQ(bookmark->ResponseCode, b.code) << b.path;
        EXPECT_EQ(VerdictOf(*bookmark), LinkVerdict::Broken) << b.path;
        EXPECT_LE(exchange.sResponse().size(), cHttpExchange::kMaxHeaderBytes);
    }
    EXPECT_EQ(ends, std::vector<LinkEnd>(7, LinkEnd::Digested));

    // Socket errors become numbers; a name no resolver can hold is refused before any lookup.
    EXPECT_EQ(Check(brimtor::test::RefusedUrl())->ResponseCode, 10061);
    EXPECT_EQ(Check("http://no..such..host/x")->ResponseCode, 11001);
    EXPECT_EQ(ends.back(), LinkEnd::SocketError);
    ExpectLinkClosed();
}

TEST_F(ExchangeTest, NoByteOfABookmarkEndsTheRequestLineOrAddsAHeader)
{
    const std::string hostLine = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
    Check(Base() + "/a b\tc\nd\re\xc3\xa9%41");
    Check(Base() + "/p\r\nX-Injected: 1\r\n\r\nGET /second HTTP/1.1");
    Check("http://b\xc3\xbc" "cher.example/x", "HEAD ", {true, "127.0.0.1", std::to_string(port)});
    EXPECT_EQ(server.Requests(), (std::vector<std::string>{
                                     "HEAD /a%20b%09c%0Ad%0De%C3%A9%41 HTTP/1.1\r\n" + hostLine + kTail,
                                     "HEAD /p%0D%0AX-Injected:%201%0D%0A%0D%0AGET%20/second%20HTTP/1.1 HTTP/1.1\r\n"
                                         + hostLine + kTail,
                                     "HEAD http://xn--bcher-kva.example/x HTTP/1.1\r\nHost: 127.0.0.1\r\n" + kTail}));

    // A host holding a line break is not asked at all.
    const BookmarkPtr invalid = Check("http://127.0.0.1\r\nX: y/");
    EXPECT_EQ(invalid->Status + " " + ResultText(invalid->ResponseCode) + " " + std::to_string(invalid->Clean),
              "error The URL is invalid. 0");
    EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(ExchangeTest, NeverDownloadsABody)
{
    constexpr std::uint64_t kGigabyte = 1ull << 30;
    server.Script("/huge", {"HTTP/1.1 200 OK\r\nContent-Length: 1073741824\r\n\r\n", false, kGigabyte});
    BookmarkPtr huge = Check(Base() + "/huge", "GET ");
    EXPECT_EQ(huge->ResponseCode, 200);
    EXPECT_FLOAT_EQ(huge->ContentLength, 1073741824.0f);
    EXPECT_LE(exchange.sResponse().size(), cHttpExchange::kMaxHeaderBytes);
    EXPECT_LT(server.BodyBytesSent(), 64ull << 20);
}

TEST_F(ExchangeTest, CutsOffASilentServerAfterFortyOneTicks)
{
    cHttpExchange quick(1);
    server.Script("/hang", {"", false, 0, false});
    BookmarkPtr hung = NewBookmark("x");
    std::vector<LinkEnd> seen;
    QObject::connect(&quick, &cHttpExchange::LinkFinished, [&seen](LinkEnd end) { seen.push_back(end); });
    ASSERT_TRUE(quick.BeginRequest(Base() + "/hang", "HEAD ", hung, {}));
    ASSERT_TRUE(QTest::qWaitFor([&seen] { return !seen.empty(); }, 5000));
    EXPECT_EQ(seen, std::vector<LinkEnd>{LinkEnd::TimedOut});
    EXPECT_EQ(quick.lTimeoutTicks(), 41);
    EXPECT_EQ(hung->ResponseCode, 408);
    EXPECT_FALSE(quick.UnderWay());
    EXPECT_EQ(quick.State(), 0);

    // A new link abandons one still under way without an outcome for it.
    seen.clear();
    QObject::connect(&exchange, &cHttpExchange::LinkFinished, [&seen](LinkEnd end) { seen.push_back(end); });
    server.Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n"});
    BookmarkPtr abandoned = NewBookmark("x");
    ASSERT_TRUE(exchange.BeginRequest(Base() + "/hang", "HEAD ", abandoned, {}));
    QTest::qWait(20);
    EXPECT_EQ(Check(Base() + "/ok")->ResponseCode, 200);
    EXPECT_EQ(abandoned->Status, "pending");
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(ExchangeTest, ChecksHttpsOverVerifiedTls)
{
    const auto certificate = brimtor::test::SelfSignedCertificate::Make(home.Path());
    ASSERT_FALSE(certificate.certificate.isNull());
    LoopbackServer tlsServer;
    tlsServer.UseTls(certificate.certificate, certificate.key);
    const std::string address = "https://127.0.0.1:" + std::to_string(tlsServer.Start()) + "/secure";
    tlsServer.Script("/secure", {"HTTP/1.1 200 OK\r\n\r\n"});

    exchange.AddCaCertificates({certificate.certificate});
    BookmarkPtr trusted = Check(address);
    EXPECT_EQ(trusted->ResponseCode, 200);
    ASSERT_EQ(tlsServer.Requests().size(), 1u);
    EXPECT_EQ(tlsServer.Requests()[0], "HEAD /secure HTTP/1.1\r\nHost: 127.0.0.1:" +
                                           std::to_string(tlsServer.serverPort()) + "\r\n" + kTail);
    // A relative redirect stays on https and on this port.
    tlsServer.Script("/secure/old", {"HTTP/1.1 301 Moved\r\nLocation: moved\r\n\r\n"});
    EXPECT_EQ(Check(address + "/old")->RedirectedUrl, address + "/moved");

    cHttpExchange untrusting;
    BookmarkPtr untrusted = Check(untrusting, address);
    EXPECT_EQ(untrusted->ResponseCode, 12045);
    EXPECT_FALSE(untrusted->Clean);
    EXPECT_EQ(tlsServer.Requests().size(), 2u);
}

TEST_F(ExchangeTest, ChecksHttpsThroughAProxysTunnelAndTakesItsRefusal)
{
    const auto certificate = brimtor::test::SelfSignedCertificate::Make(home.Path());
    ASSERT_FALSE(certificate.certificate.isNull());
    server.UseTls(certificate.certificate, certificate.key, false);  // the proxy, and the server inside its tunnel
    server.Script("CONNECT 127.0.0.1:8443", {"HTTP/1.1 200 Connection established\r\n\r\n", false, 0, false, true});
    server.Script("/secure", {"HTTP/1.1 200 OK\r\n\r\n"});
    server.Script("CONNECT 127.0.0.1:9443", {"HTTP/1.1 407 Proxy Authentication Required\r\n\r\n"});
    exchange.AddCaCertificates({certificate.certificate});
    ProxySettings proxy {true, "localhost", std::to_string(port)};  // the certificate names 127.0.0.1 only
    EXPECT_EQ(Check("https://127.0.0.1:8443/secure", "HEAD ", proxy)->ResponseCode, 200);
    proxy.user = "ann";
    proxy.password = "s3cret";
    EXPECT_EQ(Check("https://127.0.0.1:8443/secure", "HEAD ", proxy)->ResponseCode, 200);
    const std::string connect = "CONNECT 127.0.0.1:8443 HTTP/1.1\r\nHost: 127.0.0.1:8443\r\n";
    const std::string agent = kTail.substr(0, kTail.find("Connection")) + "\r\n";
    const std::string inside = "HEAD /secure HTTP/1.1\r\nHost: 127.0.0.1:8443\r\n" + kTail;  // no credentials
    EXPECT_EQ(server.Requests(), (std::vector<std::string> {connect + agent, inside,
                                     connect + "Proxy-Authorization: Basic YW5uOnMzY3JldA==\r\n" + agent, inside}));

    const BookmarkPtr refused = Check("https://127.0.0.1:9443/x", "HEAD ", proxy);
    EXPECT_EQ(refused->Status + " " + std::to_string(refused->ResponseCode), "scanned 407");
    EXPECT_EQ(server.Requests().size(), 5u);
}
