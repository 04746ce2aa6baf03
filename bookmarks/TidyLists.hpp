#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "bookmarks/cBookmarks.hpp"
#include "bookmarks/cFolder.hpp"

// The two lists a source yields without a network: the same page bookmarked again, and folders
// left empty. The window's "Duplicates" and "Empty Folders" views and brimtor-check's
// --view duplicates|empty-folders show them; a clean from either removes what that list ticks.
namespace brimtor {

enum class TidyView { None, Duplicates, EmptyFolders };

// The list a view's word names ("Duplicates", "Empty Folders", without regard to case); None for
// the words of the link views.
TidyView TidyViewOf(const std::string& view);

// A later bookmark of a page bookmarked before (PageAddress): ticked when found.
struct Duplicate {
    BookmarkPtr copy;
    BookmarkPtr kept;  // the first bookmark of the page in the source's order, which stays
    bool Clean = true;
};

// A folder holding no bookmark and no folder that does (separators do not count), or one that
// holds only ticked duplicates, so that it is empty once they go.
struct EmptyFolder {
    cFolder* folder;
    bool onceDuplicatesGo;
};

// How many bookmarks and folders one clean would remove.
struct MarkCount {
    std::int32_t bookmarks = 0;
    std::int32_t folders = 0;
};

class TidyLists {
public:
    // Finds the duplicates among the bookmarks as their addresses are now.
    TidyLists(BookmarksPtr bookmarks, FoldersPtr folders);

    const std::vector<Duplicate>& Duplicates() const { return m_duplicates; }

    // The empty folders, in folder order, as the duplicates' ticks leave them. A folder ticks
    // when it comes onto the list and unticks when it leaves it: a duplicate the user keeps
    // keeps its folder.
    std::vector<EmptyFolder> EmptyFolders();

    // The tick of the view's row with that id (a duplicate's BookmarkID, a folder's FolderID);
    // nullptr for an id the view has no row for.
    bool* Tick(TidyView view, std::int32_t id);

    // Sets the Clean marks of every bookmark and folder to what a clean from the view shown
    // removes, and only that: the ticked bookmarks of a link view (no folder), the ticked
    // duplicates, or the ticked empty folders. Gives the marks as they were, for RestoreMarks.
    std::vector<bool> MarkFor(TidyView shown);
    void RestoreMarks(const std::vector<bool>& saved);
    MarkCount CountFor(TidyView shown);

private:
    BookmarksPtr m_bookmarks;
    FoldersPtr m_folders;
    std::vector<Duplicate> m_duplicates;
    std::unordered_map<std::int32_t, std::size_t> m_duplicateOf;  // by the copy's BookmarkID
    std::vector<bool> m_listed;  // by FolderID - 1: on the empty list when it was last made
};

}  // namespace brimtor
