#include "bookmarks/PlacesCleaner.hpp"

#include <chrono>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include <sqlite3.h>

#include "bookmarks/BrowserLock.hpp"
#include "bookmarks/SqliteDatabase.hpp"
#include "support/Backup.hpp"

namespace brimtor {

namespace {

// Firefox's syncStatus of a bookmark the sync server holds.
constexpr std::int64_t kSynced = 2;

using Statement = SqliteDatabase::Statement;

CleanOutcome Refused(bool running, const std::string& reason = {})
{
    return running ? RefusedWhileRunning(kFirefoxRunsHere) : NotCleaned(reason);
}

// Firefox's time: microseconds since 1970.
std::int64_t Now()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// Runs a statement that returns no rows, ready to run again.
void Run(Statement& statement)
{
    statement.Step();
    statement.Reset();
}

// The row is still the one that was loaded; ?1 to ?5 are bound by BindRow. A folder or a
// separator has no place.
const std::string kSameRow
    = "id = ?1 AND type = ?5 AND IFNULL(guid, '') = ?2 AND IFNULL(fk, 0) = ?3 AND parent = ?4";

Statement& BindRow(Statement& statement, const PlacesRow& row)
{
    return statement.Bind(1, row.id).Bind(2, row.guid).Bind(3, row.fk).Bind(4, row.parent).Bind(5, row.type);
}

// What one clean removes, each row after everything in it: every marked folder with all it held
// at the load, and every marked bookmark; and how many rows each of those folders held.
struct Removal {
    std::vector<const PlacesRow*> rows;
    std::vector<std::pair<const PlacesRow*, std::size_t>> folders;
};

using Children = std::unordered_map<std::int64_t, std::vector<const PlacesRow*>>;

// The folder's rows, depth first, then the folder. Its nesting was bounded when it was read.
void TakeFolder(const PlacesRow& folder, const Children& children, Removal& removal,
                std::unordered_set<std::int64_t>& taken)
{
    taken.insert(folder.id);
    const auto inside = children.find(folder.id);
    const std::size_t count = inside == children.end() ? 0 : inside->second.size();
    for (std::size_t i = 0; i < count; ++i) {
        const PlacesRow& row = *inside->second[i];
        if (row.type == kFolderType)
            TakeFolder(row, children, removal, taken);
        else if (taken.insert(row.id).second)
            removal.rows.push_back(&row);
    }
    removal.rows.push_back(&folder);
    removal.folders.emplace_back(&folder, count);
}

Removal MarkedRows(const PlacesLoad& load)
{
    Removal removal;
    std::unordered_set<std::int64_t> taken;
    Children children;
    if (CountMarked(load.folders) > 0) {
        for (const PlacesRows* rows : {&load.rows, &load.folderRows, &load.otherRows}) {
            for (const PlacesRow& row : *rows)
                children[row.parent].push_back(&row);
        }
    }
    // A folder comes before the folders inside it, so one inside a marked folder is taken with it.
    for (std::size_t i = 0; load.folders && i < load.folders->size(); ++i) {
        const PlacesRow& folder = load.folderRows.at(i);
        if ((*load.folders)[i].Clean && !taken.count(folder.id))
            TakeFolder(folder, children, removal, taken);
    }
    for (const BookmarkPtr& bookmark : *load.bookmarks) {
        const PlacesRow& row = load.rows.at(static_cast<std::size_t>(bookmark->BookmarkID) - 1);
        if (bookmark->Clean && taken.insert(row.id).second)
            removal.rows.push_back(&row);
    }
    return removal;
}

// Every row is still as loaded, and every folder holds as many rows as it did: with each of them
// found where it was, nothing was added.
bool Unchanged(SqliteDatabase& db, const Removal& removal)
{
    const std::string sql = "SELECT (SELECT url FROM moz_places WHERE id = fk) FROM moz_bookmarks WHERE " + kSameRow;
    Statement same(db, sql.c_str());
    for (const PlacesRow* row : removal.rows) {
        const bool found = BindRow(same, *row).Step() && same.Text(0) == row->url;
        same.Reset();
        if (!found)
            return false;
    }
    Statement held(db, "SELECT count(*) FROM moz_bookmarks WHERE parent = ?1");
    for (const auto& [folder, count] : removal.folders) {
        const bool same = held.Bind(1, folder->id).Step() && held.Int(0) == static_cast<std::int64_t>(count);
        held.Reset();
        if (!same)
            return false;
    }
    return true;
}

}  // namespace

// Read through a connection of its own, since a connection cannot copy a database it is about
// to write.
BackupCopy BackupDatabase(const std::string& path)
{
    SqliteDatabase source(path, SqliteDatabase::Access::ReadOnly);
    SqliteDatabase copy(":memory:", SqliteDatabase::Access::ReadWrite);
    sqlite3_backup* backup = sqlite3_backup_init(copy.Handle(), "main", source.Handle(), "main");
    if (backup == nullptr)
        copy.Check(sqlite3_errcode(copy.Handle()));
    const int stepped = sqlite3_backup_step(backup, -1);
    copy.Check(sqlite3_backup_finish(backup));
    source.Check(stepped);
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(copy.Handle(), "main", &size, 0);
    if (bytes == nullptr)
        return std::nullopt;
    std::string image(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    sqlite3_free(bytes);
    // The header's read and write versions (offsets 18 and 19) say 2 for a database in WAL mode.
    // The copy is a lone file: 1 lets whoever opens it read it without making a log beside it,
    // and Firefox turns its WAL mode back on when the copy is put back.
    if (image.size() > 19)
        image[18] = image[19] = 1;
    return MakeBackup({path, "Firefox", ".sqlite"}, image);
}

namespace {

void RemoveRows(SqliteDatabase& db, const std::vector<const PlacesRow*>& marked)
{
    Statement row(db, ("SELECT position, syncStatus FROM moz_bookmarks WHERE " + kSameRow).c_str());
    Statement remove(db, ("DELETE FROM moz_bookmarks WHERE " + kSameRow).c_str());
    Statement closeGap(db, "UPDATE moz_bookmarks SET position = position - 1 WHERE parent = ?1 AND position > ?2");
    Statement uncount(db, "UPDATE moz_places SET foreign_count = foreign_count - 1 WHERE id = ?1");
    Statement tombstone(db, "INSERT OR REPLACE INTO moz_bookmarks_deleted (guid, dateRemoved) VALUES (?1, ?2)");
    // An address no bookmark names any more keeps no keyword, as Firefox's own removal does.
    const char* const unbookmarked = "NOT EXISTS (SELECT 1 FROM moz_bookmarks WHERE fk = ?1)";
    Statement uncountKeywords(db, (std::string("UPDATE moz_places SET foreign_count = foreign_count - "
                                               "(SELECT count(*) FROM moz_keywords WHERE place_id = ?1) WHERE id = ?1 AND ")
                                   + unbookmarked).c_str());
    Statement dropKeywords(db, (std::string("DELETE FROM moz_keywords WHERE place_id = ?1 AND ") + unbookmarked).c_str());
    Statement touch(db, "UPDATE moz_bookmarks SET lastModified = ?2, "
                        "syncChangeCounter = syncChangeCounter + 1 WHERE id = ?1");
    const std::int64_t now = Now();
    for (const PlacesRow* gone : marked) {
        BindRow(row, *gone).Step();
        const std::int64_t position = row.Int(0);
        const bool synced = row.Int(1) == kSynced;
        row.Reset();
        Run(BindRow(remove, *gone));
        // Checked a moment ago in this transaction; a row gone now (a trigger of the store's
        // own took it) rolls everything back rather than count what was not removed.
        if (sqlite3_changes(db.Handle()) != 1)
            throw SqliteError("a bookmark changed while it was being removed", false);
        Run(closeGap.Bind(1, gone->parent).Bind(2, position));
        Run(uncount.Bind(1, gone->fk));
        Run(uncountKeywords.Bind(1, gone->fk));
        Run(dropKeywords.Bind(1, gone->fk));
        if (synced)
            Run(tombstone.Bind(1, gone->guid).Bind(2, now));
        Run(touch.Bind(1, gone->parent).Bind(2, now));
    }
}

}  // namespace

CleanOutcome CleanPlaces(const std::string& profileFolder, const PlacesLoad& load)
{
    const Removal marked = MarkedRows(load);
    if (marked.rows.empty())
        return {};
    if (const std::optional<std::string> running = FirefoxRunning(profileFolder))
        return RefusedWhileRunning(*running);
    const std::string path = profileFolder + "/places.sqlite";
    try {
        // Closing the connection on any way out before the commit rolls everything back.
        SqliteDatabase db(path, SqliteDatabase::Access::ReadWrite);
        db.Exec("BEGIN IMMEDIATE");
        if (!Unchanged(db, marked))
            return Refused(false, path + " has changed since its bookmarks were loaded; "
                                         "load them again before cleaning");
        const BackupCopy backup = BackupDatabase(path);
        if (!backup)
            return Refused(false, NoBackupReason(path));
        RemoveRows(db, marked.rows);
        db.Exec("COMMIT");
        sqlite3_wal_checkpoint_v2(db.Handle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        CleanOutcome cleaned;
        cleaned.removed = CountMarked(load.bookmarks);
        cleaned.removedFolders = CountMarked(load.folders);
        cleaned.backups.push_back(*backup);
        return cleaned;
    } catch (const SqliteError& error) {
        return Refused(error.Busy(), path + ": " + error.what());
    }
}

}  // namespace brimtor
