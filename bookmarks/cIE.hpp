#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

// Source 0: the Favorites folder, a tree of Internet shortcut (".url") files, one per
// bookmark. Loading lists the files only; their addresses are read just before a scan.
class cIE : public BookmarkSource {
public:
    // Decides IsInstalled once: the Favorites folder exists.
    cIE();

    bool IsInstalled() const override { return m_isInstalled; }

    // The version of the platform library that reads the Favorites. The Favorites need no
    // library of their own here, so the application sets the version of its run-time toolkit
    // at start-up; empty until then.
    std::string Version() const;
    static void SetRuntimeVersion(std::string version);

    // One record per shortcut file, IDs from 1 in the order the files are found, and one folder
    // per visible folder below the Favorites folder. With no shortcut files, nothing, and the
    // note "No favorites can be located".
    LoadOutcome GetBookMarks() override;

    // Deletes, for good, the shortcut file of every record of the last load marked Clean,
    // after copying them all into one backup folder that keeps their paths below the
    // Favorites folder; with no copy, nothing is deleted. A file already gone counts as removed;
    // one that cannot be read or deleted, or whose bytes changed since the load, is kept and
    // named in the failures. The records stay in the collection. A folder marked Clean goes
    // with the shortcuts and folders in it, copied first (a folder as an empty one), unless it
    // holds anything the load did not list as it was then: then it stays, named.
    CleanOutcome CleanUpBookmarks() override;

private:
    bool m_isInstalled = false;
    BookmarksPtr m_bookmarks;
    FoldersPtr m_folders;
    std::vector<std::string> m_folderPaths;  // by FolderID - 1
    std::unordered_map<std::string, std::size_t> m_loadedHashes;  // of each shortcut's bytes, by path
};

}  // namespace brimtor
