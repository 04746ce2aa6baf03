#include "bookmarks/cIE.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <unordered_set>
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

// A marked folder as it is now: only what the load listed in it, unchanged.
struct MarkedFolder {
    std::string below;                 // "News/Old"
    std::vector<std::string> files;    // its shortcuts, at any depth
    std::vector<std::string> folders;  // its folders, each after those inside it, itself last
    std::int32_t marked = 0;           // of those, the ones marked
};

// The marked shortcuts and folders still there, each read for the backup.
struct MarkedShortcuts {
    std::vector<std::string> paths;
    std::vector<BackupFile> copies;  // copies[i] is paths[i] as read; then the folders' contents
    std::vector<MarkedFolder> folders;
};

using Hashes = std::unordered_map<std::string, std::size_t>;

// The visible sub-folders of the Favorites, as FindFiles walks them, become the load's folders;
// their paths by FolderID - 1. The FolderID of every path.
std::unordered_map<std::string, std::int32_t> ListFolders(const std::string& favorites, cFolders& folders,
                                                          std::vector<std::string>& paths)
{
    std::unordered_map<std::string, std::int32_t> ids;
    for (const std::string& path : FindFolders(favorites)) {
        const std::string parent = std::filesystem::path(path).parent_path().string();
        const auto above = ids.find(parent);
        const bool top = above == ids.end();
        const std::string where = top ? std::string() : BelowFavorites(parent, favorites) + "/";
        const std::int32_t id = ListFolder(folders, GetFileName(path), where, top ? 0 : above->second).FolderID;
        ids[path] = id;  // only now, as adding to ids may move what `above` points at
        paths.push_back(path);
    }
    return ids;
}

// A folder holding more than its listed folders and shortcuts (a hidden file, a linked folder,
// any other file) holds what no clean may take: it is never taken for empty.
void KeepFoldersHoldingOthers(cFolders& folders, const std::vector<std::string>& paths, const cBookmarks& bookmarks)
{
    std::vector<std::size_t> listed(folders.size() + 1, 0);
    for (const cFolder& folder : folders)
        ++listed[static_cast<std::size_t>(folder.ParentID)];
    for (const BookmarkPtr& bookmark : bookmarks)
        ++listed[static_cast<std::size_t>(bookmark->FolderID)];
    for (std::size_t i = 0; i < folders.size(); ++i) {
        std::error_code ec;
        std::size_t entries = 0;
        for (std::filesystem::directory_iterator it(paths[i], ec), end; !ec && it != end; it.increment(ec))
            ++entries;
        folders[i].AlwaysKept = ec || entries != listed[i + 1];
    }
}

// Reads what the marked folder holds now, with the backup copies of its shortcuts and a record of
// each of its folders; false when it holds anything the load did not list as it was then.
bool ReadFolder(const std::string& path, const std::string& favorites, const Hashes& loaded,
                const std::unordered_set<std::string>& markedPaths, MarkedFolder& folder, std::vector<BackupFile>& copies)
{
    std::error_code ec;
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().string();
        std::error_code typeError;
        if (it->is_directory(typeError) && !it->is_symlink(typeError)) {
            if (!ReadFolder(entry, favorites, loaded, markedPaths, folder, copies))
                return false;
            continue;
        }
        std::optional<std::string> bytes = ReadFileBytes(entry);
        const auto hash = loaded.find(entry);
        if (!bytes || hash == loaded.end() || hash->second != HashOf(*bytes))
            return false;
        folder.files.push_back(entry);
        copies.push_back({BelowFavorites(entry, favorites), std::move(*bytes)});
    }
    folder.folders.push_back(path);
    folder.marked += markedPaths.count(path) ? 1 : 0;
    copies.push_back({BelowFavorites(path, favorites) + "/", {}});
    return !ec;
}

