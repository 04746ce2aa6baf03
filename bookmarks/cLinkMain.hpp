#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bookmarks/cBookmarks.hpp"
#include "bookmarks/SourceKinds.hpp"

namespace brimtor {

class cFirefox;
class cIE;
class cNetscape;

// The one way the rest of the program reaches bookmarks: remembers the chosen source, loads
// it into a fresh collection and writes it back without the bookmarks marked Clean.
class cLinkMain {
public:
    std::int32_t SelectedBrowser() const { return m_selectedBrowser; }
    void SetSelectedBrowser(std::int32_t code) { m_selectedBrowser = code; }

    // The user-chosen file of the text-file and bookmark-file sources.
    const std::string& TextFile() const { return m_textFile; }
    void SetTextFile(const std::string& path) { m_textFile = path; }

    // The lines of the bookmark HTML file last read, as split from the file.
    const std::vector<std::string>& BookmarkFileContents() const { return m_bookmarkFileContents; }
    void SetBookmarkFileContents(std::vector<std::string> lines);

    // A browser profile folder the user named (brimtor-check --profile) instead of the
    // browser's default profile; empty for the default.
    const std::string& ProfileFolder() const { return m_profileFolder; }
    void SetProfileFolder(const std::string& folder) { m_profileFolder = folder; }

    // The current collection; an empty one is created and kept when there is none.
    BookmarksPtr Bookmarks();

    // The source with that code, created on first use with this controller as its parent and
    // kept from then on; nullptr for a code no source has.
    BookmarkSource* Source(std::int32_t code);

    // The Favorites, Firefox and Netscape sources, as Source gives them.
    cIE& IE();
    cFirefox& Firefox();
    cNetscape& Netscape();

    // Loads the chosen source into a new collection. Failures are logged, never thrown.
    void Refresh();

    // Empties the current collection, if any.
    void ClearAllBookmarks();

    // Rewrites the text file without the bookmarks marked Clean, after a backup copy. Throws
    // NumberedError when the file changed since it was loaded, or the backup or the rewrite
    // fails; the file is then left as it was.
    void CreateTextFile();

    // Rewrites the user-chosen bookmark HTML file without the bookmarks marked Clean, after two
    // backup copies (a text-file one, then the bookmark writer's "User" one). False when the
    // file was left as it was; the user has then been told.
    bool CreateNetscapeBookmarkFile();

    // Rewrites the bookmark HTML file at path from the lines the last load kept, without the
    // bookmarks of the collection marked Clean, after the writer's backup copy; whichBrowser
    // names that copy (1 "Firefox", 2 "Netscape", 3 "User"). The copy is then all LastBackups
    // holds, and lastBackup gets its path too; both are empty when none was made. False when
    // the file was left as it was; the user has then been told.
    bool RewriteBookmarkFile(const std::string& path, std::int32_t whichBrowser,
                             const BookmarksPtr& bookmarks, std::string& lastBackup);

    // Backup copies made by the last rewrite of a file source (1 to 4), for callers that
    // report them.
    const std::vector<std::string>& LastBackups() const { return m_lastBackups; }

private:
    // The loaders of the two sources whose file the user names.
    friend class TextFileSource;
    friend class BookmarkFileSource;

    void LoadTextFile();
    void LoadBookmarkFile();
    // Copies the bytes just read from TextFile into the backup folder; false when that failed.
    bool BackupTextFile(const std::string& bytes);
    // RewriteBookmarkFile for a caller that has just read the file: onDisk holds its bytes,
    // nothing when it could not be read. The writer's copy is added to LastBackups.
    bool RewriteBookmarkFile(const std::string& path, std::optional<std::string> onDisk,
                             std::int32_t whichBrowser, const BookmarksPtr& bookmarks);

    BookmarksPtr m_bookmarks;
    std::map<std::int32_t, std::unique_ptr<BookmarkSource>> m_sources;
    std::string m_profileFolder;
    std::int32_t m_selectedBrowser = SourceCode::None;
    std::vector<std::string> m_bookmarkFileContents;
    std::string m_textFile;
    std::size_t m_loadedTextHash = 0;  // of the text file's bytes as the collection was read
    std::vector<std::string> m_lastBackups;
};

}  // namespace brimtor
