#pragma once

#include <string>

// Copies of bookmark sources taken just before they are rewritten: the bytes just read from the
// source go into BackupFolder(), created private to the user when needed. A name already taken
// by a file with other contents is never overwritten: the copy becomes stamp "_2", "_3", and so
// on. A name taken by identical contents is reused as it is.
namespace brimtor {

struct BackupResult {
    // False when the copy could not be made: the caller must not rewrite the source.
    bool ok = false;
    // The copy's full path.
    std::string path;
};

// As "Backup_TextFile_" stamp ".txt".
BackupResult BackupTextBytes(const std::string& bytes);

// As "Backup_" browserWord "_" stamp ".html"; the word is "Firefox", "Netscape" or "User".
BackupResult BackupBookmarkBytes(const std::string& bytes, const std::string& browserWord);

// As "Backup_" browserWord "_" stamp extension, for a browser's own store ("Firefox", ".sqlite").
// The copy and its folder are flushed to disk before it counts as made, since the store is
// changed in place next.
BackupResult BackupStoreBytes(const std::string& bytes, const std::string& browserWord,
                              const std::string& extension);

}  // namespace brimtor
