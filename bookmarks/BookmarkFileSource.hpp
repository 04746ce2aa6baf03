#pragma once

#include "bookmarks/BookmarkSource.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"

namespace brimtor {

// Source 4: a bookmark HTML file the user names, read and written back by cNetscapeBookmarkFile,
// which keeps the file's lines between the load and the clean.
class BookmarkFileSource : public BookmarkSource {
public:
    explicit BookmarkFileSource(const SourceLocation& where) : m_where(where) {}

    bool IsInstalled() const override { return true; }
    LoadOutcome GetBookMarks() override { return LoadBookmarkFile(); }
    CleanOutcome CleanUpBookmarks() override { return CreateNetscapeBookmarkFile(); }
    void ForgoClean() override { m_file.SetBookmarkFileContents({}); }

private:
    LoadOutcome LoadBookmarkFile();
    // Rewrites the file without the bookmarks of the last load marked Clean, after two backup
    // copies of it: a text-file one, then the bookmark writer's "User" one.
    CleanOutcome CreateNetscapeBookmarkFile();

    const SourceLocation& m_where;
    cNetscapeBookmarkFile m_file;
    BookmarksPtr m_bookmarks;
};

}  // namespace brimtor
