#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace brimtor {

// One folder of a source's tree, beside its bookmarks: never a bookmark, so never scanned,
// judged, listed among the links or counted as one. A source lists its folders in tree order, a
// folder before the folders inside it, numbered from 1 in that order; a bookmark names the
// folder it is in by that number (cBookmark::FolderID). A browser's own top folders (its roots)
// are not listed: what is directly in them is at the top, as a bookmark file's top level is.
struct cFolder {
    std::string Name;
    std::string Folder;             // where it is, as a bookmark's Folder: "root" at the top
    std::int32_t FolderID = 0;      // its place in the list, from 1
    std::int32_t ParentID = 0;      // the folder it is in; 0 at the top
    bool AlwaysKept = false;        // never taken for empty: it holds something no list shows (an
                                    // unreadable entry, another file) or is the browser's own
    bool Clean = false;             // marked for removal, with everything in it
};

using cFolders = std::vector<cFolder>;
using FoldersPtr = std::shared_ptr<cFolders>;

// Lists a folder named `name` at the end of the list, inside `parent` (0 at the top), where a
// bookmark in `parent` would be (`where`, "" at the top); the folder as listed.
inline cFolder& ListFolder(cFolders& folders, std::string name, std::string where, std::int32_t parent)
{
    cFolder& folder = folders.emplace_back();
    folder.Name = std::move(name);
    folder.Folder = where.empty() ? "root" : std::move(where);
    folder.FolderID = static_cast<std::int32_t>(folders.size());
    folder.ParentID = parent;
    return folder;
}

}  // namespace brimtor
