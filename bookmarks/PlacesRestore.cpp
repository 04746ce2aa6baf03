#include "bookmarks/PlacesRestore.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <sqlite3.h>

#include "bookmarks/BrowserLock.hpp"
#include "bookmarks/PlacesCleaner.hpp"
#include "bookmarks/PlacesReader.hpp"
#include "bookmarks/SqliteDatabase.hpp"
#include "support/Backup.hpp"
#include "support/FileIo.hpp"

namespace brimtor {

namespace {

// What is wrong with the database image, by SQLite's full check; empty when nothing is.
std::string IntegrityComplaint(const std::string& image)
{
    try {
        SqliteDatabase db(":memory:", SqliteDatabase::Access::ReadWrite);
        const sqlite3_int64 size = static_cast<sqlite3_int64>(image.size());
        auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(image.size() + 1));
        if (copy == nullptr)
            return "out of memory";
        std::memcpy(copy, image.data(), image.size());
        // Checked as a lone file: a header asking for a write-ahead log has none to read here.
        if (image.size() > 19)
            copy[18] = copy[19] = 1;
        db.Check(sqlite3_deserialize(db.Handle(), "main", copy, size, size,
                                     SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY));
        SqliteDatabase::Statement check(db, "PRAGMA integrity_check");
        return check.Step() && check.Text(0) == "ok" ? std::string() : "it fails SQLite's integrity check";
    } catch (const SqliteError& error) {
        return error.what();
    }
}

// A backup copy of the database as it is now, taken while no other program may write it, and
// everything its log holds moved into the file, so the log can go; "" when there is no database.
// One SQLite cannot read, which may be the very reason to put a backup back, is copied as it is.
Outcome<std::string> SaveCurrent(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return std::string();
    BackupCopy copy;
    try {
        SqliteDatabase db(path, SqliteDatabase::Access::ReadWrite);
        db.Exec("BEGIN IMMEDIATE");
        copy = BackupDatabase(path);
        db.Exec(copy ? "COMMIT; PRAGMA wal_checkpoint(TRUNCATE)" : "ROLLBACK");
    } catch (const SqliteError& error) {
        if (error.Busy())
            return Failure {kFirefoxRunsHere};
        const std::optional<std::string> bytes = ReadFileBytes(path);
        copy = bytes ? MakeBackup({path, "Firefox", ".sqlite"}, *bytes) : std::nullopt;
    }
    if (!copy)
        return Failure {NoBackupReason(path)};
    return *copy;
}

Outcome<> RemoveLogs(const std::string& path)
{
    for (const char* log : {"-wal", "-shm"}) {
        if (std::remove((path + log).c_str()) != 0 && errno != ENOENT)
            return Failure {"Cannot remove " + path + log + ": " + std::strerror(errno)};
    }
    return {};
}

}  // namespace

RestoreOutcome RestorePlaces(const std::string& backup, const std::string& databasePath)
{
    const std::optional<std::string> image = ReadFileBytes(backup);
    if (!image)
        return Failure {"cannot open " + backup};
    if (const std::string complaint = IntegrityComplaint(*image); !complaint.empty())
        return Failure {backup + " is damaged (" + complaint + "), so " + databasePath + " was left unchanged"};
    const PlacesLoad held = ReadPlaces(backup);
    if (!held.bookmarks)
        return Failure {held.reason};
    const std::string profile = std::filesystem::path(databasePath).parent_path().string();
    if (const std::optional<std::string> running = FirefoxRunning(profile))
        return Failure {*running};
    const Outcome<std::string> saved = SaveCurrent(databasePath);
    if (!saved)
        return Failure {saved.Reason()};
    Outcome<> replaced = RemoveLogs(databasePath);
    if (replaced)
        replaced = ReplaceFileAtomically(databasePath, *image);
    if (!replaced)
        return Failure {replaced.Reason()};
    return Restored {held.bookmarks->Count(), {}, *saved};
}

}  // namespace brimtor
