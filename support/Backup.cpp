#include "support/Backup.hpp"

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Clock.hpp"
#include "support/FileIo.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

struct BackupName {
    std::string path;
    bool holdsTheBytes = false;  // an earlier copy in the same minute already has them
};

// The first name that is free or already holds the same copy, as `holdsTheSame` judges.
BackupName ChooseBackupName(const std::string& stem, const std::string& extension,
                            const std::function<bool(const std::string&)>& holdsTheSame)
{
    for (int n = 1;; ++n) {
        std::string name = stem;
        if (n > 1)
            name.append("_").append(std::to_string(n));
        name.append(extension);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(name, ec)))
            return {name, false};
        if (holdsTheSame(name))
            return {name, true};
    }
}

// BackupFolder() + prefix + this minute's stamp, the folder made; empty when it cannot be made.
std::string StampedStem(const std::string& prefix)
{
    const std::string folder = BackupFolder();
    if (!MakePrivateFolders(folder))
        return {};
    return folder + prefix + MinuteStamp(AppClock().Now());
}

// The copy under BackupFolder() as prefix + stamp + extension.
BackupCopy BackupBytes(const std::string& bytes, const std::string& prefix,
                         const std::string& extension)
{
    const std::string stem = StampedStem(prefix);
    if (stem.empty())
        return std::nullopt;
    const BackupName name = ChooseBackupName(stem, extension, [&bytes](const std::string& path) {
        const auto existing = ReadFileBytes(path);
        return existing && *existing == bytes;
    });
    // Rewriting a copy that already holds the bytes could only lose it, were the write to fail.
    // The source is replaced right after this: a new copy, and its name in the folder, are on
    // the disk first, or a power cut could leave the new source and no backup.
    if (!name.holdsTheBytes && !WriteFileDurably(name.path, bytes))
        return std::nullopt;
    ::chmod(name.path.c_str(), 0600);
    return name.path;
}

// Writes each file at its place inside `folder`, then flushes every file and folder to the disk
// (the backup folder too, which holds the new folder's name).
bool WriteFlushedTree(const std::string& folder, const std::vector<BackupFile>& files)
{
    for (const BackupFile& file : files) {
        const fs::path below = fs::path(file.relativePath).lexically_normal();
        if (below.empty() || below.is_absolute() || *below.begin() == "..")
            return false;  // a copy never lands outside its folder
        const fs::path path = fs::path(folder) / below;
        if (!MakePrivateFolders(path.parent_path().string()) || !WriteFileBytes(path.string(), file.bytes)
            || !FlushToDisk(path.string()))
            return false;
    }
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec) && !FlushToDisk(it->path().string()))
            return false;
    }
    return !ec && FlushToDisk(folder) && FlushToDisk(BackupFolder());
}

}  // namespace

BackupCopy BackupTextBytes(const std::string& bytes)
{
    return BackupBytes(bytes, "Backup_TextFile_", ".txt");
}

BackupCopy BackupBookmarkBytes(const std::string& bytes, const std::string& browserWord)
{
    return BackupBytes(bytes, "Backup_" + browserWord + "_", ".html");
}

BackupCopy BackupFiles(const std::vector<BackupFile>& files, const std::string& sourceWord)
{
    const std::string stem = StampedStem("Backup_" + sourceWord + "_");
    if (stem.empty())
        return std::nullopt;
    const std::string folder = ChooseBackupName(stem, "", [](const std::string&) { return false; }).path;
    if (MakePrivateFolders(folder) && WriteFlushedTree(folder, files))
        return folder;
    std::error_code ignored;
    fs::remove_all(folder, ignored);  // half a copy would pass for a backup in the backup window
    return std::nullopt;
}

BackupCopy BackupStoreBytes(const std::string& bytes, const std::string& browserWord,
                              const std::string& extension)
{
    return BackupBytes(bytes, "Backup_" + browserWord + "_", extension);
}

}  // namespace brimtor
