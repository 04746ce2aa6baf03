#include <gtest/gtest.h>

#include "engine/CWinInet_URL.hpp"

using namespace brimtor;

namespace {
std::string Combine(const std::string& base, const std::string& relative)
{
    return CWinInet_URL().CombineUrl(base, relative, CWinInet_URL::ICU_BROWSER_MODE);
}
}  // namespace

TEST(CWinInet_URL, ResolvesRelativeAddresses)
{
    const std::string page = "http://host/dir/page.html";
    EXPECT_EQ(Combine(page, "../img/a.gif"), "http://host/img/a.gif");
    EXPECT_EQ(Combine(page, "//other/y"), "http://other/y");
    EXPECT_EQ(Combine(page, "https://other/./a/../b"), "https://other/b");
    EXPECT_EQ(Combine("http://host", "x"), "http://host/x");
    EXPECT_EQ(Combine("http://host/a/b/c", "../../../../x"), "http://host/x");
    EXPECT_EQ(Combine("http://host/a/b/c", ".."), "http://host/a/");
}

TEST(CWinInet_URL, QueryAndFragmentReferencesAndTextKeptAsIs)
{
    const std::string base = "http://a/b/c/d;p?q";
    EXPECT_EQ(Combine(base, "?y"), "http://a/b/c/d;p?y");
    EXPECT_EQ(Combine(base, "#s"), "http://a/b/c/d;p?q#s");
    EXPECT_EQ(Combine(base, "g;x=1/../y"), "http://a/b/c/y");
    // Nothing after "?" or "#" is escaped, unescaped or trimmed.
    EXPECT_EQ(Combine(base, "g?a b%20/../c #x y "), "http://a/b/c/g?a b%20/../c #x y ");
    EXPECT_EQ(Combine("http://u:pw@h:8080/dir/", "x"), "http://u:pw@h:8080/dir/x");
}

TEST(CWinInet_URL, EmptyOrRelativeBaseGivesEmptyTextAndLengthIsUnlimited)
{
    EXPECT_EQ(Combine("http://host/dir/page.html", ""), "");
    EXPECT_EQ(Combine("", "/x"), "");
    EXPECT_EQ(Combine("host/dir/", "x"), "");
    const std::string longName(3000, 'n');
    EXPECT_EQ(Combine("http://host/dir/page.html", longName), "http://host/dir/" + longName);
}
