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

// Copies the file to BackupFolder() as "Backup_" browserWord "_" stamp ".html"; the word is
// "Firefox", "Netscape" or "User".
BackupResult BackupBookmarkFile(const std::string& path, const std::string& browserWord);

// The copy itself, under BackupFolder() with prefix + stamp + extension. The backup folder is
// created (private to the user) even when the file does not exist. A name already taken by a
// file with other contents is never overwritten: the copy becomes prefix stamp "_2" extension,
// "_3", and so on. A name taken by identical contents is reused.
BackupResult BackupFile(const std::string& path, const std::string& prefix,
                        const std::string& extension);

}  // namespace brimtor
