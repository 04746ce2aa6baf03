#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

// Source 3: a text file the user names, one link a line. Every line that is not empty is one
// bookmark, keyed by its 0-based line index (so keys have gaps where lines were empty): its
// address ends at the first blank or tab after any leading ones, and the rest of the line is its
// name ("http://a.example/ my notes"); a line without a rest is its own name. A clean keeps or
// removes each line whole. Lines end at CR LF, or at LF in a file an editor saved so.
class TextFileSource : public BookmarkSource {
public:
    explicit TextFileSource(const SourceLocation& where) : m_where(where) {}

    bool IsInstalled() const override { return true; }
    LoadOutcome GetBookMarks() override { return LoadTextFile(); }
    CleanOutcome CleanUpBookmarks() override { return CreateTextFile(); }

private:
    LoadOutcome LoadTextFile();
    // Rewrites the file with the links of the last load not marked Clean, each followed by the
    // file's own line end, after a backup copy of it. The file is left as it was when it changed
    // since it was loaded, or the backup or the rewrite fails.
    CleanOutcome CreateTextFile();

    const SourceLocation& m_where;
    BookmarksPtr m_bookmarks;
    std::vector<std::string> m_lines;  // as loaded, each bookmark's at its key
    std::size_t m_loadedHash = 0;      // of the file's bytes as the collection was read
    std::unordered_set<std::int32_t> m_removed;  // keys of the lines cleans of this load took out
};

}  // namespace brimtor
