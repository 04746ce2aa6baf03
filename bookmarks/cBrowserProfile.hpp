#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

class cLinkMain;

// What tells one profile-based browser from another.
struct BrowserProfileTraits {
    const char* registryKey;   // below HKEY_LOCAL_MACHINE, with its trailing backslash
    // Below the application-data folder, in the order they are tried: the first holding a
    // profiles.ini is the browser's, else the first.
    std::vector<const char*> profileRoots;
    std::int32_t whichBrowser; // the bookmark writer's browser code, naming the backup copy
    const char* className;     // the class name that error sources begin with
    const char* browserName;   // for the user: "Firefox"
    // Current Firefox: an [Install…] section's Default= (or installs.ini's) names the default
    // profile before any other rule, and a single profile is the default.
    bool installDefaults = false;
};

// A browser that keeps its bookmarks in the bookmarks.html of its default profile, found
// through the profiles.ini below its profile root. Sources 1 and 2 of the controller.
class cBrowserProfile : public BookmarkSource {
public:
    cLinkMain* Parent() const { return m_parent; }
    void SetParent(cLinkMain* parent) { m_parent = parent; }

    // Decided once, at creation: the browser's registry key exists, or its profiles.ini does.
    bool IsInstalled() const override { return m_isInstalled; }
    // The registry's CurrentVersion, else the default profile's last version; may be empty.
    const std::string& Version() const { return m_version; }

    // The default profile's path as profiles.ini gives it: the first profile section with
    // Default=1, else the first named exactly "default"; "" when there is none. Once found the
    // value is kept, and only a later Default=1 replaces it. See installDefaults for Firefox.
    std::string DefaultProfile();

    // The folder of the profile a load reads: the one the user named (Parent's ProfileFolder),
    // else the default profile's, below the profile root unless profiles.ini says IsRelative=0.
    std::string ProfileFolder() const;

    // Rewrites the file the last load read without the bookmarks marked Clean, after a backup
    // copy, from the lines Parent kept. Nothing happens when that load gave no collection.
    // Failed when the file was left as it was; the user has then been told.
    CleanOutcome CleanUpBookmarks() override;

    std::string WhyNotLoadable() const override;

    // The backup copy the last CleanUpBookmarks made; empty when there was nothing to copy.
    const std::string& LastBackup() const { return m_lastBackup; }

protected:
    explicit cBrowserProfile(const BrowserProfileTraits& traits);
    ~cBrowserProfile() override = default;

    // Reads the default profile's bookmarks.html into a new collection and hands its lines to
    // Parent; nullptr when the file is missing or cannot be parsed. Throws NumberedError.
    BookmarksPtr LoadBookmarks();

private:
    void ReadInstallInfo();
    std::string ProfileRoot() const;
    std::string ProfilesIni() const;
    std::string GetProfileFolder(const std::string& path) const;
    // The search of DefaultProfile, starting from what was found before.
    std::string FindDefaultProfile(std::string found) const;
    // LastVersion of the default profile's compatibility.ini, up to its first "_".
    std::string ProfileVersion() const;
    // Parent; an error naming the procedure when there is none.
    cLinkMain& RequireParent(const std::string& procedure) const;

    BrowserProfileTraits m_traits;
    cLinkMain* m_parent = nullptr;
    bool m_isInstalled = false;
    std::string m_version;
    std::string m_defaultProfile;
    std::string m_bookmarkFile;
    BookmarksPtr m_bookmarks;
    std::string m_lastBackup;
};

}  // namespace brimtor
