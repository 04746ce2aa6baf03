#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brimtor::test {

// A places.sqlite made from the tables a real Firefox wrote (tests/bookmarks/data), in WAL mode
// as Firefox keeps it, with its top folders: 1 root, 2 menu, 3 toolbar, 4 tags, 5 unfiled, 6 mobile.
class PlacesFile {
public:
    static constexpr std::int64_t kMenu = 2, kToolbar = 3, kTags = 4;

    // Creates the file and its folders, unless create is false.
    explicit PlacesFile(std::string path, bool create = true);
    const std::string& Path() const { return m_path; }

    // Appends a bookmark (a folder when url is empty) to the parent; its id. The bookmarks of an
    // address share its place, whose foreign_count counts them, as Firefox keeps it.
    std::int64_t Add(std::int64_t parent, const std::string& title, const std::string& url = {},
                     int syncStatus = 0) const;
    // The first column of each row.
    std::vector<std::string> Column(const std::string& sql) const;
    void Exec(const std::string& sql) const;

private:
    std::string m_path;
};

// One line per breach of what Firefox relies on: positions from 0 without gaps in each folder,
// each place's foreign_count equal to the bookmarks and keywords pointing at it, an intact database.
std::vector<std::string> PlacesBreaches(const PlacesFile& file);

}  // namespace brimtor::test
