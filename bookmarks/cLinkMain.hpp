#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bookmarks/cBookmarks.hpp"
#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cIE.hpp"
#include "bookmarks/cNetscape.hpp"

namespace brimtor {

// The source codes: the index of the source option in the wizard and the stored setting.
namespace SourceCode {
constexpr std::int32_t None = -1;
constexpr std::int32_t Favorites = 0;
constexpr std::int32_t Firefox = 1;
constexpr std::int32_t Netscape = 2;
constexpr std::int32_t TextFile = 3;
constexpr std::int32_t BookmarkFile = 4;
}  // namespace SourceCode

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

    // The current collection; an empty one is created and kept when there is none.
    BookmarksPtr Bookmarks();

    // The Favorites source, created on first use with this controller as its Parent.
    cIE& IE();
    // The Firefox and Netscape profile sources, created the same way. Their CleanUpBookmarks
    // write sources 1 and 2 back.
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
    // The source in that slot, created with this controller as its Parent if there is none.
    template <typename Source>
    Source& Created(std::unique_ptr<Source>& source);
    void LoadTextFile();
    void LoadBookmarkFile();
    // Copies the bytes just read from TextFile into the backup folder; false when that failed.
    bool BackupTextFile(const std::string& bytes);
    // RewriteBookmarkFile for a caller that has just read the file: onDisk holds its bytes,
    // nothing when it could not be read. The writer's copy is added to LastBackups.
    bool RewriteBookmarkFile(const std::string& path, std::optional<std::string> onDisk,
                             std::int32_t whichBrowser, const BookmarksPtr& bookmarks);

    BookmarksPtr m_bookmarks;
    std::unique_ptr<cIE> m_ie;
    std::unique_ptr<cFirefox> m_firefox;
    std::unique_ptr<cNetscape> m_netscape;
    std::int32_t m_selectedBrowser = SourceCode::None;
    std::vector<std::string> m_bookmarkFileContents;
    std::string m_textFile;
    std::size_t m_loadedTextHash = 0;  // of the text file's bytes as the collection was read
    std::vector<std::string> m_lastBackups;
};

}  // namespace brimtor
