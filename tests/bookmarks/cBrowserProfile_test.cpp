#include <gtest/gtest.h>

#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "bookmarks/cNetscape.hpp"
#include "support/cRegistry.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

const char* const kFirefoxRoot = ".mozilla/firefox/";
const char* const kNetscapeRoot = ".netscape/navigator/";

std::string BookmarkFile(const std::string& first, const std::string& second)
{
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<DL><p>\r\n"
           "    <DT><A HREF=\"" + first + "\">First</A>\r\n"
           "    <DD>About the first\r\n"
           "    <DT><A HREF=\"" + second + "\">Second</A>\r\n"
           "</DL><p>\r\n";
}

void WriteRegistryKey(const std::string& key, const std::string& version)
{
    cRegistry reg;
    reg.SetClassKey(RegistryRoot::HKEY_LOCAL_MACHINE);
    reg.SetSectionKey(key);
    reg.CreateKey();
    if (!version.empty()) {
        reg.SetValueKey("CurrentVersion");
        reg.SetValueType(RegistryType::REG_SZ);
        reg.SetValue(version);
    }
}

}  // namespace

TEST(BrowserProfile, TheDefaultProfileIsMarkedFirstAndNamedSecond)
{
    TempHome home;
    const auto profiles = [&](const std::string& text) {
        home.WriteFile(std::string(kFirefoxRoot) + "profiles.ini", text);
    };
    profiles("[General]\nStartWithLastProfile=1\n\n"
             "[Profile0]\nName=default\nPath=Profiles/abc.default\n\n"
             "[Profile1]\nName=work\nPath=Profiles/xyz.work\nDefault=1\n");
    EXPECT_EQ(cFirefox().DefaultProfile(), "Profiles/xyz.work");

    // Netscape takes no other profile for its default; Firefox takes its only one.
    const std::string single = "[Profile0]\nName=Default\nPath=Profiles/capital\n";
    home.WriteFile(std::string(kNetscapeRoot) + "profiles.ini", single);
    EXPECT_EQ(cNetscape().DefaultProfile(), "");
    profiles(single);
    EXPECT_EQ(cFirefox().DefaultProfile(), "Profiles/capital");

    profiles("[Prof]\nName=default\nDefault=1\nPath=not/a/profile\n"
             "[PROFILE2]\nName=default\nPath=Profiles/upper\n");
    cFirefox firefox;
    EXPECT_EQ(firefox.DefaultProfile(), "Profiles/upper");

    // Once found, a name-only choice is kept; only a profile marked later replaces it.
    profiles("[Profile0]\nName=other\nPath=Profiles/other\n");
    EXPECT_EQ(firefox.DefaultProfile(), "Profiles/upper");
    profiles("[Profile0]\nName=other\nPath=Profiles/other\nDefault=1\n");
    EXPECT_EQ(firefox.DefaultProfile(), "Profiles/other");
}

TEST(BrowserProfile, FirefoxIsFoundInTheSnapAndFlatpakRootsByItsInstallDefault)
{
    TempHome home;
    const std::string flatpak = ".var/app/org.mozilla.firefox/.mozilla/firefox/";
    home.WriteFile(flatpak + "profiles.ini", "[Profile1]\nPath=old\nDefault=1\n[Profile0]\nPath=new\n"
                                             "[Install4F96D1932A9F858E]\nDefault=new\n");
    EXPECT_EQ(cFirefox().ProfileFolder(), home / flatpak + "new");
    // The snap's root is tried first; its installs.ini names the default too.
    const std::string snap = "snap/firefox/common/.mozilla/firefox/";
    home.WriteFile(snap + "profiles.ini", "[Profile0]\nPath=a\n[Profile1]\nPath=b\n");
    home.WriteFile(snap + "installs.ini", "[4F96D1932A9F858E]\nDefault=b\n");
    EXPECT_EQ(cFirefox().ProfileFolder(), home / snap + "b");
    // A profile outside the root is written whole, with IsRelative=0.
    const std::string elsewhere = home / "elsewhere";
    home.WriteFile(std::string(kFirefoxRoot) + "profiles.ini", "[Profile0]\nIsRelative=0\nPath=" + elsewhere + "\n");
    EXPECT_EQ(cFirefox().ProfileFolder(), elsewhere);
}

TEST(BrowserProfile, InstalledAndVersionComeFromTheRegistryOrTheProfileList)
{
    TempHome home;
    EXPECT_FALSE(cFirefox().IsInstalled());
    EXPECT_FALSE(cNetscape().IsInstalled());

    WriteRegistryKey("SOFTWARE\\Mozilla\\Mozilla Firefox", "");
    EXPECT_EQ(cFirefox().Version(), "");
    EXPECT_FALSE(cNetscape().IsInstalled());
    WriteRegistryKey("SOFTWARE\\Netscape\\Netscape Browser", "9.0.0.6");
    EXPECT_TRUE(cNetscape().IsInstalled());
    EXPECT_EQ(cNetscape().Version(), "9.0.0.6");

    home.WriteFile(std::string(kFirefoxRoot) + "profiles.ini",
                   "[Profile0]\nName=default\nIsRelative=1\nPath=p.default\n");
    home.WriteFile(std::string(kFirefoxRoot) + "p.default/compatibility.ini",
                   "[Compatibility]\nLastVersion=115.3.1_20230918155115/20230918155115\n");
    // Firefox is offered only when its profile holds bookmarks.
    EXPECT_FALSE(cFirefox().IsInstalled());
    home.WriteFile(std::string(kFirefoxRoot) + "p.default/places.sqlite", "");
    EXPECT_TRUE(cFirefox().IsInstalled());
    EXPECT_EQ(cFirefox().Version(), "115.3.1");
}

TEST(BrowserProfile, WithoutAProfileListTheRootsOwnFileIsReadAndNothingLoadedIsNothingToWrite)
{
    TempHome home;
    cLinkMain netscape;
    netscape.SetSelectedSource(SourceCode::Netscape);
    EXPECT_EQ(cNetscape().DefaultProfile(), "");
    home.WriteFile(std::string(kNetscapeRoot) + "bookmarks.html",
                   BookmarkFile("http://n.example/", "http://m.example/"));
    netscape.Refresh();
    EXPECT_EQ(netscape.Bookmarks()->Count(), 2);

    const CleanOutcome nothing = cFirefox().CleanUpBookmarks();
    EXPECT_EQ(nothing.result, CleanResult::Cleaned);
    EXPECT_TRUE(nothing.backups.empty());
}

TEST(BrowserProfile, ThousandsOfSectionsAreReadInOnePass)
{
    TempHome home;
    std::string profiles, installs;
    for (int i = 0; i < 3000; ++i) {
        profiles += "[Profile" + std::to_string(i) + "]\nPath=p" + std::to_string(i) + "\n";
        installs += "[" + std::to_string(i) + "]\nLocked=1\n";
    }
    home.WriteFile(std::string(kFirefoxRoot) + "profiles.ini", profiles);
    home.WriteFile(std::string(kFirefoxRoot) + "installs.ini", installs + "[Last]\nDefault=p2999\n");
    EXPECT_EQ(cFirefox().ProfileFolder(), home / kFirefoxRoot + "p2999");
}
