#include "support/MainSettings.hpp"

#include <charconv>
#include <exception>

#include "support/Text.hpp"
#include "support/modRegistry.hpp"

namespace brimtor {

std::optional<int> ParseWholeNumber(const std::string& text)
{
    const std::string trimmed = TrimSpaces(text);
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (first != last && *first == '+')
        ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

static std::optional<int> ReadNumber(const char* name, const char* defaultText)
{
    return ParseWholeNumber(ReadSetting(kSettingsKey, name, defaultText));
}

MainSettings ReadMainSettings()
{
    MainSettings settings;
    settings.SelectedBrowser = ReadNumber("SelectedBrowser", "");
    settings.ProxyServer = ReadSetting(kSettingsKey, "ProxyServer", "");
    settings.ProxyPort = ReadSetting(kSettingsKey, "ProxyPort", "");
    settings.ShowDetails = ReadNumber("ShowDetails", "0");
    settings.Height = ReadNumber("BrimtorHeight", "-1");
    settings.Width = ReadNumber("BrimtorWidth", "-1");
    settings.Top = ReadNumber("BrimtorTop", "-1");
    settings.Left = ReadNumber("BrimtorLeft", "-1");
    settings.Lanes = ReadNumber("Lanes", "");
    settings.LookInside = ReadNumber("LookInside", "");
    return settings;
}

static void WriteOne(const char* name, const std::string& text)
{
    try {
        WriteSetting(kSettingsKey, name, text);
    } catch (const std::exception&) {
        // Closing must not fail over a setting; the others are still worth keeping.
    }
}

static std::string NumberText(const std::optional<int>& value)
{
    return value ? std::to_string(*value) : std::string();
}

void WriteMainSettings(const MainSettings& settings)
{
    WriteOne("SelectedBrowser", NumberText(settings.SelectedBrowser));
    WriteOne("ProxyServer", settings.ProxyServer);
    WriteOne("ProxyPort", settings.ProxyPort);
    WriteOne("ShowDetails", NumberText(settings.ShowDetails));
    WriteOne("BrimtorHeight", NumberText(settings.Height));
    WriteOne("BrimtorWidth", NumberText(settings.Width));
    WriteOne("BrimtorTop", NumberText(settings.Top));
    WriteOne("BrimtorLeft", NumberText(settings.Left));
    WriteOne("Lanes", NumberText(settings.Lanes));
    WriteOne("LookInside", NumberText(settings.LookInside));
}

std::vector<std::string> SplitSiteList(std::string_view text)
{
    std::vector<std::string> sites;
    for (const std::string& piece : SplitAt(text, ';')) {
        std::string site = TrimSpaces(piece);
        if (!site.empty())
            sites.push_back(std::move(site));
    }
    return sites;
}

std::vector<std::string> ReadTestSites()
{
    return SplitSiteList(ReadSetting(kSettingsKey, "TestSites", ""));
}

}  // namespace brimtor
