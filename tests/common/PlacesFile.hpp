#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace brimtor::test {

// A places.sqlite made from the tables a real Firefox wrote (tests/bookmarks/data), in WAL mode
// as Firefox keeps it, with Firefox's top folders: ids 1 root, 2 menu, 3 toolbar, 4 tags,
// 5 unfiled, 6 mobile. Each call opens the file afresh, so nothing is held between calls.
class PlacesFile {
public:
    static constexpr std::int64_t kMenu = 2;
    static constexpr std::int64_t kToolbar = 3;
    static constexpr std::int64_t kTags = 4;
    static constexpr std::int64_t kUnfiled = 5;

    // Creates the file and its folders, unless create is false (a file that is there already).
    explicit PlacesFile(std::string path, bool create = true);
    const std::string& Path() const { return m_path; }

    // Appended at the end of the parent; the id. A bookmark's address has one place, counted in
    // its foreign_count once per bookmark, as Firefox keeps it.
    std::int64_t Folder(std::int64_t parent, const std::string& title);
    std::int64_t Bookmark(std::int64_t parent, const std::string& url, const std::string& title = {},
                          int syncStatus = 0);
    // Each row's columns joined by "|".
    std::vector<std::string> Rows(const std::string& sql) const;
    void Exec(const std::string& sql) const;

    // Holds the database locked as a running Firefox does (an exclusive lock held by an open
    // transaction) for the life of the object.
    class Held {
    public:
        explicit Held(const PlacesFile& file);
        ~Held();
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        sqlite3* m_db = nullptr;
    };

private:
    std::int64_t Add(std::int64_t parent, int type, const std::string& title, std::int64_t place,
                     int syncStatus);
    std::string m_path;
};

// The removal invariants Firefox relies on, one line per breach: positions run from 0 without
// gaps in every folder, each place's foreign_count is the number of bookmarks pointing at it,
// and the database passes its integrity check.
std::vector<std::string> PlacesBreaches(const PlacesFile& file);

}  // namespace brimtor::test
