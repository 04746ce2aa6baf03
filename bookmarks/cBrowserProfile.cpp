#include "bookmarks/cBrowserProfile.hpp"

#include <exception>
#include <optional>
#include <vector>

#include "bookmarks/cINI.hpp"
#include "support/Text.hpp"
#include "support/cRegistry.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

namespace {

// The names of the file's profile sections, in file order.
std::vector<std::string> ProfileSections(const std::string& ini)
{
    std::vector<std::string> profiles;
    for (const std::string& section : SplitAt(cINI().GetIniSections(ini), '\0')) {
        if (IStartsWith(section, "profile"))
            profiles.push_back(section);
    }
    return profiles;
}

// The "path" of the first profile section whose `key` is exactly `wanted`, if there is one.
std::optional<std::string> FirstProfileWith(const std::string& ini, const std::string& key,
                                            const std::string& wanted)
{
    const cINI reader;
    for (const std::string& section : ProfileSections(ini)) {
        if (reader.GetIniSetting(ini, section, key) == wanted)
            return reader.GetIniSetting(ini, section, "path");
    }
    return std::nullopt;
}

// The path of the one profile section, when there is exactly one.
std::optional<std::string> OnlyProfile(const std::string& ini)
{
    const std::vector<std::string> profiles = ProfileSections(ini);
    if (profiles.size() != 1)
        return std::nullopt;
    return cINI().GetIniSetting(ini, profiles.front(), "path");
}

// The Default= of the first installation that names one: in profiles.ini an [Install…] section,
// in installs.ini (which holds nothing else) any section.
std::optional<std::string> InstallDefault(const std::string& root)
{
    const cINI reader;
    for (const std::string file : {"profiles.ini", "installs.ini"}) {
        for (const std::string& section : SplitAt(reader.GetIniSections(root + file), '\0')) {
            const bool install = file == "installs.ini" || IStartsWith(section, "install");
            const std::string path = install ? reader.GetIniSetting(root + file, section, "default") : "";
            if (!path.empty())
                return path;
        }
    }
    return std::nullopt;
}

// A profile kept outside the root is written with IsRelative=0 and its full path.
bool IsAbsoluteProfile(const std::string& ini, const std::string& path)
{
    const cINI reader;
    for (const std::string& section : ProfileSections(ini)) {
        if (reader.GetIniSetting(ini, section, "path") == path)
            return reader.GetIniSetting(ini, section, "isrelative") == "0";
    }
    return false;
}

}  // namespace

cBrowserProfile::cBrowserProfile(const BrowserProfileTraits& traits, const SourceLocation& where)
    : m_traits(traits), m_where(where)
{
    ReadInstallInfo();
}

void cBrowserProfile::ReadInstallInfo()
{
    try {
        cRegistry registry;
        registry.SetClassKey(RegistryRoot::HKEY_LOCAL_MACHINE);
        registry.SetSectionKey(m_traits.registryKey);
        if (registry.KeyExists()) {
            m_isInstalled = true;
            registry.SetValueKey("CurrentVersion");
            const std::string version = VariantText(registry.Value());
            if (!version.empty())
                m_version = version;
        }
    } catch (const std::exception&) {
        // A registry that cannot tell leaves the browser as found so far.
    }
    // Browsers here keep no registry key; their profile list shows they are installed.
    if (FileExists(ProfilesIni())) {
        m_isInstalled = true;
        if (m_version.empty())
            m_version = ProfileVersion();
    }
}

std::string cBrowserProfile::ProfileRoot() const
{
    const std::string home = GetSpecialFolderPath(kHomeFolderId);
    for (const char* root : m_traits.profileRoots) {
        if (FileExists(home + root + "profiles.ini"))
            return home + root;
    }
    return home + m_traits.profileRoots.front();
}

std::string cBrowserProfile::ProfilesIni() const
{
    return ProfileRoot() + "profiles.ini";
}

// profiles.ini gives paths "/"-separated as here, relative to the profile root unless marked.
std::string cBrowserProfile::GetProfileFolder(const std::string& path) const
{
    return IsAbsoluteProfile(ProfilesIni(), path) ? path : ProfileRoot() + path;
}

std::string cBrowserProfile::ProfileFolder() const
{
    if (!m_where.profileFolder.empty())
        return m_where.profileFolder;
    return GetProfileFolder(FindDefaultProfile(m_defaultProfile));
}

std::string cBrowserProfile::FindDefaultProfile(std::string found) const
{
    const std::string ini = ProfilesIni();
    if (m_traits.installDefaults) {
        if (auto installed = InstallDefault(ProfileRoot()))
            return *installed;
    }
    if (auto marked = FirstProfileWith(ini, "default", "1"))
        found = *marked;
    if (found.empty())
        found = FirstProfileWith(ini, "name", "default").value_or(std::string());
    if (found.empty() && m_traits.installDefaults)
        found = OnlyProfile(ini).value_or(std::string());
    return found;
}

std::string cBrowserProfile::DefaultProfile()
{
    m_defaultProfile = FindDefaultProfile(m_defaultProfile);
    return m_defaultProfile;
}

std::string cBrowserProfile::ProfileVersion() const
{
    const std::string file =
        AddTrailingChar(GetProfileFolder(FindDefaultProfile({})), '/') + "compatibility.ini";
    const std::string last = cINI().GetIniSetting(file, "Compatibility", "LastVersion");
    return last.substr(0, last.find('_'));
}

LoadOutcome cBrowserProfile::LoadBookmarks()
{
    DefaultProfile();
    m_file = cNetscapeBookmarkFile();
    m_file.SetBookmarkFile(AddTrailingChar(ProfileFolder(), '/') + "bookmarks.html");
    m_bookmarks = m_file.BookmarkFileToCollection();
    return {m_bookmarks, m_bookmarks ? std::string() : WhyNoProfile(), {}};
}

CleanOutcome cBrowserProfile::CleanUpBookmarks()
{
    m_file.SetWhichBrowser(m_traits.whichBrowser);
    m_file.SetBookmarks(m_bookmarks);
    return m_file.CreateBookMarkFile();
}

std::string cBrowserProfile::WhyNoProfile() const
{
    if (m_isInstalled && !FindDefaultProfile(m_defaultProfile).empty())
        return {};
    return std::string("no default ") + m_traits.browserName + " profile could be found for this user";
}

}  // namespace brimtor
