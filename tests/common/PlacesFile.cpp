#include "tests/common/PlacesFile.hpp"

#include <stdexcept>

#include <sqlite3.h>

#include "tests/common/TempHome.hpp"

namespace brimtor::test {

namespace {

// A connection for one call, closed with the object; throws with SQLite's words.
struct Connection {
    sqlite3* db = nullptr;
    explicit Connection(const std::string& path, int flags = SQLITE_OPEN_READWRITE)
    {
        if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK)
            Fail();
    }
    ~Connection() { sqlite3_close(db); }
    void Fail() const { throw std::runtime_error(sqlite3_errmsg(db)); }
    void Exec(const std::string& sql) const
    {
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail();
    }
};

std::string Quoted(const std::string& text)
{
    char* quoted = sqlite3_mprintf("%Q", text.c_str());
    std::string result(quoted);
    sqlite3_free(quoted);
    return result;
}

}  // namespace

PlacesFile::PlacesFile(std::string path, bool create)
    : m_path(std::move(path))
{
    if (!create)
        return;
    const Connection c(m_path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    c.Exec("PRAGMA journal_mode = WAL");
    c.Exec(ReadAll(PLACES_SCHEMA_PATH));
    c.Exec("INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES "
           "(1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'), "
           "(3, 2, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, 1, 2, 'tags', 'tags________'), "
           "(5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______')");
}

std::int64_t PlacesFile::Add(std::int64_t parent, int type, const std::string& title, std::int64_t place,
                             int syncStatus)
{
    const Connection c(m_path);
    const std::string parentText = std::to_string(parent);
    c.Exec("INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid, syncStatus) VALUES ("
           + std::to_string(type) + ", " + (place ? std::to_string(place) : "NULL") + ", " + parentText
           + ", (SELECT count(*) FROM moz_bookmarks WHERE parent = " + parentText + "), " + Quoted(title)
           + ", substr(hex(randomblob(6)), 1, 12), " + std::to_string(syncStatus) + ")");
    return sqlite3_last_insert_rowid(c.db);
}

std::int64_t PlacesFile::Folder(std::int64_t parent, const std::string& title)
{
    return Add(parent, 2, title, 0, 0);
}

std::int64_t PlacesFile::Bookmark(std::int64_t parent, const std::string& url, const std::string& title,
                                  int syncStatus)
{
    Exec("INSERT OR IGNORE INTO moz_places (url, guid) SELECT " + Quoted(url)
         + ", substr(hex(randomblob(6)), 1, 12) WHERE NOT EXISTS (SELECT 1 FROM moz_places WHERE url = "
         + Quoted(url) + ")");
    Exec("UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE url = " + Quoted(url));
    const std::int64_t place = std::stoll(Rows("SELECT id FROM moz_places WHERE url = " + Quoted(url)).at(0));
    return Add(parent, 1, title, place, syncStatus);
}

std::vector<std::string> PlacesFile::Rows(const std::string& sql) const
{
    const Connection c(m_path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(c.db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        c.Fail();
    std::vector<std::string> rows;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::string row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            row += (i ? "|" : "") + std::string(text ? text : "");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
}

void PlacesFile::Exec(const std::string& sql) const
{
    Connection(m_path).Exec(sql);
}

PlacesFile::Held::Held(const PlacesFile& file)
{
    sqlite3_open_v2(file.Path().c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(m_db, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
}

PlacesFile::Held::~Held()
{
    sqlite3_close(m_db);
}

std::vector<std::string> PlacesBreaches(const PlacesFile& file)
{
    std::vector<std::string> breaches;
    for (const std::string& folder : file.Rows("SELECT parent FROM moz_bookmarks WHERE parent > 0 GROUP BY parent "
                                               "HAVING min(position) != 0 OR max(position) + 1 != count(*) "
                                               "OR count(DISTINCT position) != count(*)"))
        breaches.push_back("positions of folder " + folder);
    for (const std::string& place : file.Rows("SELECT id FROM moz_places p WHERE foreign_count != "
                                              "(SELECT count(*) FROM moz_bookmarks WHERE fk = p.id)"))
        breaches.push_back("foreign_count of place " + place);
    const std::vector<std::string> integrity = file.Rows("PRAGMA integrity_check");
    if (integrity != std::vector<std::string>{"ok"})
        breaches.push_back("integrity check");
    return breaches;
}

}  // namespace brimtor::test
