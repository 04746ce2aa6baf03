#pragma once

#include <string>

namespace brimtor {

// A private copy of an SQLite database and of the logs beside it: the write-ahead log, and a
// rollback journal that a crash left, so opening the copy read-write rolls half-written rows
// back as SQLite would. It lives in a folder of its own (0700) below PrivateCopyFolder(), which
// is the user's own, and the folder goes with the object on every way out. The user's files are
// only read.
class PrivateCopy {
public:
    // Throws std::exception saying why when the copy cannot be made; nothing is left then. A
    // file that is not a regular one (a FIFO, a device) is refused, not read.
    explicit PrivateCopy(const std::string& databasePath);
    ~PrivateCopy();
    PrivateCopy(const PrivateCopy&) = delete;
    PrivateCopy& operator=(const PrivateCopy&) = delete;

    const std::string& Path() const { return m_copy; }

private:
    std::string m_folder;
    std::string m_copy;
};

// Removes the copies left in PrivateCopyFolder() by runs that ended without removing their own
// (a crash, a kill): each copy's folder names the process that made it, and one whose process
// is gone is stale. The copies of running processes stay.
void RemoveStaleCopies();

}  // namespace brimtor
