#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"

namespace brimtor {

// What tells one profile-based browser from another.
struct BrowserProfileTraits {
    const char* registryKey;   // below HKEY_LOCAL_MACHINE, with its trailing backslash
    // Below the application-data folder, in the order they are tried: the first holding a
    // profiles.ini is the browser's, else the first.
    std::vector<const char*> profileRoots;
    std::int32_t whichBrowser; // the bookmark writer's browser code, naming the backup copy
    const char* browserName;   // for the user: "Firefox"
    // Current Firefox: an [Install…] section's Default= (or installs.ini's) names the default
    // profile before any other rule, and a single profile is the default.
    bool installDefaults = false;
};

// A browser that keeps its bookmarks in the bookmarks.html of its default profile, found
// through the profiles.ini below its profile root. Sources 1 and 2 of the controller.
class cBrowserProfile : public BookmarkSource {
public:
    // Decided once, at creation: the browser's registry key exists, or its profiles.ini does.
    bool IsInstalled() const override { return m_isInstalled; }
    // The registry's CurrentVersion, else the default profile's last version; may be empty.
    const std::string& Version() const { return m_version; }

    // The default profile's path as profiles.ini gives it: the first profile section with
    // Default=1, else the first named exactly "default"; "" when there is none. Once found the
    // value is kept, and only a later Default=1 replaces it. See installDefaults for Firefox.
    std::string DefaultProfile();

    // The folder of the profile a load reads: the one the user named, else the default
    // profile's, below the profile root unless profiles.ini says IsRelative=0.
    std::string ProfileFolder() const;

    // Rewrites the bookmarks.html the last load read without the bookmarks marked Clean, after
    // a backup copy. Nothing happens when that load gave no collection.
    CleanOutcome CleanUpBookmarks() override;
    void ForgoClean() override { m_file.SetBookmarkFileContents({}); }

protected:
    cBrowserProfile(const BrowserProfileTraits& traits, const SourceLocation& where);
    ~cBrowserProfile() override = default;

    // Reads the profile's bookmarks.html into a new collection, keeping its lines for a clean.
    LoadOutcome LoadBookmarks();
    // Why a load found no profile to read, for a load that gave nothing.
    std::string WhyNoProfile() const;

private:
    void ReadInstallInfo();
    std::string ProfileRoot() const;
    std::string ProfilesIni() const;
    std::string GetProfileFolder(const std::string& path) const;
    // The search of DefaultProfile, starting from what was found before.
    std::string FindDefaultProfile(std::string found) const;
    // LastVersion of the default profile's compatibility.ini, up to its first "_".
    std::string ProfileVersion() const;

    BrowserProfileTraits m_traits;
    const SourceLocation& m_where;
    bool m_isInstalled = false;
    std::string m_version;
    std::string m_defaultProfile;
    cNetscapeBookmarkFile m_file;
    BookmarksPtr m_bookmarks;
};

}  // namespace brimtor
