#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "support/Outcome.hpp"

// Whole-file reads and writes in binary mode: the bytes on disk are the bytes in memory.
namespace brimtor {

// The whole file, when it is a regular file (links followed) of at most 256 MiB; else why not,
// naming the file: "cannot open PATH: REASON", "PATH is not a regular file" (a FIFO, a device, a
// folder) or "PATH is larger than 256 MiB". Nothing waits: a FIFO is refused, not read.
Outcome<std::string> ReadRegularFile(const std::string& path);

// The same file handed to `take` a megabyte at a time, so a large file is never held whole;
// `take` returns false to stop early. The same refusals as ReadRegularFile.
Outcome<> ReadRegularFileInChunks(const std::string& path, const std::function<bool(std::string_view)>& take);

// ReadRegularFile without the reason: nothing when the file is missing, unreadable or refused.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Creates or truncates the file and writes the bytes; false on any failure. A file it creates
// is private to the user (0600), since everything the program writes this way holds their data.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Creates a new file under a name made from the pattern (its last six characters "XXXXXX"
// become unique ones), private to the user (0600), writes the bytes and flushes them to the
// disk. Its name, or nothing, and no file left, on any failure.
std::optional<std::string> WriteTemporaryFile(std::string pattern, std::string_view bytes);

// Adds the bytes at the end of the file, creating it private to the user (0600) when missing;
// false on any failure.
bool AppendFileBytes(const std::string& path, const std::string& bytes);

// Replaces the file in one step: the bytes go to a temporary file beside it, which is then
// renamed over the target, so a failure half-way never leaves a half-written file. A target
// that exists keeps its owner, group and permissions (the temporary file is given them before
// the rename, so a file rewritten by root stays its user's); one that is read-only (no write
// bit set, or not writable by us) is refused, since the user marked it so. A symbolic link is
// followed and its target replaced.
Outcome<> ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// Gives a file or folder a new name unless something already has that name: false, with errno
// EEXIST, and nothing renamed then. Where the file system cannot refuse in the rename itself, a
// file is linked under the new name and unlinked under the old, and a folder takes the place of
// an empty folder made for it under the new name.
bool RenameNoReplace(const std::string& from, const std::string& to);

// Flushes a file's or a folder's contents to the disk (fsync), so they survive a power cut; for
// a folder that is the names in it. False when that failed.
bool FlushToDisk(const std::string& path);

// One step on the way to the disk: a file or folder flushed (path), or renamed (path to newPath).
struct DiskStep {
    enum Kind { Flush, Rename } kind;
    std::string path;
    std::string newPath;
};
using DiskWatcher = std::function<void(const DiskStep&)>;

// Installs a watcher told of every flush and rename above, in the order they reach the disk,
// and returns the previous one; an empty one tells nobody. For tests of what is durable when.
DiskWatcher SetDiskWatcher(DiskWatcher watcher);

// Creates the folder and any missing parents; new folders are private to the user (0700).
bool MakePrivateFolders(const std::string& path);

}  // namespace brimtor
