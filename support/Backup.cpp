#include "support/Backup.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Clock.hpp"
#include "support/FileIo.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

namespace {

struct BackupName {
    std::string path;
    bool holdsTheBytes = false;  // an earlier copy in the same minute already has them
};

// The first name that is free or already holds these exact bytes.
BackupName ChooseBackupName(const std::string& stem, const std::string& extension,
                            const std::string& bytes)
{
    for (int n = 1;; ++n) {
        std::string name = stem;
        if (n > 1)
            name.append("_").append(std::to_string(n));
        name.append(extension);
        if (!FileExists(name))
            return {name, false};
        const auto existing = ReadFileBytes(name);
        if (existing && *existing == bytes)
            return {name, true};
    }
}

// The copy under BackupFolder() as prefix + stamp + extension.
BackupResult BackupBytes(const std::string& bytes, const std::string& prefix,
                         const std::string& extension)
{
    const std::string folder = BackupFolder();
    if (!MakePrivateFolders(folder))
        return {false, {}};
    const BackupName name =
        ChooseBackupName(folder + prefix + MinuteStamp(AppClock().Now()), extension, bytes);
    // Rewriting a copy that already holds the bytes could only lose it, were the write to fail.
    if (!name.holdsTheBytes && !WriteFileBytes(name.path, bytes))
        return {false, {}};
    ::chmod(name.path.c_str(), 0600);
    return {true, name.path};
}

// Waits until the file or folder is on the disk.
bool SyncToDisk(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    return (fd < 0 || ::close(fd) == 0) && synced;
}

}  // namespace

BackupResult BackupTextBytes(const std::string& bytes)
{
    return BackupBytes(bytes, "Backup_TextFile_", ".txt");
}

BackupResult BackupBookmarkBytes(const std::string& bytes, const std::string& browserWord)
{
    return BackupBytes(bytes, "Backup_" + browserWord + "_", ".html");
}

BackupResult BackupStoreBytes(const std::string& bytes, const std::string& browserWord,
                              const std::string& extension)
{
    const BackupResult backup = BackupBytes(bytes, "Backup_" + browserWord + "_", extension);
    if (!backup.ok || !SyncToDisk(backup.path) || !SyncToDisk(BackupFolder()))
        return {false, {}};
    return backup;
}

}  // namespace brimtor
