#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Copies of bookmark sources taken just before they change, in BackupFolder() (created private
// to the user when needed) as "Backup_" word "_" stamp extension, with "_2", "_3", … after the
// stamp when that name is taken. A copy is written under a hidden temporary name in the backup
// folder and flushed to the disk, and only then given its name by a rename that never replaces
// an existing one. So runs started at the same moment get a copy each, no copy is ever written
// into by another run, and a copy that could not be finished (a full disk) is removed: a backup
// name always holds a whole copy. The backup folder, which names the copy, is flushed too
// before it counts as made. Each gives the copy's full path, or nothing when the copy could not
// be made: the caller must then leave the source as it is.
//
// Beside every copy lies its record, "<copy name>.origin": one line, the absolute path the copy
// was taken from, so the copy can be put back where it came from without guessing. The record is
// written and flushed under a hidden name too and named with its copy; a copy is never left
// without its record, nor a record without its copy, by a failure.
namespace brimtor {

using BackupCopy = std::optional<std::string>;

// What a backup copies and how its copy is named.
struct BackupOf {
    std::string origin;     // the file or folder the copy is taken from; recorded absolute
    std::string word;       // "TextFile", "User", "Firefox", "Netscape", "Chromium", "Favorites"
    std::string extension;  // of a file's copy: ".txt", ".html", ".json", ".sqlite"; none for a folder
};

// One file of a folder backup: its path below the folder it was read from, and its bytes. A path
// ending with "/" records a folder instead, made empty in the copy.
struct BackupFile {
    std::string relativePath;  // "News/a.url", or "News/Old/"
    std::string bytes;
};

// A copy of one file's bytes.
BackupCopy MakeBackup(const BackupOf& what, std::string_view bytes);
// A copy of files of a folder, each at its relative path inside the copy and never outside it.
BackupCopy MakeBackup(const BackupOf& what, const std::vector<BackupFile>& files);

// Why the source `what` was not changed: no copy of it could be made.
std::string NoBackupReason(const std::string& what);

// The name of a copy's record: "<copy>.origin".
std::string OriginRecordOf(const std::string& copy);
// The absolute path the copy was taken from, as its record says; nothing for a copy without a
// readable record, such as one made before records were kept.
std::optional<std::string> BackupOrigin(const std::string& copy);

}  // namespace brimtor
