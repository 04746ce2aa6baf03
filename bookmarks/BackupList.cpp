#include "bookmarks/BackupList.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "support/NumberedError.hpp"
#include "support/Text.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

std::vector<BackupEntry> ListBackups()
{
    std::vector<BackupEntry> entries;
    for (const std::string& path : FindFiles(BackupFolder(), "*.html;*.txt;*.sqlite", false))
        entries.push_back({path, GetFileName(path), BackupImageFor(path)});
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

void DeleteBackups(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (FileExists(path) && std::remove(path.c_str()) != 0) {
            throw NumberedError(ErrorNumber::PermissionDenied, "BackupList: DeleteBackups",
                                "Cannot delete " + path + ": " + std::strerror(errno));
        }
    }
}

}  // namespace brimtor
