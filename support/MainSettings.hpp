#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The main window's remembered state, read once at start and written once when it closes.
namespace brimtor {

struct MainSettings {
    // Each number is empty when its stored text is not a whole number: the window then keeps
    // its built-in value for that step.
    // The source the user last went on with; empty when none was (a first start) or the text is
    // not a number. Writing it empty leaves nothing remembered.
    std::optional<int> SelectedBrowser;
    std::string ProxyServer;
    std::string ProxyPort;
    std::optional<int> ShowDetails = 0;
    // Twips; -1 or below keeps the built-in size or position.
    std::optional<int> Height = -1;
    std::optional<int> Width = -1;
    std::optional<int> Top = -1;
    std::optional<int> Left = -1;
    // Links checked at once; empty keeps the window's built-in count.
    std::optional<int> Lanes;
    // Whether to look inside the pages that answer: 0 no, 1 yes; empty keeps the built-in yes.
    std::optional<int> LookInside;
};

// Every value of the settings key, with its default when it is missing or empty.
MainSettings ReadMainSettings();

// Writes the ten values in order; a value that cannot be written does not stop the others.
void WriteMainSettings(const MainSettings& settings);

// Addresses separated by ";", blanks trimmed, empty pieces left out.
std::vector<std::string> SplitSiteList(std::string_view text);

// The hand-made "TestSites" value as a list of addresses. Empty when unset.
std::vector<std::string> ReadTestSites();

// A whole number in the text (blanks around it allowed), or nothing.
std::optional<int> ParseWholeNumber(const std::string& text);

}  // namespace brimtor
