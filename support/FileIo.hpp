#pragma once

#include <optional>
#include <string>

#include "support/Outcome.hpp"

// Whole-file reads and writes in binary mode: the bytes on disk are the bytes in memory.
namespace brimtor {

// The whole file, when it is a regular file (links followed) of at most 256 MiB; else why not,
// naming the file: "cannot open PATH: REASON", "PATH is not a regular file" (a FIFO, a device, a
// folder) or "PATH is larger than 256 MiB". Nothing waits: a FIFO is refused, not read.
Outcome<std::string> ReadRegularFile(const std::string& path);

// ReadRegularFile without the reason: nothing when the file is missing, unreadable or refused.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Creates or truncates the file and writes the bytes; false on any failure. A file it creates
// is private to the user (0600), since everything the program writes this way holds their data.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// WriteFileBytes, then flushed to disk with the folder entry that names it: on success the file
// is there even if the machine stops the next moment.
bool WriteFileDurably(const std::string& path, const std::string& bytes);

// Adds the bytes at the end of the file, creating it private to the user (0600) when missing;
// false on any failure.
bool AppendFileBytes(const std::string& path, const std::string& bytes);

// Replaces the file in one step: the bytes go to a temporary file beside it, which is then
// renamed over the target, so a failure half-way never leaves a half-written file. A target
// that exists keeps its permissions; one that is read-only (no write bit set, or not writable
// by us) is refused, since the user marked it so. A symbolic link is followed and its target
// replaced.
Outcome<> ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// Flushes a file's or a folder's contents to the disk (fsync), so they survive a power cut; for
// a folder that is the names in it. False when that failed.
bool FlushToDisk(const std::string& path);

// Creates the folder and any missing parents; new folders are private to the user (0700).
bool MakePrivateFolders(const std::string& path);

}  // namespace brimtor
