#include "bookmarks/cLinkMain.hpp"

#include <functional>

#include "bookmarks/SourceCleaner.hpp"
#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cIE.hpp"
#include "bookmarks/cNetscape.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"
#include "support/Backup.hpp"
#include "support/ErrorLog.hpp"
#include "support/FileIo.hpp"
#include "support/NumberedError.hpp"
#include "support/Text.hpp"

namespace brimtor {

static const char* const kRefreshSource = "cLinkMain: Refresh";
static const char* const kWriteSource = "cLinkMain: CreateTextFile";

void cLinkMain::SetBookmarkFileContents(std::vector<std::string> lines)
{
    m_bookmarkFileContents = std::move(lines);
}

BookmarksPtr cLinkMain::Bookmarks()
{
    if (!m_bookmarks)
        m_bookmarks = std::make_shared<cBookmarks>();
    return m_bookmarks;
}

BookmarkSource* cLinkMain::Source(std::int32_t code)
{
    const SourceKind* kind = FindSourceKind(code);
    if (!kind)
        return nullptr;
    std::unique_ptr<BookmarkSource>& source = m_sources[code];
    if (!source)
        source = kind->make(*this);
    return source.get();
}

cIE& cLinkMain::IE()
{
    return static_cast<cIE&>(*Source(SourceCode::Favorites));
}

cFirefox& cLinkMain::Firefox()
{
    return static_cast<cFirefox&>(*Source(SourceCode::Firefox));
}

cNetscape& cLinkMain::Netscape()
{
    return static_cast<cNetscape&>(*Source(SourceCode::Netscape));
}

void cLinkMain::Refresh()
{
    m_bookmarks.reset();
    LogFailure(kRefreshSource, [this] {
        if (BookmarkSource* source = Source(m_selectedBrowser))
            m_bookmarks = source->GetBookMarks();
    });
}

void cLinkMain::LoadTextFile()
{
    // A missing or unreadable file is no source at all: leave no collection, say nothing.
    const auto bytes = ReadFileBytes(m_textFile);
    if (!bytes || bytes->empty())
        return;
    m_loadedTextHash = std::hash<std::string>{}(*bytes);
    // One link a line, whether an editor saved the file with CR LF or with LF line ends.
    const std::vector<std::string> lines = SplitLines(*bytes);
    auto collection = std::make_shared<cBookmarks>();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty())
            collection->Add(lines[i], lines[i], {}, static_cast<std::int32_t>(i));
    }
    m_bookmarks = collection;
}

void cLinkMain::LoadBookmarkFile()
{
    cNetscapeBookmarkFile reader;
    reader.SetBookmarkFile(m_textFile);
    m_bookmarks = reader.BookmarkFileToCollection();
    m_bookmarkFileContents = reader.TakeBookmarkFileContents();
}

void cLinkMain::ClearAllBookmarks()
{
    if (m_bookmarks)
        m_bookmarks->ClearAll();
}

bool cLinkMain::BackupTextFile(const std::string& bytes)
{
    const BackupResult backup = BackupTextBytes(bytes);
    if (backup.ok)
        m_lastBackups.push_back(backup.path);
    return backup.ok;
}

void cLinkMain::CreateTextFile()
{
    if (!m_bookmarks)
        return;
    m_lastBackups.clear();
    // The file is written from the links read at load time; whatever was added to it since
    // would be lost without a word. The copy is made of the very bytes compared.
    const auto current = ReadFileBytes(m_textFile);
    if (!current || std::hash<std::string>{}(*current) != m_loadedTextHash) {
        throw NumberedError(ErrorNumber::PathFileAccessError, kWriteSource,
                            m_textFile + " has changed since its links were loaded; load it again before cleaning");
    }
    if (!BackupTextFile(*current)) {
        throw NumberedError(ErrorNumber::PathFileAccessError, kWriteSource,
                            "No backup copy of " + m_textFile
                                + " could be made, so it was left unchanged");
    }
    // The links kept go back with the line end the file has, so an LF file stays LF.
    const std::string_view lineEnd = LineEndOf(*current);
    std::string text;
    for (const BookmarkPtr& bookmark : *m_bookmarks) {
        if (!bookmark->Clean)
            text.append(bookmark->url).append(lineEnd);
    }
    const std::string failure = ReplaceFileAtomically(m_textFile, text);
    if (!failure.empty())
        throw NumberedError(ErrorNumber::PathFileAccessError, kWriteSource, failure);
    m_loadedTextHash = std::hash<std::string>{}(text);
}

bool cLinkMain::CreateNetscapeBookmarkFile()
{
    if (!m_bookmarks)
        return true;
    m_lastBackups.clear();
    // One read serves both copies and the writer's check, so all three see the same bytes.
    std::optional<std::string> onDisk = ReadFileBytes(m_textFile);
    if (onDisk && !BackupTextFile(*onDisk))
        return ReportNotCleaned();
    return RewriteBookmarkFile(m_textFile, std::move(onDisk), 3, m_bookmarks);
}

bool cLinkMain::RewriteBookmarkFile(const std::string& path, std::int32_t whichBrowser,
                                    const BookmarksPtr& bookmarks, std::string& lastBackup)
{
    m_lastBackups.clear();
    // Without a collection the writer does nothing, so the file need not be read.
    const bool written = RewriteBookmarkFile(path, bookmarks ? ReadFileBytes(path) : std::nullopt,
                                             whichBrowser, bookmarks);
    lastBackup = m_lastBackups.empty() ? std::string() : m_lastBackups.back();
    return written;
}

bool cLinkMain::RewriteBookmarkFile(const std::string& path, std::optional<std::string> onDisk,
                                    std::int32_t whichBrowser, const BookmarksPtr& bookmarks)
{
    cNetscapeBookmarkFile writer;
    writer.SetBookmarkFile(path);
    writer.SetWhichBrowser(whichBrowser);
    writer.SetBookmarks(bookmarks);
    // The writer only reads the lines: lend them rather than copy a large file's worth, and
    // take them back even when the writer throws, since a later clean needs them again.
    writer.SetBookmarkFileContents(std::move(m_bookmarkFileContents));
    bool written = false;
    try {
        written = writer.CreateBookMarkFile(std::move(onDisk));
    } catch (...) {
        m_bookmarkFileContents = writer.TakeBookmarkFileContents();
        throw;
    }
    m_bookmarkFileContents = writer.TakeBookmarkFileContents();
    if (!writer.LastBackup().empty())
        m_lastBackups.push_back(writer.LastBackup());
    return written;
}

}  // namespace brimtor
