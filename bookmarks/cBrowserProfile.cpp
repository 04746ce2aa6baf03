#include "bookmarks/cBrowserProfile.hpp"

#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "bookmarks/IniDocument.hpp"
#include "bookmarks/cINI.hpp"
#include "support/Text.hpp"
#include "support/cRegistry.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

using Section = IniDocument::Section;

// The file's profile sections, in file order.
std::vector<const Section*> ProfileSections(const IniDocument& ini)
{
    std::vector<const Section*> profiles;
    for (const Section* section : ini.Sections()) {
        if (IStartsWith(section->name, "profile"))
            profiles.push_back(section);
    }
    return profiles;
}

std::string ValueOf(const Section& section, const std::string& key)
{
    const IniDocument::Entry* entry = IniDocument::FindEntry(section, key);
    return entry ? entry->value : std::string();
}

// The "path" of the first profile section whose `key` is exactly `wanted`, if there is one.
std::optional<std::string> FirstProfileWith(const IniDocument& ini, const std::string& key,
                                            const std::string& wanted)
{
    for (const Section* section : ProfileSections(ini)) {
        if (ValueOf(*section, key) == wanted)
            return ValueOf(*section, "path");
    }
    return std::nullopt;
}

// The path of the one profile section, when there is exactly one.
std::optional<std::string> OnlyProfile(const IniDocument& ini)
{
    const std::vector<const Section*> profiles = ProfileSections(ini);
    if (profiles.size() != 1)
        return std::nullopt;
    return ValueOf(*profiles.front(), "path");
}

// The first Default= that is not empty, of the sections whose names start with `prefix`.
std::optional<std::string> FirstDefault(const IniDocument& ini, std::string_view prefix)
{
    for (const Section* section : ini.Sections()) {
        const std::string path = IStartsWith(section->name, prefix) ? ValueOf(*section, "default") : "";
        if (!path.empty())
            return path;
    }
    return std::nullopt;
}

// The Default= of the first installation that names one: in the root's profiles.ini, read as
// `profiles`, an [Install…] section; in its installs.ini (which holds nothing else) any section.
std::optional<std::string> InstallDefault(const IniDocument& profiles, const std::string& root)
{
    if (std::optional<std::string> path = FirstDefault(profiles, "install"))
        return path;
    return FirstDefault(IniDocument::Read(root + "installs.ini"), "");
}

// A profile kept outside the root is written with IsRelative=0 and its full path.
bool IsAbsoluteProfile(const IniDocument& ini, const std::string& path)
{
    for (const Section* section : ProfileSections(ini)) {
        if (ValueOf(*section, "path") == path)
            return ValueOf(*section, "isrelative") == "0";
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
    if (FileExists(ProfileRoot() + "profiles.ini")) {
        m_isInstalled = true;
        if (m_version.empty())
            m_version = ProfileVersion();
    }
}

// A stale install left behind by a move to the snap or the flatpak keeps its profile list, so
// the root in use is told by its store: of the roots holding a profiles.ini, the one whose
// default profile's store changed last; the first of them when none has a store.
std::string cBrowserProfile::ProfileRoot() const
{
    const std::string home = GetSpecialFolderPath(kHomeFolderId);
    std::string chosen;
    std::optional<fs::file_time_type> chosenChange;
    for (const char* root : m_traits.profileRoots) {
        if (!FileExists(home + root + "profiles.ini"))
            continue;
        const std::optional<fs::file_time_type> changed
            = StoreChanged(GetProfileFolder(home + root, FindDefaultProfile(home + root, {})));
        if (chosen.empty() || (changed && (!chosenChange || *changed > *chosenChange))) {
            chosen = home + root;
            chosenChange = changed;
        }
    }
    return chosen.empty() ? home + m_traits.profileRoots.front() : chosen;
}

std::optional<fs::file_time_type> cBrowserProfile::StoreChanged(const std::string& profileFolder) const
{
    std::optional<fs::file_time_type> newest;
    for (const char* store : m_traits.stores) {
        std::error_code ec;
        const fs::file_time_type changed = fs::last_write_time(profileFolder + "/" + store, ec);
        if (!ec && (!newest || changed > *newest))
            newest = changed;
    }
    return newest;
}

// profiles.ini gives paths "/"-separated as here, relative to the profile root unless marked.
std::string cBrowserProfile::GetProfileFolder(const std::string& root, const std::string& path) const
{
    return IsAbsoluteProfile(IniDocument::Read(root + "profiles.ini"), path) ? path : root + path;
}

std::string cBrowserProfile::ProfileFolder() const
{
    if (!m_where.profileFolder.empty())
        return m_where.profileFolder;
    const std::string root = ProfileRoot();
    return GetProfileFolder(root, FindDefaultProfile(root, m_defaultProfile));
}

std::string cBrowserProfile::FoundWhere() const
{
    if (!IsInstalled())
        return {};
    return std::string(m_traits.browserName) + " profile "
         + TildeForHome(m_loadedFolder.empty() ? ProfileFolder() : m_loadedFolder);
}

std::string cBrowserProfile::ChooseProfile()
{
    const std::string root = ProfileRoot();
    m_defaultProfile = FindDefaultProfile(root, m_defaultProfile);
    // A search started from what it found finds it again: this is the folder ProfileFolder gives.
    m_loadedFolder = m_where.profileFolder.empty() ? GetProfileFolder(root, m_defaultProfile) : m_where.profileFolder;
    return m_loadedFolder;
}

std::string cBrowserProfile::FindDefaultProfile(const std::string& root, std::string found) const
{
    const IniDocument ini = IniDocument::Read(root + "profiles.ini");
    if (m_traits.installDefaults) {
        if (auto installed = InstallDefault(ini, root))
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
    m_defaultProfile = FindDefaultProfile(ProfileRoot(), m_defaultProfile);
    return m_defaultProfile;
}

std::string cBrowserProfile::ProfileVersion() const
{
    const std::string root = ProfileRoot();
    const std::string file =
        AddTrailingChar(GetProfileFolder(root, FindDefaultProfile(root, {})), '/') + "compatibility.ini";
    const std::string last = cINI().GetIniSetting(file, "Compatibility", "LastVersion");
    return last.substr(0, last.find('_'));
}

LoadOutcome cBrowserProfile::LoadBookmarks()
{
    LoadOutcome loaded = m_file.Load(AddTrailingChar(ChooseProfile(), '/') + "bookmarks.html");
    m_bookmarks = loaded.bookmarks;
    if (!m_bookmarks)
        loaded.reason = WhyNoProfile();
    return loaded;
}

CleanOutcome cBrowserProfile::CleanUpBookmarks()
{
    m_file.SetWhichBrowser(m_traits.whichBrowser);
    m_file.SetBookmarks(m_bookmarks);
    return m_file.CreateBookMarkFile();
}

std::string cBrowserProfile::WhyNoProfile() const
{
    if (m_isInstalled && !FindDefaultProfile(ProfileRoot(), m_defaultProfile).empty())
        return {};
    return std::string("no default ") + m_traits.browserName + " profile could be found for this user";
}

}  // namespace brimtor
