#include "bookmarks/ChromiumProfile.hpp"

#include <filesystem>

#include "bookmarks/BoundedJson.hpp"
#include "support/FileIo.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

struct KnownBrowser {
    bool belowSettings;  // below the user's settings folder (~/.config), else below the home
    const char* folder;
    const char* name;
};

// The order in which the browsers are looked for.
constexpr KnownBrowser kBrowsers[] = {
    {true, "chromium", "Chromium"},
    {true, "google-chrome", "Google Chrome"},
    {true, "BraveSoftware/Brave-Browser", "Brave"},
    {true, "vivaldi", "Vivaldi"},
    {true, "microsoft-edge", "Microsoft Edge"},
    {false, "snap/chromium/common/chromium", "Chromium"},
    {false, ".var/app/org.chromium.Chromium/config/chromium", "Chromium"},
    {false, ".var/app/com.google.Chrome/config/google-chrome", "Google Chrome"},
    {false, ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser", "Brave"},
};

// The profile `Local State` names as last used, else "Default", as the browser itself starts.
// A name that would lead out of the browser folder, or one whose folder is gone, is not taken.
std::string LastUsedProfile(const std::string& browserFolder)
{
    std::string name;
    if (const auto bytes = ReadFileBytes(browserFolder + "/Local State")) {
        const Outcome<OrderedJson> state = ParseBoundedJson(*bytes);
        try {
            if (state)
                name = state->at("profile").at("last_used").get<std::string>();
        } catch (const nlohmann::json::exception&) {
            // No readable choice.
        }
    }
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == ".."
        || !FolderExists(browserFolder + "/" + name))
        return "Default";
    return name;
}

std::string BrowserNamed(const std::string& folderName)
{
    for (const KnownBrowser& browser : kBrowsers) {
        if (fs::path(browser.folder).filename() == folderName)
            return browser.name;
    }
    return "The browser";
}

}  // namespace

std::string ChromiumProfile::Description() const
{
    return browserName + " profile " + TildeForHome(profileFolder);
}

// The browser folders' profiles are all looked at: a folder left behind by a move to the snap
// or the flatpak, or a browser tried once, keeps its bookmarks, so the one in use is the one
// whose `Bookmarks` changed last (the first in order when two changed at the same moment).
std::optional<ChromiumProfile> FindChromiumProfile()
{
    const std::string settings = UserConfigHome();
    const std::string home = GetSpecialFolderPath(kHomeFolderId);
    std::optional<ChromiumProfile> chosen;
    fs::file_time_type chosenChange;
    for (const KnownBrowser& browser : kBrowsers) {
        const std::string base = browser.belowSettings ? settings : home;
        if (base.empty())
            continue;
        const std::string folder = base + "/" + browser.folder;
        ChromiumProfile profile {browser.name, folder, folder + "/" + LastUsedProfile(folder)};
        std::error_code ec;
        const fs::file_time_type changed = fs::last_write_time(profile.BookmarksFile(), ec);
        if (!ec && FileExists(profile.BookmarksFile()) && (!chosen || changed > chosenChange)) {
            chosen = std::move(profile);
            chosenChange = changed;
        }
    }
    return chosen;
}

ChromiumProfile ChromiumProfileAt(const std::string& profileFolder)
{
    fs::path folder(profileFolder);
    if (!folder.has_filename())
        folder = folder.parent_path();  // "Default/" names Default
    const fs::path parent = folder.parent_path();
    return {BrowserNamed(parent.filename().string()), parent.empty() ? "." : parent.string(), folder.string()};
}

}  // namespace brimtor
