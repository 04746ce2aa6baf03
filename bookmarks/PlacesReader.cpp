#include "bookmarks/PlacesReader.hpp"

#include <cerrno>
#include <filesystem>
#include <limits>
#include <vector>

#include <stdlib.h>

#include "bookmarks/SqliteDatabase.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

constexpr std::int64_t kBookmarkType = 1;
constexpr std::int64_t kFolderType = 2;
const char* const kRootGuid = "root________";
const char* const kTagsGuid = "tags________";

// What reading and cleaning use, table by table.
const char* const kNeeded[][2] = {
    {"moz_bookmarks", "id,type,fk,parent,position,title,guid,lastModified,syncStatus,syncChangeCounter"},
    {"moz_places", "id,url,foreign_count"},
    {"moz_bookmarks_deleted", "guid,dateRemoved"},
    {"moz_keywords", "place_id"},
};

struct Row {
    std::int64_t id = 0;
    std::int64_t type = 0;
    std::int64_t parent = 0;
    std::string title;
    std::string guid;
    std::string url;
};

// A private copy of the database and its log, deleted with the object.
class Snapshot {
public:
    explicit Snapshot(const std::string& databasePath)
    {
        std::string folder = (fs::temp_directory_path() / "brimtor-places-XXXXXX").string();
        if (::mkdtemp(folder.data()) == nullptr)
            throw fs::filesystem_error("Cannot make a private folder", folder,
                                       std::error_code(errno, std::generic_category()));
        m_folder = folder;
        m_copy = (m_folder / "places.sqlite").string();
        fs::copy_file(databasePath, m_copy);
        std::error_code ec;
        if (fs::exists(databasePath + "-wal", ec))
            fs::copy_file(databasePath + "-wal", m_copy + "-wal");
    }
    ~Snapshot()
    {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    const std::string& Copy() const { return m_copy; }

private:
    fs::path m_folder;
    std::string m_copy;
};

std::string MissingTable(SqliteDatabase& db)
{
    for (const auto& needed : kNeeded) {
        if (!db.HasColumns(needed[0], needed[1]))
            return needed[0];
    }
    return {};
}

std::vector<Row> ReadRows(SqliteDatabase& db)
{
    SqliteDatabase::Statement query(db, "SELECT b.id, b.type, b.parent, b.title, b.guid, p.url "
                                        "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
                                        "ORDER BY b.parent, b.position, b.id");
    std::vector<Row> rows;
    while (query.Step())
        rows.push_back({query.Int(0), query.Int(1), query.Int(2), query.Text(3), query.Text(4), query.Text(5)});
    return rows;
}

const char* TopFolderName(const std::string& guid)
{
    static const char* const kNames[][2] = {{"menu________", "Bookmarks Menu"},
                                            {"toolbar_____", "Bookmarks Toolbar"},
                                            {"unfiled_____", "Other Bookmarks"},
                                            {"mobile______", "Mobile Bookmarks"}};
    for (const auto& name : kNames) {
        if (guid == name[0])
            return name[1];
    }
    return nullptr;
}

// Walks the tree depth first from the root with a stack, so deep nesting cannot exhaust the
// call stack; rows come sorted by parent and position, so each folder's children are in order.
void WalkTree(const std::vector<Row>& rows, std::size_t root, PlacesLoad& load)
{
    std::unordered_map<std::int64_t, std::vector<std::size_t>> children;
    for (std::size_t i = 0; i < rows.size(); ++i)
        children[rows[i].parent].push_back(i);
    struct Visit {
        std::size_t row;
        std::string folder;
    };
    std::vector<Visit> stack;
    const auto pushChildren = [&](std::int64_t parent, const std::string& folder) {
        const std::vector<std::size_t>& list = children[parent];
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            stack.push_back({*it, folder});
    };
    pushChildren(rows[root].id, {});
    while (!stack.empty()) {
        const Visit visit = std::move(stack.back());
        stack.pop_back();
        const Row& row = rows[visit.row];
        if (row.type == kFolderType && row.guid != kTagsGuid) {
            const char* top = row.parent == rows[root].id ? TopFolderName(row.guid) : nullptr;
            pushChildren(row.id, visit.folder + kFolderSeparator + (top ? top : row.title));
        } else if (row.type == kBookmarkType && row.id <= std::numeric_limits<std::int32_t>::max()) {
            const auto id = static_cast<std::int32_t>(row.id);
            load.bookmarks->Add(row.title.empty() ? row.url : row.title, row.url, visit.folder, id);
            load.rows[id] = {row.parent, row.url};
        }
    }
}

PlacesLoad ReadCopy(const std::string& copy, const std::string& databasePath)
{
    PlacesLoad load;
    SqliteDatabase db(copy, SqliteDatabase::Access::ReadOnly);
    const std::string missing = MissingTable(db);
    if (!missing.empty()) {
        load.reason = databasePath + " is not a Firefox bookmark database: its " + missing
                      + " table lacks what bookmarks need";
        return load;
    }
    const std::vector<Row> rows = ReadRows(db);
    std::size_t root = 0;
    while (root < rows.size() && rows[root].guid != kRootGuid)
        ++root;
    if (root == rows.size()) {
        load.reason = databasePath + " holds no bookmark tree";
        return load;
    }
    load.bookmarks = std::make_shared<cBookmarks>();
    load.bookmarks->Reserve(rows.size());
    WalkTree(rows, root, load);
    return load;
}

}  // namespace

PlacesLoad ReadPlaces(const std::string& databasePath)
{
    try {
        const Snapshot snapshot(databasePath);
        return ReadCopy(snapshot.Copy(), databasePath);
    } catch (const std::exception& error) {
        PlacesLoad failed;
        failed.reason = "cannot read " + databasePath + ": " + error.what();
        return failed;
    }
}

}  // namespace brimtor
