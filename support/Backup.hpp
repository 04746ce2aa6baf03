#pragma once

#include <optional>
#include <string>
#include <vector>

// Copies of bookmark sources taken just before they are rewritten: the bytes just read from the
// source go into BackupFolder(), created private to the user when needed. A name already taken
// by a file with other contents is never overwritten: the copy becomes stamp "_2", "_3", and so
// on. A name taken by identical contents is reused as it is. A copy counts as made only once it
// and its folder are flushed to the disk. Each gives the copy's full path, or nothing when the
// copy could not be made: the caller must then not rewrite the source.
namespace brimtor {

using BackupCopy = std::optional<std::string>;

// As "Backup_TextFile_" stamp ".txt".
BackupCopy BackupTextBytes(const std::string& bytes);

// As "Backup_" browserWord "_" stamp ".html"; the word is "Firefox", "Netscape" or "User".
BackupCopy BackupBookmarkBytes(const std::string& bytes, const std::string& browserWord);

// One file of a folder backup: its path below the folder it was read from, and its bytes.
struct BackupFile {
    std::string relativePath;  // "News/a.url"
    std::string bytes;
};

// As folder "Backup_" sourceWord "_" stamp, each file at its relative path inside it. Every file
// and folder is on the disk when it returns, so the originals may then be deleted. An existing
// folder is never written into: a second folder backup in the same minute gets "_2", and so on.
// A copy that fails half-way is removed again.
BackupCopy BackupFiles(const std::vector<BackupFile>& files, const std::string& sourceWord);

// As "Backup_" browserWord "_" stamp extension, for a browser's own store ("Firefox", ".sqlite").
// The copy and its folder are flushed to disk before it counts as made, since the store is
// changed in place next.
BackupCopy BackupStoreBytes(const std::string& bytes, const std::string& browserWord,
                              const std::string& extension);

}  // namespace brimtor
