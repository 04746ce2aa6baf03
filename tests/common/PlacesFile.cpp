#include "tests/common/PlacesFile.hpp"

#include <filesystem>

#include <sqlite3.h>

#include "bookmarks/SqliteDatabase.hpp"
#include "support/FileIo.hpp"
#include "tests/common/TempHome.hpp"

namespace brimtor::test {

using Statement = SqliteDatabase::Statement;

PlacesFile::PlacesFile(std::string path, bool create)
    : m_path(std::move(path))
{
    if (!create)
        return;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path());
    WriteFileBytes(m_path, "");
    Exec("PRAGMA journal_mode = WAL;" + ReadAll(PLACES_SCHEMA_PATH)
         + "INSERT INTO moz_bookmarks (id, type, parent, position, title, guid) VALUES "
           "(1, 2, 0, 0, '', 'root________'), (2, 2, 1, 0, 'menu', 'menu________'), "
           "(3, 2, 1, 1, 'toolbar', 'toolbar_____'), (4, 2, 1, 2, 'tags', 'tags________'), "
           "(5, 2, 1, 3, 'unfiled', 'unfiled_____'), (6, 2, 1, 4, 'mobile', 'mobile______')");
}

std::int64_t PlacesFile::Add(std::int64_t parent, const std::string& title, const std::string& url,
                             int syncStatus) const
{
    SqliteDatabase db(m_path, SqliteDatabase::Access::ReadWrite);
    Statement(db, "INSERT INTO moz_places (url, guid) SELECT ?1, hex(randomblob(6)) WHERE ?1 != '' "
                  "AND NOT EXISTS (SELECT 1 FROM moz_places WHERE url = ?1)").Bind(1, url).Step();
    Statement(db, "UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE url = ?1").Bind(1, url).Step();
    Statement(db, "INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid, syncStatus) "
                  "SELECT ?1, (SELECT id FROM moz_places WHERE url = ?2), ?3, count(*), ?4, hex(randomblob(6)), ?5 "
                  "FROM moz_bookmarks WHERE parent = ?3")
        .Bind(1, url.empty() ? 2 : 1).Bind(2, url).Bind(3, parent).Bind(4, title).Bind(5, syncStatus).Step();
    return sqlite3_last_insert_rowid(db.Handle());
}

std::vector<std::string> PlacesFile::Column(const std::string& sql) const
{
    SqliteDatabase db(m_path, SqliteDatabase::Access::ReadWrite);
    Statement query(db, sql.c_str());
    std::vector<std::string> values;
    while (query.Step())
        values.push_back(query.Text(0));
    return values;
}

void PlacesFile::Exec(const std::string& sql) const
{
    SqliteDatabase(m_path, SqliteDatabase::Access::ReadWrite).Exec(sql);
}

std::vector<std::string> PlacesBreaches(const PlacesFile& file)
{
    std::vector<std::string> breaches;
    for (const std::string& folder : file.Column("SELECT parent FROM moz_bookmarks WHERE parent > 0 GROUP BY parent HAVING "
                                                 "min(position) != 0 OR max(position) + 1 != count(DISTINCT position)"))
        breaches.push_back("positions of folder " + folder);
    for (const std::string& place : file.Column("SELECT id FROM moz_places p WHERE foreign_count != "
                                                "(SELECT count(*) FROM moz_bookmarks WHERE fk = p.id) + "
                                                "(SELECT count(*) FROM moz_keywords WHERE place_id = p.id)"))
        breaches.push_back("foreign_count of place " + place);
    if (file.Column("PRAGMA integrity_check") != std::vector<std::string>{"ok"})
        breaches.push_back("integrity check");
    return breaches;
}

}  // namespace brimtor::test
