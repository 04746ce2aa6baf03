#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/ErrorLog.hpp"
#include "support/ErrorLogFile.hpp"
#include "support/MainSettings.hpp"
#include "support/cRegistry.hpp"
#include "support/modRegistry.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

std::vector<std::string> StoredNames()
{
    cRegistry registry;
    registry.SetClassKey(RegistryRoot::HKEY_CURRENT_USER);
    registry.SetSectionKey(kSettingsKey);
    std::vector<std::string> names;
    std::int32_t count = 0;
    registry.EnumerateValues(names, count);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(MainSettings, DefaultsWithoutWritingThenExactlyTheTenValuesThenBadTextsLeaveTheirStep)
{
    TempHome home;
    const MainSettings first = ReadMainSettings();
    EXPECT_FALSE(first.SelectedBrowser.has_value());  // nothing remembered yet
    EXPECT_EQ(first.ShowDetails, 0);
    EXPECT_EQ(first.Width, -1);
    EXPECT_TRUE(ReadTestSites().empty());
    EXPECT_FALSE(std::filesystem::exists(ConfigFolder()));

    MainSettings s;
    s.ProxyServer = "proxy.example";
    s.Top = -1440;
    s.Left = 300;
    WriteMainSettings(s);
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"BrimtorHeight", "BrimtorLeft", "BrimtorTop", "BrimtorWidth",
                                                       "Lanes", "LookInside", "ProxyPort", "ProxyServer", "SelectedBrowser",
                                                       "ShowDetails"}));
    EXPECT_EQ(ReadMainSettings().ProxyServer, "proxy.example");
    EXPECT_EQ(ReadMainSettings().Top, -1440);

    WriteSetting(kSettingsKey, "ShowDetails", "");
    WriteSetting(kSettingsKey, "BrimtorWidth", "wide");
    WriteSetting(kSettingsKey, "BrimtorHeight", " 7000 ");
    WriteSetting(kSettingsKey, "TestSites", " http://127.0.0.1:9/ ;; http://127.0.0.1:10/;");
    const MainSettings back = ReadMainSettings();
    EXPECT_EQ(back.ShowDetails, 0);
    EXPECT_FALSE(back.Width.has_value());
    EXPECT_EQ(back.Height, 7000);
    EXPECT_EQ(ReadTestSites(), (std::vector<std::string>{"http://127.0.0.1:9/", "http://127.0.0.1:10/"}));
    EXPECT_FALSE(ParseWholeNumber("1.5").has_value());
    EXPECT_FALSE(ParseWholeNumber("99999999999").has_value());
}

TEST(ErrorLogFile, WritesTheExactLineOnlyWhenLoggingIsExactlyTrue)
{
    TempHome home;
    FakeClock clock({2026, 12, 6, 14, 5, 9});
    SetErrorLogSink(AppendErrorLog);
    LogError("cLinkMain: Refresh", 53, "File not found");
    EXPECT_FALSE(std::filesystem::exists(ErrorLogPath()));

    WriteSetting(kSettingsKey, "logging", "true");
    LogError("cLinkMain: Refresh", 53, "File not found");
    EXPECT_FALSE(std::filesystem::exists(ErrorLogPath()));

    WriteSetting(kSettingsKey, "logging", "True");
    LogError("cLinkMain: Refresh", 53, "File not found");
    LogError("frmBackup: LoadDisplay", 75, "Path/File access error");
    EXPECT_EQ(ReadAll(ErrorLogPath()),
              "12/6/2026 2:05:09 PM  cLinkMain: Refresh , Error: 53 - File not found\r\n"
              "12/6/2026 2:05:09 PM  frmBackup: LoadDisplay , Error: 75 - Path/File access error\r\n");
    EXPECT_EQ(std::filesystem::status(ErrorLogPath()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    SetErrorLogSink({});
}
