#include "bookmarks/cIE.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include <unistd.h>

#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/Text.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

namespace {

std::string& RuntimeVersion()
{
    static std::string version;
    return version;
}

// The shortcut's file name without its ".url" (the last four characters).
std::string WithoutExtension(const std::string& name)
{
    return name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
}

struct ShortcutPlace {
    std::string name;
    std::string folder;
};

// The shortcut's path below the Favorites folder, e.g. "News/Tech/a.url".
std::string BelowFavorites(const std::string& path, const std::string& favorites)
{
    return path.substr(std::min(favorites.size() + 1, path.size()));
}

// Name and folder from the path below the Favorites folder: "root" for a file directly in it,
// otherwise the sub-folder path with its trailing separator, e.g. "News/Tech/".
ShortcutPlace DescribeShortcut(const std::string& path, const std::string& favorites)
{
    const std::string below = BelowFavorites(path, favorites);
    const std::size_t lastSeparator = below.rfind('/');
    return {ProperCase(WithoutExtension(GetFileName(below))),
            lastSeparator == std::string::npos ? "root" : below.substr(0, lastSeparator + 1)};
}

// The marked shortcuts still there, each read for the backup.
struct MarkedShortcuts {
    std::vector<std::string> paths;
    std::vector<BackupFile> copies;  // copies[i] is paths[i] as read
};

std::size_t HashOf(const std::string& bytes)
{
    return std::hash<std::string>{}(bytes);
}

// Reads every marked shortcut. One already gone counts as removed; one that cannot be read
// cannot be backed up, and one whose bytes are not those loaded may now hold a link nobody
// checked: both are kept and reported.
MarkedShortcuts ReadMarked(const cBookmarks& bookmarks, const std::string& favorites,
                           const std::unordered_map<std::string, std::size_t>& loaded, CleanOutcome& outcome)
{
    MarkedShortcuts marked;
    for (const BookmarkPtr& bookmark : bookmarks) {
        if (!bookmark->Clean)
            continue;
        const std::string& path = bookmark->ShortcutPath;
        const std::string below = BelowFavorites(path, favorites);
        std::error_code ec;
        std::optional<std::string> bytes = ReadFileBytes(path);
        const auto hash = loaded.find(path);
        if (bytes && (hash == loaded.end() || hash->second != HashOf(*bytes))) {
            outcome.failures.push_back(below + ": changed since it was checked");
        } else if (bytes) {
            marked.paths.push_back(path);
            marked.copies.push_back({below, std::move(*bytes)});
        } else if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) {
            outcome.failures.push_back(below + ": it cannot be read, so it cannot be backed up");
        } else {
            ++outcome.removed;
        }
    }
    return marked;
}

// Deletes each shortcut for good; one that went meanwhile counts as removed.
void DeleteShortcuts(const MarkedShortcuts& marked, CleanOutcome& outcome)
{
    for (std::size_t i = 0; i < marked.paths.size(); ++i) {
        if (::unlink(marked.paths[i].c_str()) == 0 || errno == ENOENT)
            ++outcome.removed;
        else
            outcome.failures.push_back(marked.copies[i].relativePath + ": " + std::strerror(errno));
    }
}

}  // namespace

cIE::cIE()
    : m_isInstalled(FolderExists(GetSpecialFolderPath(CSIDL_FAVORITES)))
{
}

std::string cIE::Version() const
{
    return RuntimeVersion();
}

void cIE::SetRuntimeVersion(std::string version)
{
    RuntimeVersion() = std::move(version);
}

LoadOutcome cIE::GetBookMarks()
{
    m_bookmarks.reset();
    m_loadedHashes.clear();
    const std::string favorites = GetSpecialFolderPath(CSIDL_FAVORITES);
    const std::vector<std::string> files
        = favorites.empty() ? std::vector<std::string>() : FindFiles(favorites, "*.url", true);
    if (files.empty())
        return {nullptr, m_isInstalled ? "" : "there is no Favorites folder to read", "No favorites can be located"};
    m_bookmarks = std::make_shared<cBookmarks>();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ShortcutPlace place = DescribeShortcut(files[i], favorites);
        m_bookmarks->Add(place.name, {}, place.folder, static_cast<std::int32_t>(i + 1), files[i]);
        if (const std::optional<std::string> bytes = ReadFileBytes(files[i]))
            m_loadedHashes[files[i]] = HashOf(*bytes);
    }
    return {m_bookmarks, {}, {}};
}

CleanOutcome cIE::CleanUpBookmarks()
{
    CleanOutcome outcome;
    if (!m_bookmarks)
        return outcome;
    const std::string favorites = GetSpecialFolderPath(CSIDL_FAVORITES);
    const MarkedShortcuts marked = ReadMarked(*m_bookmarks, favorites, m_loadedHashes, outcome);
    if (marked.paths.empty())
        return outcome;
    // Deleted shortcuts have no other way back: without their copy on the disk, none goes.
    const BackupCopy backup = MakeBackup({favorites, "Favorites", ""}, marked.copies);
    if (!backup)
        return NotCleaned("No copy of the favorites could be made in " + BackupFolder());
    outcome.backups.push_back(*backup);
    DeleteShortcuts(marked, outcome);
    return outcome;
}

}  // namespace brimtor
