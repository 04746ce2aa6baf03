#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/cBookmarks.hpp"

namespace brimtor {

// Joins a folder's name to its parent's path in every source's folder texts. Only a display
// convention, never a file system path, so it is the same on every platform.
inline constexpr const char* kFolderSeparator = "\\\\-";

// Reads a bookmark HTML file (the format browsers export) into a collection and writes it back
// without the bookmarks marked Clean. It is line based, not an HTML parser: it looks at the
// first characters of each line only, and the writer puts back the very lines it read, byte
// for byte, so everything it does not understand survives a clean unchanged.
//
// One instance serves one read or one write. Reading: SetBookmarkFile, BookmarkFileToCollection,
// then keep the lines (TakeBookmarkFileContents). Writing, later, on a new instance: set the
// file, WhichBrowser, the lines and the collection of that same read, then CreateBookMarkFile.
class cNetscapeBookmarkFile {
public:
    void SetBookmarkFile(const std::string& path) { m_bookmarkFile = path; }

    // The file split at CR LF; a file ending with CR LF has an empty last element.
    void SetBookmarkFileContents(std::vector<std::string> lines) { m_lines = std::move(lines); }
    // Hands the lines over without copying them: a large file's lines are most of its memory.
    std::vector<std::string> TakeBookmarkFileContents() { return std::move(m_lines); }

    const BookmarksPtr& Bookmarks() const { return m_bookmarks; }
    void SetBookmarks(BookmarksPtr bookmarks) { m_bookmarks = std::move(bookmarks); }

    // 1 "Firefox", 2 "Netscape", 3 "User": the word in the backup copy's name. Any other value
    // leaves the word as it was.
    void SetWhichBrowser(std::int32_t browser);

    // Reads and parses BookmarkFile. Nothing at all when the file is missing, unreadable or
    // empty, or a bookmark line is malformed (no "</", a date that is not a 32-bit number):
    // such a file is no source, and the caller shows it as one without bookmarks.
    BookmarksPtr BookmarkFileToCollection();

    // Reads BookmarkFile once; when it still holds exactly the lines read, copies those bytes
    // into the backup folder, then replaces the file in one step with the lines read, minus
    // the lines of the bookmarks marked Clean and a description line right after one. Every
    // line, the last one too, is written with CR LF. Without a collection it does nothing.
    // When the file changed since it was read, or the copy or the rewrite fails, the file is
    // left as it was, the user is told so, and the result is false.
    bool CreateBookMarkFile();
    // The same, for a caller that has just read BookmarkFile itself: onDisk holds its bytes,
    // or nothing when it could not be read. Those bytes are compared and copied; the file is
    // not read again.
    bool CreateBookMarkFile(std::optional<std::string> onDisk);

    // The backup copy the last CreateBookMarkFile made; empty when there was nothing to copy.
    const std::string& LastBackup() const { return m_lastBackup; }

private:
    void ParseFolders();
    void AddBookmark(std::string_view line, const std::string& folderPath);
    void SetLastDescription(std::string_view line);

    std::string KeptText() const;

    std::string m_bookmarkFile;
    std::string m_browserWord;
    BookmarksPtr m_bookmarks;
    std::int32_t m_currentLine = 0;
    std::vector<std::string> m_lines;
    std::string m_lastBackup;
};

}  // namespace brimtor
