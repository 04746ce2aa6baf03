#include <gtest/gtest.h>

#include "engine/LookAddress.hpp"

using namespace brimtor;

TEST(LookAddress, ProbesTheLinksFolderOnTheSameSite)
{
    const std::string letters = "qhzkvmwpxrtyjbnlcdfgsaweo";
    const std::pair<const char*, const char*> cases[] = {
        {"http://h.example/news/2014/story.html?id=3#top", "http://h.example/news/2014/"},
        {"http://h.example/news/2014/", "http://h.example/news/2014/"},
        {"http://h.example", "http://h.example/"},
        {"http://h.example?q=1", "http://h.example/"},
        {"HTTPS://user:pw@H.Example:8443/a/../b/c", "https://h.example:8443/b/"},
        {"https://h.example:443/x", "https://h.example/"},
        {"localhost:8080/x/y", "http://localhost:8080/x/"},
        {"http://[::1]:81/x", "http://[::1]:81/"},
        {"mailto:a@h.example", ""},
        {"ftp://h.example/x", ""},
        {"http://h.example:99999/x", ""},
    };
    for (const auto& [link, folder] : cases)
        EXPECT_EQ(ProbeAddress(link, letters), *folder ? folder + letters : "") << link;

    EXPECT_EQ(OriginKey("h.example/x"), "http://h.example:80");
    EXPECT_EQ(OriginKey("HTTP://u@H.EXAMPLE:80/y?z"), OriginKey("http://h.example/"));
    EXPECT_NE(OriginKey("https://h.example/"), OriginKey("http://h.example:443/"));
    EXPECT_EQ(OriginKey("javascript:alert(1)"), "");
}

TEST(LookAddress, TellsFrontPagesAndSamePages)
{
    for (const char* root : {"", "/", "/index.html", "/Default.aspx", "/home", "/en", "/en/", "/pt-BR/index.php"})
        EXPECT_TRUE(IsSiteRoot(root)) << root;
    for (const char* deep : {"/news", "/en/news", "/index.html/x", "/home/", "/indexes.html", "/english/"})
        EXPECT_FALSE(IsSiteRoot(deep)) << deep;

    EXPECT_TRUE(SameAddress("http://H.example:80/a?b#c", "h.example/a?b"));
    EXPECT_FALSE(SameAddress("http://h.example/a?b", "http://h.example/a?c"));
    EXPECT_FALSE(SameAddress("http://h.example/A", "http://h.example/a"));
    EXPECT_FALSE(SameAddress("mailto:x", "mailto:x"));
}
