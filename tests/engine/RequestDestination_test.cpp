#include <gtest/gtest.h>

#include "engine/RequestDestination.hpp"

using namespace brimtor;

namespace {
const ProxySettings kDirect;
}  // namespace

TEST(RequestDestination, DirectSplitsHostPortAndTarget)
{
    auto d = ChooseDestination("http://host/dir/page.html", kDirect);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->sHost, "host");
    EXPECT_EQ(d->port, 80);
    EXPECT_EQ(d->sTarget, "/dir/page.html");
    EXPECT_FALSE(d->tls);

    EXPECT_EQ(ChooseDestination("HTTP://Host", kDirect)->sTarget, "/");
    EXPECT_EQ(ChooseDestination("host/x", kDirect)->sHost, "host");
    EXPECT_EQ(ChooseDestination("http://host?q=1", kDirect)->sHost, "host?q=1");  // no "/": all host
    d = ChooseDestination("http://host:8080/x", kDirect);
    EXPECT_EQ(d->port, 8080);
    EXPECT_EQ(d->hostHeader, "host:8080");
    EXPECT_EQ(ChooseDestination("http://host:80/x", kDirect)->hostHeader, "host");
    d = ChooseDestination("HTTPS://[::1]:8443/a?b", kDirect);
    EXPECT_TRUE(d->tls);
    EXPECT_EQ(d->sHost, "::1");
    EXPECT_EQ(d->hostHeader, "[::1]:8443");
    EXPECT_EQ(ChooseDestination("https://secure.example/", kDirect)->port, 443);
    for (const char* bad : {"http://host:0/", "http://host:65536/", "http://host:8o/"})
        EXPECT_FALSE(ChooseDestination(bad, kDirect)) << bad;
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
    const auto tunnelled = ChooseDestination("https://[::1]/x", {true, "proxy.lan", "3128", "ann", "pw"});
    EXPECT_EQ(tunnelled->tunnel + " " + tunnelled->sHost + " " + tunnelled->sTarget + " " + tunnelled->serverName,
              "[::1]:443 proxy.lan /x ::1");
    EXPECT_TRUE(tunnelled->tls);
    for (const char* badPort : {"abc", "65536", "0", "-5", "80 80"})
        EXPECT_FALSE(ChooseDestination("host/x", {true, "proxy.lan", badPort})) << badPort;
    EXPECT_EQ(ChooseDestination("host/x", {true, "proxy.lan", "8080.5"})->port, 8080);
    // A ticked box with an empty server or port goes direct.
    EXPECT_EQ(ChooseDestination("host/x", {true, "", "3128"})->sHost, "host");
    EXPECT_EQ(ChooseDestination("host/x", {true, "proxy.lan", ""})->sHost, "host");
    EXPECT_EQ(ChooseDestination("host/x", {false, "proxy.lan", "3128"})->sHost, "host");
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
