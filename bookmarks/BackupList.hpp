#pragma once

#include <string>
#include <vector>

// The backup copies the backup window lists, opens and deletes.
namespace brimtor {

// The image a backup row shows: which browser's bookmark file it copies.
enum class BackupImage { None = 0, Netscape = 1, Firefox = 3 };

struct BackupEntry {
    std::string path;  // full path
    std::string name;  // file or folder name alone, as listed
    BackupImage image = BackupImage::None;
};

// The .html, .txt, .json (a Chromium-family browser's file) and .sqlite (Firefox's database)
// files directly in the backup folder, in name order, then the folder backups there (one entry
// per "Backup_" folder), in name order.
std::vector<BackupEntry> ListBackups();

// Netscape when the path names it after its first character (any case), else Firefox likewise.
BackupImage BackupImageFor(const std::string& path);

// Deletes each file that still exists, and each folder with all it holds; one that vanished
// meanwhile is skipped. Throws NumberedError when one that exists cannot be deleted.
void DeleteBackups(const std::vector<std::string>& paths);

}  // namespace brimtor
