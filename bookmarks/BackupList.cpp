#include "bookmarks/BackupList.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "support/Backup.hpp"
#include "support/Text.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

// The folder backups ("Backup_" folders directly in the backup folder), in name order.
void AddFolderBackups(std::vector<BackupEntry>& entries)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(BackupFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (it->is_directory(ec) && WildcardMatch(name, "Backup_*"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        entries.push_back({BackupFolder() + name, name, BackupImageFor(BackupFolder() + name)});
}

}  // namespace

std::vector<BackupEntry> ListBackups()
{
    std::vector<BackupEntry> entries;
    for (const std::string& path : FindFiles(BackupFolder(), "*.html;*.txt;Backup_*", false)) {
        if (!IEndsWith(path, ".origin"))  // a copy's record goes with its copy, unlisted
            entries.push_back({path, GetFileName(path), BackupImageFor(path)});
    }
    AddFolderBackups(entries);
    return entries;
}

BackupImage BackupImageFor(const std::string& path)
{
    if (IFind(path, "netscape", 1) != std::string::npos)
        return BackupImage::Netscape;
    if (IFind(path, "firefox", 1) != std::string::npos)
        return BackupImage::Firefox;
    return BackupImage::None;
}

Outcome<> DeleteBackups(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        std::error_code failure;
        if (FolderExists(path))
            fs::remove_all(path, failure);  // a folder backup goes whole
        else if (FileExists(path) && std::remove(path.c_str()) != 0)
            failure.assign(errno, std::generic_category());
        if (failure)
            return Failure {"Cannot delete " + path + ": " + failure.message()};
        // Only once the copy is gone: a failure keeps the copy with its record.
        if (std::remove(OriginRecordOf(path).c_str()) != 0 && errno != ENOENT)
            return Failure {"Cannot delete " + OriginRecordOf(path) + ": " + std::strerror(errno)};
    }
    return {};
}

}  // namespace brimtor
