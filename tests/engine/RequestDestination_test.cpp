#include <gtest/gtest.h>

#include "engine/RequestDestination.hpp"

using namespace brimtor;

namespace {
const ProxySettings kDirect;
}  // namespace

TEST(RequestDestination, DirectSplitsHostAndTarget)
{
    auto d = ChooseDestination("http://host/dir/page.html", kDirect);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->sHost, "host");
    EXPECT_EQ(d->port, 80);
    EXPECT_EQ(d->sTarget, "/dir/page.html");
    EXPECT_EQ(d->hostHeader, "host");
    EXPECT_FALSE(d->tls);

    d = ChooseDestination("HTTP://Host", kDirect);
    EXPECT_EQ(d->sHost, "Host");
    EXPECT_EQ(d->sTarget, "/");
    d = ChooseDestination("host/x", kDirect);
    EXPECT_EQ(d->sHost, "host");
    EXPECT_EQ(d->sTarget, "/x");
    d = ChooseDestination("http://host?q=1", kDirect);  // no "/": everything is the host
    EXPECT_EQ(d->sHost, "host?q=1");
    EXPECT_EQ(d->sTarget, "/");
}

TEST(RequestDestination, PortsAndTlsFollowTheAddress)
{
    auto d = ChooseDestination("http://host:8080/x", kDirect);
    EXPECT_EQ(d->sHost, "host");
    EXPECT_EQ(d->port, 8080);
    EXPECT_EQ(d->hostHeader, "host:8080");
    d = ChooseDestination("http://host:80/x", kDirect);
    EXPECT_EQ(d->hostHeader, "host");
    d = ChooseDestination("http://host:/x", kDirect);
    EXPECT_EQ(d->port, 80);
    d = ChooseDestination("HTTPS://secure.example/a?b", kDirect);
    EXPECT_TRUE(d->tls);
    EXPECT_EQ(d->port, 443);
    EXPECT_EQ(d->sTarget, "/a?b");
    EXPECT_EQ(d->hostHeader, "secure.example");
    d = ChooseDestination("https://[::1]:8443/", kDirect);
    EXPECT_EQ(d->sHost, "::1");
    EXPECT_EQ(d->port, 8443);
    EXPECT_EQ(d->hostHeader, "[::1]:8443");
    EXPECT_FALSE(ChooseDestination("http://host:0/", kDirect));
    EXPECT_FALSE(ChooseDestination("http://host:65536/", kDirect));
    EXPECT_FALSE(ChooseDestination("http://host:8o/", kDirect));
}

TEST(RequestDestination, ProxyGetsTheWholeAddress)
{
    const ProxySettings proxy{true, "proxy.lan", " 3128 "};
    auto d = ChooseDestination("host/x", proxy);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->sHost, "proxy.lan");
    EXPECT_EQ(d->port, 3128);
    EXPECT_EQ(d->sTarget, "http://host/x");
    EXPECT_EQ(d->hostHeader, "proxy.lan");
    EXPECT_EQ(ChooseDestination("HTTP://host:81/x", proxy)->sTarget, "HTTP://host:81/x");
    EXPECT_EQ(ChooseDestination("https://host/x", proxy)->sTarget, "https://host/x");
    EXPECT_FALSE(ChooseDestination("https://host/x", proxy)->tls);

    for (const char* badPort : {"abc", "70000", "65536", "0", "-5", "80 80", "0.5"})
        EXPECT_FALSE(ChooseDestination("host/x", {true, "proxy.lan", badPort})) << badPort;
    EXPECT_EQ(ChooseDestination("host/x", {true, "proxy.lan", "8080.5"})->port, 8080);
    EXPECT_EQ(ChooseDestination("host/x", {true, "proxy.lan", "65535"})->port, 65535);
    // A ticked box with an empty server or port goes direct.
    EXPECT_EQ(ChooseDestination("host/x", {true, "", "3128"})->sHost, "host");
    EXPECT_EQ(ChooseDestination("host/x", {true, "proxy.lan", ""})->sHost, "host");
    EXPECT_EQ(ChooseDestination("host/x", {false, "proxy.lan", "3128"})->sHost, "host");
}

TEST(RequestDestination, RequestTextIsExact)
{
    const auto d = ChooseDestination("http://host/dir/page.html", kDirect);
    EXPECT_EQ(RequestText("HEAD ", *d),
              "HEAD /dir/page.html HTTP/1.1\r\n"
              "Host: host\r\n"
              "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)\r\n"
              "Connection: close\r\n"
              "Accept: */*\r\n"
              "\r\n");
}

TEST(RequestDestination, HostsGoInAsciiAndOnlyWebAddressesWithAHostAreRequested)
{
    const auto d = ChooseDestination("b\xc3\xbc" "cher.example:8080/x\x7f", kDirect);
    EXPECT_EQ(d->sHost + " " + d->hostHeader + d->sTarget, "xn--bcher-kva.example xn--bcher-kva.example:8080/x%7F");
    // No host to ask: never requested, and such a link ends as an invalid address.
    for (const char* address : {"", "http:///x", "https://:8080/", "http://a b/", "http://a\r\nX: y/", "\t/", "http://\xff/"})
        EXPECT_TRUE(HasInvalidHost(address) && !ChooseDestination(address, kDirect)) << address;
    // Other schemes are never requested, and are no invalid web address either.
    for (const char* address : {"mailto:a@b", "javascript:location='http://x/'", "file:///x"})
        EXPECT_FALSE(HasInvalidHost(address) || ChooseDestination(address, kDirect)) << address;
    EXPECT_EQ(ChooseDestination("localhost:8080/x", kDirect)->port, 8080);
}
