#include "support/Backup.hpp"

#include <sys/stat.h>

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
    // The source is replaced right after this: the copy, and its name in the folder, must be on
    // the disk first, or a power cut could leave the new source and no backup.
    if (!FlushToDisk(name.path) || !FlushToDisk(folder))
        return {false, {}};
    return {true, name.path};
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

}  // namespace brimtor
