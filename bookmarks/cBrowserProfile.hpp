#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
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
    // The files of a profile that hold its bookmarks; the one changed last tells the profile in use.
    std::vector<const char*> stores {"bookmarks.html"};
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
    // profile's, below the profile root unless profiles.ini says IsRelative=0. Where several
    // roots hold a profiles.ini (the classic install, the snap, the flatpak), the root is the one
    // whose default profile's store changed last.
    std::string ProfileFolder() const;

    // "Firefox profile ~/.mozilla/firefox/x.default": the profile folder the last load read, else
    // the one a load would read; empty when the browser is not installed.
    std::string FoundWhere() const override;

    // Rewrites the bookmarks.html the last load read without the bookmarks marked Clean, after
    // a backup copy. Nothing happens when that load gave no collection.
    CleanOutcome CleanUpBookmarks() override;
    void ForgoClean() override { m_file.SetBookmarkFileContents({}); }

protected:
    cBrowserProfile(const BrowserProfileTraits& traits, const SourceLocation& where);
    ~cBrowserProfile() override = default;

    // Reads the profile's bookmarks.html into a new collection, keeping its lines for a clean.
    LoadOutcome LoadBookmarks();
    // The profile folder a load reads, kept as the one the last load read.
    std::string ChooseProfile();
    // Why a load found no profile to read, for a load that gave nothing.
    std::string WhyNoProfile() const;

private:
    void ReadInstallInfo();
    // The root (with its trailing separator) whose profiles.ini is read.
    std::string ProfileRoot() const;
    // When the newest of the profile's stores was last written; nothing when it has none.
    std::optional<std::filesystem::file_time_type> StoreChanged(const std::string& profileFolder) const;
    std::string GetProfileFolder(const std::string& root, const std::string& path) const;
    // The search of DefaultProfile in the root's profiles.ini, starting from what was found before.
    std::string FindDefaultProfile(const std::string& root, std::string found) const;
    // LastVersion of the default profile's compatibility.ini, up to its first "_".
    std::string ProfileVersion() const;

    BrowserProfileTraits m_traits;
    const SourceLocation& m_where;
    bool m_isInstalled = false;
    std::string m_version;
    std::string m_defaultProfile;
    std::string m_loadedFolder;  // the profile folder the last load read
    cNetscapeBookmarkFile m_file;
    BookmarksPtr m_bookmarks;
};

}  // namespace brimtor
