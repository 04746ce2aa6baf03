#pragma once

#include <string>
#include <vector>

#include "support/Outcome.hpp"

// The backup copies the backup window lists, opens and deletes.
namespace brimtor {

// The image a backup row shows: which browser's bookmark file it copies.
enum class BackupImage { None = 0, Netscape = 1, Firefox = 3 };

struct BackupEntry {
    std::string path;  // full path
    std::string name;  // file or folder name alone, as listed
    BackupImage image = BackupImage::None;
};

// The .html and .txt files directly in the backup folder, then its other "Backup_" files
// whatever a source's copy ends with (".json", ".sqlite"), each group in name order, then the
// folder backups there (one entry per "Backup_" folder), in name order. The records of where the
// copies come from (".origin") are not listed.
std::vector<BackupEntry> ListBackups();

// Netscape when the path names it after its first character (any case), else Firefox likewise.
BackupImage BackupImageFor(const std::string& path);

// Deletes each file that still exists, and each folder with all it holds, and then the record of
// where it came from; one that vanished meanwhile is skipped. Stops at the first one that exists
// and cannot be deleted.
Outcome<> DeleteBackups(const std::vector<std::string>& paths);

}  // namespace brimtor
