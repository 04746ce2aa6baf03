#include "support/Backup.hpp"

#include <sys/stat.h>

#include "support/Clock.hpp"
#include "support/FileIo.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

// The first name that is free or already holds these exact bytes.
static std::string ChooseBackupName(const std::string& stem, const std::string& extension,
                                    const std::string& bytes)
{
    for (int n = 1;; ++n) {
        std::string name = stem;
        if (n > 1)
            name.append("_").append(std::to_string(n));
        name.append(extension);
        if (!FileExists(name))
            return name;
        const auto existing = ReadFileBytes(name);
        if (existing && *existing == bytes)
            return name;
    }
}

BackupResult BackupFile(const std::string& path, const std::string& prefix,
                        const std::string& extension)
{
    const std::string folder = BackupFolder();
    const bool folderReady = MakePrivateFolders(folder);
    if (!FileExists(path))
        return {true, {}};
    const auto bytes = ReadFileBytes(path);
    if (!folderReady || !bytes)
        return {false, {}};
    const std::string name =
        ChooseBackupName(folder + prefix + MinuteStamp(AppClock().Now()), extension, *bytes);
    if (!WriteFileBytes(name, *bytes))
        return {false, {}};
    ::chmod(name.c_str(), 0600);
    return {true, name};
}

BackupResult BackupTextFile(const std::string& path)
{
    return BackupFile(path, "Backup_TextFile_", ".txt");
}

BackupResult BackupBookmarkFile(const std::string& path, const std::string& browserWord)
{
    return BackupFile(path, "Backup_" + browserWord + "_", ".html");
}

}  // namespace brimtor
