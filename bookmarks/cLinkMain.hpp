#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bookmarks/SourceKinds.hpp"
#include "bookmarks/TidyLists.hpp"

namespace brimtor {

// The one way the rest of the program reaches bookmarks: remembers the chosen source and where
// the user pointed it, loads it into a fresh collection and hands the clean to it.
class cLinkMain {
public:
    // The sources it can make, by code; a test may give a table of its own.
    explicit cLinkMain(const std::vector<SourceKind>& kinds = SourceKinds()) : m_kinds(kinds) {}

    std::int32_t SelectedSource() const { return m_selectedSource; }
    void SetSelectedSource(std::int32_t code) { m_selectedSource = code; }

    // The user-chosen file of the text-file and bookmark-file sources.
    const std::string& TextFile() const { return m_location.file; }
    void SetTextFile(const std::string& path) { m_location.file = path; }

    // A browser profile folder the user named (brimtor-check --profile) instead of the
    // browser's default profile; empty for the default.
    void SetProfileFolder(const std::string& folder) { m_location.profileFolder = folder; }

    // The current collection; an empty one is created and kept when there is none.
    BookmarksPtr Bookmarks();
    // The duplicates and empty folders of the current collection, found the first time they are
    // asked for after a load (so a Favorites shortcut's address read by then counts) and kept,
    // ticks and all, until the next load.
    TidyLists& Tidying();

    // The source with that code, created on first use and kept from then on; nullptr for a
    // code no source has.
    BookmarkSource* Source(std::int32_t code);
    // Where the chosen source was found (a browser's profile folder), for the messages about it;
    // empty for a source without such a place.
    std::string ChosenSourceWhere();

    // Loads the chosen source into a new collection, which becomes the current one, and says
    // how it went. A broken invariant inside a source is logged, never thrown.
    LoadOutcome Refresh();

    // Empties the current collection, if any.
    void ClearAllBookmarks();

    // Removes from the chosen source, through its own writer, which backs the source up first,
    // what the view shown ticks: every bookmark marked Clean for a link view (whether shown or
    // not), else the ticked duplicates or the ticked empty folders. The marks are as before after.
    CleanOutcome CleanChosenSource(TidyView shown = TidyView::None);

private:
    const std::vector<SourceKind>& m_kinds;
    SourceLocation m_location;
    std::int32_t m_selectedSource = SourceCode::None;
    BookmarksPtr m_bookmarks;
    FoldersPtr m_folders;
    std::unique_ptr<TidyLists> m_tidying;
    std::map<std::int32_t, std::unique_ptr<BookmarkSource>> m_sources;
};

}  // namespace brimtor