// Every marked folder not inside another marked one, as it is now; one that changed since the
// load is kept and reported.
void ReadMarkedFolders(const cFolders& folders, const std::vector<std::string>& paths, const std::string& favorites,
                       const Hashes& loaded, MarkedShortcuts& marked, CleanOutcome& outcome)
{
    std::unordered_set<std::string> markedPaths;
    for (const cFolder& folder : folders) {
        if (folder.Clean)
            markedPaths.insert(paths[static_cast<std::size_t>(folder.FolderID) - 1]);
    }
    std::vector<bool> covered(folders.size() + 1, false);  // by FolderID: it or a folder above it is marked
    for (const cFolder& folder : folders) {
        const auto id = static_cast<std::size_t>(folder.FolderID);
        const bool above = covered[static_cast<std::size_t>(folder.ParentID)];
        covered[id] = folder.Clean || above;
        if (!folder.Clean || above)
            continue;
        MarkedFolder taken {BelowFavorites(paths[id - 1], favorites), {}, {}, 0};
        std::vector<BackupFile> copies;
        if (!ReadFolder(paths[id - 1], favorites, loaded, markedPaths, taken, copies)) {
            outcome.failures.push_back(taken.below + ": changed since it was checked");
            continue;
        }
        std::move(copies.begin(), copies.end(), std::back_inserter(marked.copies));
        marked.folders.push_back(std::move(taken));
    }
}

// Reads every marked shortcut. One already gone counts as removed; one that cannot be read
// cannot be backed up, and one whose bytes are not those loaded may now hold a link nobody
// checked: both are kept and reported.
MarkedShortcuts ReadMarked(const cBookmarks& bookmarks, const std::string& favorites, const Hashes& loaded,
                           CleanOutcome& outcome)
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

// Takes each marked folder out, its shortcuts first, each folder after those inside it; one that
// cannot be taken out whole is named with why.
void DeleteFolders(const MarkedShortcuts& marked, CleanOutcome& outcome)
{
    for (const MarkedFolder& folder : marked.folders) {
        int error = 0;
        for (const std::string& file : folder.files) {
            if (error == 0 && ::unlink(file.c_str()) != 0 && errno != ENOENT)
                error = errno;
        }
        for (const std::string& inside : folder.folders) {
            if (error == 0 && ::rmdir(inside.c_str()) != 0)
                error = errno;
        }
        if (error == 0)
            outcome.removedFolders += folder.marked;
        else
            outcome.failures.push_back(folder.below + ": " + std::strerror(error));
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
    m_folders.reset();
    m_loadedHashes.clear();
    const std::string favorites = GetSpecialFolderPath(CSIDL_FAVORITES);
    const std::vector<std::string> files
        = favorites.empty() ? std::vector<std::string>() : FindFiles(favorites, "*.url", true);
    if (files.empty())
        return {nullptr, m_isInstalled ? "" : "there is no Favorites folder to read", "No favorites can be located"};
    m_bookmarks = std::make_shared<cBookmarks>();
    m_folders = std::make_shared<cFolders>();
    m_folderPaths.clear();
    const auto folderIds = ListFolders(favorites, *m_folders, m_folderPaths);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ShortcutPlace place = DescribeShortcut(files[i], favorites);
        const BookmarkPtr bookmark = m_bookmarks->Add(place.name, {}, place.folder, static_cast<std::int32_t>(i + 1), files[i]);
        const auto folder = folderIds.find(std::filesystem::path(files[i]).parent_path().string());
        bookmark->FolderID = folder == folderIds.end() ? 0 : folder->second;
        if (const std::optional<std::string> bytes = ReadFileBytes(files[i]))
            m_loadedHashes[files[i]] = HashOf(*bytes);
    }
    KeepFoldersHoldingOthers(*m_folders, m_folderPaths, *m_bookmarks);
    LoadOutcome loaded {m_bookmarks, {}, {}};
    loaded.folders = m_folders;
    return loaded;
}

CleanOutcome cIE::CleanUpBookmarks()
{
    CleanOutcome outcome;
    if (!m_bookmarks)
        return outcome;
    const std::string favorites = GetSpecialFolderPath(CSIDL_FAVORITES);
    MarkedShortcuts marked = ReadMarked(*m_bookmarks, favorites, m_loadedHashes, outcome);
    ReadMarkedFolders(*m_folders, m_folderPaths, favorites, m_loadedHashes, marked, outcome);
    if (marked.copies.empty())
        return outcome;
    // Deleted shortcuts have no other way back: without their copy on the disk, none goes.
    const BackupCopy backup = MakeBackup({favorites, "Favorites", ""}, marked.copies);
    if (!backup)
        return NotCleaned("No copy of the favorites could be made in " + BackupFolder());
    outcome.backups.push_back(*backup);
    DeleteShortcuts(marked, outcome);
    DeleteFolders(marked, outcome);
    return outcome;
}

}  // namespace brimtor
