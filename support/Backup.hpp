#pragma once

#include <string>

// Copies of bookmark sources taken just before they are rewritten.
namespace brimtor {

struct BackupResult {
    // False when a file that exists could not be copied: the caller must not rewrite it.
    bool ok = false;
    // The copy's full path; empty when there was nothing to copy.
    std::string path;
};

// Copies the file to BackupFolder() as "Backup_TextFile_" stamp ".txt".
BackupResult BackupTextFile(const std::string& path);
// The same for bytes the caller has just read from the file.
BackupResult BackupTextBytes(const std::string& bytes);

// Copies the file to BackupFolder() as "Backup_" browserWord "_" stamp ".html"; the word is
// "Firefox", "Netscape" or "User".
BackupResult BackupBookmarkFile(const std::string& path, const std::string& browserWord);
// The same for bytes the caller has just read from the file.
BackupResult BackupBookmarkBytes(const std::string& bytes, const std::string& browserWord);

// The copy itself: the file's bytes, read once, through BackupBytes. The backup folder is
// created (private to the user) even when the file does not exist.
BackupResult BackupFile(const std::string& path, const std::string& prefix,
                        const std::string& extension);

// Writes the bytes under BackupFolder() as prefix + stamp + extension, creating the folder
// (private to the user) when needed. A name already taken by a file with other contents is
// never overwritten: the copy becomes prefix stamp "_2" extension, "_3", and so on. A name
// taken by identical contents is reused as it is.
BackupResult BackupBytes(const std::string& bytes, const std::string& prefix,
                         const std::string& extension);

}  // namespace brimtor
