#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace brimtor {

// What went wrong with a database, in SQLite's words. Busy: another program holds a lock on it
// that we would have to wait for, which we never do.
class SqliteError : public std::runtime_error {
public:
    SqliteError(const std::string& what, bool busy) : std::runtime_error(what), m_busy(busy) {}
    bool Busy() const { return m_busy; }

private:
    bool m_busy;
};

// One connection to an existing SQLite database file, never created by opening it. No call
// waits for a lock another connection holds: it throws SqliteError with Busy set instead. The
// file's own schema is not trusted (defensive mode, trusted_schema off) and its triggers and
// views are off.
class SqliteDatabase {
public:
    enum class Access { ReadOnly, ReadWrite };
    // ":memory:" opens a private database in memory.
    SqliteDatabase(const std::string& path, Access access);
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    sqlite3* Handle() const { return m_db; }
    // Runs statements that return no rows.
    void Exec(const std::string& sql);
    // True when the table has every one of the comma-separated columns.
    bool HasColumns(const std::string& table, const std::string& columns);
    // Throws for a result code that is not SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
    void Check(int code) const;

    // One prepared statement; parameters are numbered from 1, columns from 0.
    class Statement {
    public:
        Statement(SqliteDatabase& db, const char* sql);
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        Statement& Bind(int index, std::int64_t value);
        Statement& Bind(int index, const std::string& value);
        // True while there is a row to read.
        bool Step();
        // Ready to run again with new parameters.
        void Reset();
        std::int64_t Int(int column) const;
        std::string Text(int column) const;

    private:
        SqliteDatabase& m_db;
        sqlite3_stmt* m_statement = nullptr;
    };

private:
    sqlite3* m_db = nullptr;
};

}  // namespace brimtor
