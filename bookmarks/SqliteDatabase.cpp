#include "bookmarks/SqliteDatabase.hpp"

#include <sqlite3.h>

#include "support/Text.hpp"

namespace brimtor {

SqliteDatabase::SqliteDatabase(const std::string& path, Access access)
{
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int code = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (code != SQLITE_OK) {
        const std::string why = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code);
        sqlite3_close(m_db);
        throw SqliteError("Cannot open " + path + ": " + why, false);
    }
    // A store is the user's data, not code: nothing in it may call functions that reach outside
    // it, nor a statement write where SQLite keeps the schema. The browsers keep no triggers or
    // views in the file, so none of a crafted one's runs: a trigger could remove bookmarks
    // nobody ticked along with the ticked one.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close(m_db);
}

void SqliteDatabase::Check(int code) const
{
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE)
        return;
    const int primary = code & 0xFF;
    throw SqliteError(sqlite3_errmsg(m_db), primary == SQLITE_BUSY || primary == SQLITE_LOCKED);
}

void SqliteDatabase::Exec(const std::string& sql)
{
    Check(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr));
}

bool SqliteDatabase::HasColumns(const std::string& table, const std::string& columns)
{
    Statement info(*this, "SELECT count(*) FROM pragma_table_info(?1) WHERE name = ?2");
    for (const std::string& column : SplitAt(columns, ',')) {
        info.Bind(1, table).Bind(2, column);
        const bool found = info.Step() && info.Int(0) == 1;
        info.Reset();
        if (!found)
            return false;
    }
    return true;
}

SqliteDatabase::Statement::Statement(SqliteDatabase& db, const char* sql)
    : m_db(db)
{
    m_db.Check(sqlite3_prepare_v2(db.Handle(), sql, -1, &m_statement, nullptr));
}

SqliteDatabase::Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

SqliteDatabase::Statement& SqliteDatabase::Statement::Bind(int index, std::int64_t value)
{
    m_db.Check(sqlite3_bind_int64(m_statement, index, value));
    return *this;
}

SqliteDatabase::Statement& SqliteDatabase::Statement::Bind(int index, const std::string& value)
{
    m_db.Check(sqlite3_bind_text(m_statement, index, value.data(), static_cast<int>(value.size()),
                                 SQLITE_TRANSIENT));
    return *this;
}

bool SqliteDatabase::Statement::Step()
{
    const int code = sqlite3_step(m_statement);
    m_db.Check(code);
    return code == SQLITE_ROW;
}

void SqliteDatabase::Statement::Reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

std::int64_t SqliteDatabase::Statement::Int(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::string SqliteDatabase::Statement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column)))
                : std::string();
}

}  // namespace brimtor
