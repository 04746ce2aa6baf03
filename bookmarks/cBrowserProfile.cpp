#include "bookmarks/cBrowserProfile.hpp"

#include <exception>
#include <optional>
#include <vector>

#include "bookmarks/IniDocument.hpp"
#include "bookmarks/cINI.hpp"
#include "support/Text.hpp"
#include "support/cRegistry.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

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

// The Default= of the first installation that names one: in profiles.ini an [Install…] section,
// in installs.ini (which holds nothing else) any section.
std::optional<std::string> InstallDefault(const std::string& root)
{
    for (const std::string file : {"profiles.ini", "installs.ini"}) {
        const IniDocument ini = IniDocument::Read(root + file);
        for (const Section* section : ini.Sections()) {
            const bool install = file == "installs.ini" || IStartsWith(section->name, "install");
            const std::string path = install ? ValueOf(*section, "default") : "";
            if (!path.empty())
                return path;
        }
    }
    return std::nullopt;
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
    return IsAbsoluteProfile(IniDocument::Read(ProfilesIni()), path) ? path : ProfileRoot() + path;
}

std::string cBrowserProfile::ProfileFolder() const
{
    if (!m_where.profileFolder.empty())
        return m_where.profileFolder;
    return GetProfileFolder(FindDefaultProfile(m_defaultProfile));
}

std::string cBrowserProfile::FindDefaultProfile(std::string found) const
{
    const IniDocument ini = IniDocument::Read(ProfilesIni());
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
