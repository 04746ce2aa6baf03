#include "support/modSpecialFolder.hpp"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace brimtor {

static std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// HOME, or the account's home folder when HOME is unset (as under some service managers), so
// settings and backups never land in the root folder.
static std::string HomeFolder()
{
    const std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    const passwd* account = ::getpwuid(::getuid());
    return account && account->pw_dir ? std::string(account->pw_dir) : std::string();
}

// An XDG base folder, or its fallback below the home folder when the variable is unset or not
// absolute.
static std::string XdgFolder(const char* variable, const char* fallbackBelowHome)
{
    const std::string value = Environment(variable);
    if (!value.empty() && value.front() == '/')
        return value;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/" + fallbackBelowHome;
}

std::string GetSpecialFolderPath(int folderId)
{
    const std::string home = HomeFolder();
    if (home.empty())
        return {};
    switch (folderId) {
    case CSIDL_FAVORITES:
        return home + "/Favorites";
    case kHomeFolderId:
        return home;
    default:
        return {};
    }
}

std::string TildeForHome(const std::string& path)
{
    const std::string home = HomeFolder();
    if (home.empty() || home == "/" || path.compare(0, home.size(), home) != 0)
        return path;
    if (path.size() == home.size() || path[home.size()] == '/')
        return "~" + path.substr(home.size());
    return path;
}

std::string UserConfigHome()
{
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string ConfigFolder()
{
    return UserConfigHome() + "/brimtor";
}

std::string DataFolder()
{
    return XdgFolder("XDG_DATA_HOME", ".local/share") + "/brimtor";
}

std::string BackupFolder()
{
    return DataFolder() + "/Backups/";
}

std::string PrivateCopyFolder()
{
    const std::string runtime = Environment("XDG_RUNTIME_DIR");
    return !runtime.empty() && runtime.front() == '/' ? runtime + "/brimtor" : DataFolder() + "/copies";
}

}  // namespace brimtor
