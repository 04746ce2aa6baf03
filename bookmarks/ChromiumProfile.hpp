#pragma once

#include <optional>
#include <string>

// Where a Chromium-family browser keeps its bookmarks.
namespace brimtor {

struct ChromiumProfile {
    std::string browserName;    // for the user: "Google Chrome"
    std::string browserFolder;  // holds `Local State` and, while the browser runs, `SingletonLock`
    std::string profileFolder;  // holds `Bookmarks`

    std::string BookmarksFile() const { return profileFolder + "/Bookmarks"; }
    // "Google Chrome profile ~/.config/google-chrome/Default".
    std::string Description() const;
};

// Of the browser folders (Chromium, Google Chrome, Brave, Vivaldi, Microsoft Edge below the
// user's settings folder, then the snap and flatpak builds), the one whose profile's `Bookmarks`
// file changed last. The profile is the last one used, as `Local State` names it, else
// "Default". Nothing when no such browser is found.
std::optional<ChromiumProfile> FindChromiumProfile();

// The profile folder the user named; its parent is the browser folder, whose name tells the
// browser's ("The browser" when it is none of the known ones).
ChromiumProfile ChromiumProfileAt(const std::string& profileFolder);

}  // namespace brimtor
