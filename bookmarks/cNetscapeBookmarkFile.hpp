#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

// Joins a folder's name to its parent's path in a bookmark's Folder ("\\-News\\-Tech"). Only a
// display convention of folder texts, never a file system path, so it is the same on every
// platform; every source that reads a bookmark tree writes its folders so.
inline constexpr const char* kFolderSeparator = "\\\\-";

// Reads a bookmark HTML file (the format browsers export) into a collection and writes it back
// without the bookmarks marked Clean. It is no HTML parser: it finds the tags that start
// entries, descriptions, separators and lists in each line (SplitLineParts), several to a line
// if need be, and the writer takes out only the bytes of the marked bookmarks, so everything it
// does not understand survives a clean unchanged.
//
// Reading: Load, or SetBookmarkFile then BookmarkFileToCollection; either keeps the file's lines.
// Writing, later, on the same instance (or on a new one given those lines): set WhichBrowser and
// the collection of that same read, then CreateBookMarkFile.
class cNetscapeBookmarkFile {
public:
    void SetBookmarkFile(const std::string& path) { m_bookmarkFile = path; }

    // The file split at its line end, CR LF or LF (LineSplitter); a file ending with its line end
    // has an empty last element.
    void SetBookmarkFileContents(std::vector<std::string> lines) { m_lines = std::move(lines); }
    // Hands the lines over without copying them: a large file's lines are most of its memory.
    std::vector<std::string> TakeBookmarkFileContents() { return std::move(m_lines); }

    const BookmarksPtr& Bookmarks() const { return m_bookmarks; }
    void SetBookmarks(BookmarksPtr bookmarks) { m_bookmarks = std::move(bookmarks); }

    // 1 "Firefox", 2 "Netscape", 3 "User": the word in the backup copy's name. Any other value
    // leaves the word as it was.
    void SetWhichBrowser(std::int32_t browser);

    // Reads and parses BookmarkFile. Nothing at all when the file is missing, unreadable or
    // empty, or a bookmark has no "</": such a file is no source, and the caller shows it as one
    // without bookmarks. A date that is no 32-bit number reads as 0. The first bookmark of a line
    // is keyed by the line's 1-based number, a later one on the same line by a number past the
    // last line's.
    BookmarksPtr BookmarkFileToCollection();
    // Forgets everything of an earlier read, then reads the file at `path` so: its bookmarks and
    // its folders in file order, with no reason given when there are none. This instance keeps
    // the folders: a clean takes out those marked Clean. A folder whose list never ends in the
    // file is never taken for empty.
    LoadOutcome Load(std::string path);

    // Reads BookmarkFile once; when it still holds exactly the lines read, copies those bytes
    // into the backup folder, then replaces the file in one step with the lines read minus the
    // bookmarks marked Clean: each one's bytes from its <DT> up to the next tag or the line's
    // end, with the description that follows it over every line it runs on; and minus the
    // folders of the read marked Clean: each one's bytes from its <DT><H…> to the end of the
    // </DL> part that closes its list, all in between with them. A line left with nothing but
    // blanks goes with its line end. The lines are joined by the file's line end
    // (LineEndOf), none added after the last. Without a collection it does nothing.
    // When the file changed since it was read, or the copy or the rewrite fails, the file is
    // left as it was and the outcome says why; its words are not for the window, which tells
    // this writer's failures in fixed words.
    CleanOutcome CreateBookMarkFile();
    // The same, for a caller that has just read BookmarkFile itself: onDisk holds its bytes,
    // or nothing when it could not be read. Those bytes are compared and copied; the file is
    // not read again.
    CleanOutcome CreateBookMarkFile(std::optional<std::string> onDisk);

private:
    // Where a folder's entry starts and its list ends: a line's index and a byte's on that line
    // (the end just past the "</DL>").
    struct FolderSpan {
        std::int32_t startLine = 0;
        std::size_t start = 0;
        std::int32_t endLine = -1;  // none: the list is not closed
        std::size_t end = 0;
    };

    void ParseFolders();
    // `onLine` counts the bookmarks before it on its line.
    void AddBookmark(std::string_view text, const std::string& folderPath, std::int32_t onLine, std::int32_t folder);
    // `start` is where its part starts on its line.
    void AddFolder(std::string_view text, const std::string& folderPath, std::size_t start, std::int32_t parent);
    void SetLastDescription(std::string_view text);

    std::string KeptText(std::string_view lineEnd) const;

    std::string m_bookmarkFile;
    std::string m_browserWord;
    BookmarksPtr m_bookmarks;
    FoldersPtr m_folders;
    std::vector<FolderSpan> m_folderSpans;  // by FolderID - 1
    std::int32_t m_currentLine = 0;
    std::int32_t m_laterEntries = 0;  // bookmarks read so far that were not the first of their line
    std::vector<std::string> m_lines;
};

}  // namespace brimtor
