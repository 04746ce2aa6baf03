#include "bookmarks/PlacesReader.hpp"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "bookmarks/PrivateCopy.hpp"
#include "bookmarks/SqliteDatabase.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"

namespace brimtor {

namespace {

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
    std::int64_t fk = 0;
    std::string title;
    std::string guid;
    std::string url;
};

// The row as a clean checks it.
PlacesRow AsRead(const Row& row)
{
    return {row.id, row.fk, row.parent, row.guid, row.url, row.type};
}

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
    SqliteDatabase::Statement query(db, "SELECT b.id, b.type, b.parent, b.fk, b.title, b.guid, p.url "
                                        "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk "
                                        "ORDER BY b.parent, b.position, b.id");
    std::vector<Row> rows;
    while (query.Step())
        rows.push_back({query.Int(0), query.Int(1), query.Int(2), query.Int(3), query.Text(4), query.Text(5),
                        query.Text(6)});
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

// Lists a folder below the top ones, from its row.
std::int32_t AddFolder(const Row& row, const std::string& path, std::int32_t parent, PlacesLoad& load)
{
    load.folderRows.push_back(AsRead(row));
    return ListFolder(*load.folders, row.title, path, parent).FolderID;
}

// Walks the tree depth first from the root with a stack, so deep nesting cannot exhaust the
// call stack; rows come sorted by parent and position, so each folder's children are in order.
// A folder met a second time (a cycle, or a folder with id 0 above the root, whose parent is 0)
// or nesting deeper than any browser reads refuses the whole tree: why, or "" when it was read.
// The bookmarks below the tags folder are reached but not listed. A row of a kind Firefox does
// not write keeps its folder from being taken for empty.
std::string WalkTree(const std::vector<Row>& rows, std::size_t root, PlacesLoad& load)
{
    std::unordered_map<std::int64_t, std::vector<std::size_t>> children;
    for (std::size_t i = 0; i < rows.size(); ++i)
        children[rows[i].parent].push_back(i);
    struct Visit {
        std::size_t row;
        std::string folder;
        int depth;
        bool tags;
        std::int32_t folderID;  // the listed folder it is in
    };
    std::vector<Visit> stack;
    std::unordered_set<std::int64_t> opened;
    const auto open = [&](const Row& folder, const std::string& path, int depth, bool tags, std::int32_t folderID) {
        if (!opened.insert(folder.id).second)
            return false;
        const std::vector<std::size_t>& list = children[folder.id];
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            stack.push_back({*it, path, depth + 1, tags, folderID});
        return true;
    };
    open(rows[root], {}, 0, false, 0);
    std::ptrdiff_t reached = 0;
    while (!stack.empty()) {
        const Visit visit = std::move(stack.back());
        stack.pop_back();
        const Row& row = rows[visit.row];
        if (visit.depth > kMaxNesting)
            return "nests its folders deeper than " + std::to_string(kMaxNesting) + " levels";
        if (row.type == kFolderType) {
            const bool top = row.parent == rows[root].id;
            const char* shown = top ? TopFolderName(row.guid) : nullptr;
            const bool tags = visit.tags || row.guid == kTagsGuid;
            const std::int32_t folderID = top || tags ? 0 : AddFolder(row, visit.folder, visit.folderID, load);
            if (!open(row, visit.folder + kFolderSeparator + (shown ? shown : row.title), visit.depth, tags, folderID))
                return "holds a folder that contains itself";
        } else if (row.type == kBookmarkType) {
            ++reached;
            if (visit.tags)
                continue;
            const BookmarkPtr bookmark = load.bookmarks->Add(row.title.empty() ? row.url : row.title, row.url,
                                                             visit.folder, load.bookmarks->Count() + 1);
            bookmark->FolderID = visit.folderID;
            load.rows.push_back(AsRead(row));
        } else if (visit.folderID > 0) {
            load.otherRows.push_back(AsRead(row));
            if (row.type != kSeparatorType)
                (*load.folders)[static_cast<std::size_t>(visit.folderID - 1)].AlwaysKept = true;
        }
    }
    const auto isBookmark = [](const Row& row) { return row.type == kBookmarkType; };
    load.leftOut = static_cast<std::int32_t>(std::count_if(rows.begin(), rows.end(), isBookmark) - reached);
    return {};
}

PlacesLoad ReadCopy(const std::string& copy, const std::string& databasePath)
{
    PlacesLoad load;
    // Read-write, so that a rollback journal beside the copy puts back the rows it saved.
    SqliteDatabase db(copy, SqliteDatabase::Access::ReadWrite);
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
    load.folders = std::make_shared<cFolders>();
    if (const std::string refused = WalkTree(rows, root, load); !refused.empty()) {
        PlacesLoad none;
        none.reason = databasePath + " " + refused;
        return none;
    }
    TellLeftOut(load, databasePath);
    return load;
}

}  // namespace

PlacesLoad ReadPlaces(const std::string& databasePath)
{
    try {
        const PrivateCopy copy(databasePath);
        return ReadCopy(copy.Path(), databasePath);
    } catch (const std::exception& error) {
        PlacesLoad failed;
        failed.reason = "cannot read " + databasePath + ": " + error.what();
        return failed;
    }
}

}  // namespace brimtor
