#include <gtest/gtest.h>

#include "bookmarks/BrowsableAddress.hpp"
#include "bookmarks/WebArchive.hpp"

using brimtor::BrowsableAddress;

TEST(BrowsableAddress, OnlyWebAddressesReachTheDesktop)
{
    EXPECT_EQ(BrowsableAddress("http://example.org/a?b#c"), "http://example.org/a?b#c");
    EXPECT_EQ(BrowsableAddress("HTTPS://example.org/"), "HTTPS://example.org/");
    EXPECT_EQ(BrowsableAddress("ftp://files.example.org/"), "ftp://files.example.org/");
    EXPECT_EQ(BrowsableAddress("  www.example.org/x  "), "http://www.example.org/x");
    EXPECT_EQ(BrowsableAddress("www.example.org:8080/x"), "http://www.example.org:8080/x");
    EXPECT_EQ(BrowsableAddress("localhost:8080"), "http://localhost:8080");

    for (const char* unsafe : {"file:///etc/passwd", "/usr/bin/xterm", "~/script.sh", "./run",
                               "javascript:alert(1)", "mailto:a@example.org", "C:\\Windows\\x.exe",
                               "\\\\server\\share", "smb://host/share", "", "   "})
        EXPECT_EQ(BrowsableAddress(unsafe), "") << unsafe;
}

TEST(WebArchive, TheAddressGoesOutPercentEncodedWhereItMustAndOnlyForWebPages)
{
    // Blanks, quotes and bytes beyond ASCII are encoded; an escape already there stays one.
    EXPECT_EQ(brimtor::WebArchiveAddress("www.example.org/a b\"c%20d%zz\xe9?q=1&r=[2]#top%"),
              "https://web.archive.org/web/*/http://www.example.org/a%20b%22c%20d%25zz%E9?q=1&r=[2]#top%25");
    EXPECT_EQ(brimtor::WebArchiveAddress("javascript:alert(1)"), "");
}
