#include "bookmarks/cNetscapeBookmarkFile.hpp"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/MessageBox.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

// Joins a folder's name to its parent's path. Only a display convention of folder texts,
// never a file system path, so it is the same on every platform.
const char* const kFolderSeparator = "\\\\-";

// Adds the lines a chunk of the file completes; `pending` carries the unfinished last line,
// a CR at its end included, over to the next chunk.
void SplitChunk(std::string_view chunk, std::string& pending, std::vector<std::string>& lines)
{
    if (!pending.empty() && pending.back() == '\r' && !chunk.empty() && chunk.front() == '\n') {
        pending.pop_back();
        lines.push_back(std::move(pending));
        pending.clear();
        chunk.remove_prefix(1);
    }
    std::size_t end = chunk.find("\r\n");
    while (end != std::string_view::npos) {
        pending.append(chunk.substr(0, end));
        lines.push_back(std::move(pending));
        pending.clear();
        chunk.remove_prefix(end + 2);
        end = chunk.find("\r\n");
    }
    pending.append(chunk);
}

// The file split at every CR LF (a file ending with CR LF has an empty last element, an empty
// file has no element at all); nothing when it cannot be read. Read in chunks, so a large file
// is never held whole beside its lines: that would double the memory a load needs.
std::optional<std::vector<std::string>> ReadCrLfLines(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::vector<std::string> lines;
    std::string pending;
    std::vector<char> chunk(std::size_t(1) << 20);
    bool empty = true;
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {  // a folder, or a read error
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        empty = false;
        SplitChunk(std::string_view(chunk.data(), static_cast<std::size_t>(got)), pending, lines);
    }
    ::close(fd);
    if (!empty)
        lines.push_back(std::move(pending));
    return lines;
}

// A bookmark line the reader cannot take; it ends the whole load.
struct MalformedLine : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class LineKind { Folder, Bookmark, Description, ListEnd, Other };

// Tested on the space-trimmed line, in this order. List starts ("<DL><p") and separators
// ("<HR>") need nothing, so they fall in with every other line.
LineKind KindOf(std::string_view line)
{
    if (IStartsWith(line, "<DT><H"))
        return LineKind::Folder;
    if (IStartsWith(line, "<DT><A"))
        return LineKind::Bookmark;
    if (IStartsWith(line, "<DD>"))
        return LineKind::Description;
    if (IStartsWith(line, "</DL><"))
        return LineKind::ListEnd;
    return LineKind::Other;
}

// The text between the last ">" at or before `end` and `end`.
std::string TextBefore(const std::string& line, std::size_t end)
{
    const std::size_t open = line.rfind('>', end);
    const std::size_t start = open == std::string::npos ? 0 : open + 1;
    return line.substr(start, end - start);
}

// A folder line ends with its closing tag: the name is what stands before its "<".
std::string FolderName(const std::string& line)
{
    return TextBefore(line, line.rfind('<'));
}

std::string BookmarkTitle(const std::string& line)
{
    const std::size_t closing = line.rfind("</");
    if (closing == std::string::npos)
        throw MalformedLine("a bookmark line without a closing tag");
    return TextBefore(line, closing);
}

}  // namespace

void cNetscapeBookmarkFile::SetWhichBrowser(std::int32_t browser)
{
    switch (browser) {
    case 1:
        m_browserWord = "Firefox";
        break;
    case 2:
        m_browserWord = "Netscape";
        break;
    case 3:
        m_browserWord = "User";
        break;
    default:
        break;
    }
}

BookmarksPtr cNetscapeBookmarkFile::BookmarkFileToCollection()
{
    auto lines = ReadCrLfLines(m_bookmarkFile);
    if (!lines)
        return nullptr;
    m_lines = std::move(*lines);
    if (m_lines.empty())
        return nullptr;

    m_currentLine = 0;
    m_bookmarks = std::make_shared<cBookmarks>();
    BookmarksPtr result;
    try {
        ParseFolder({});
        result = m_bookmarks;
    } catch (const std::exception&) {
        // Whatever was parsed so far is dropped: half a bookmark file is no source.
    }
    m_bookmarks.reset();
    return result;
}

// Walks the folder levels with a stack of path lengths instead of recursing once per level, so
// a file with thousands of nested folders cannot exhaust the call stack. The result is that of
// one call per level: a folder line opens a level, a list end closes one, and a list end at
// the top stops the walk. The folder's own "<DL><p" line comes after its folder line and is
// passed over like any other line. The last element is never examined (in a file ending with
// CR LF it is the empty text after the final line break).
void cNetscapeBookmarkFile::ParseFolder(std::string folderPath)
{
    std::vector<std::size_t> parentLengths;
    const auto last = static_cast<std::int32_t>(m_lines.size() - 1);
    while (m_currentLine != last) {
        const std::string line = TrimSpaces(m_lines[static_cast<std::size_t>(m_currentLine)]);
        ++m_currentLine;
        switch (KindOf(line)) {
        case LineKind::Folder:
            parentLengths.push_back(folderPath.size());
            folderPath += kFolderSeparator + FolderName(line);
            break;
        case LineKind::Bookmark:
            AddBookmark(line, folderPath);
            break;
        case LineKind::Description:
            SetLastDescription(line);
            break;
        case LineKind::ListEnd:
            if (parentLengths.empty())
                return;
            folderPath.resize(parentLengths.back());
            parentLengths.pop_back();
            break;
        case LineKind::Other:
            break;
        }
    }
}

void cNetscapeBookmarkFile::AddBookmark(const std::string& line, const std::string& folderPath)
{
    const std::string address = GetAttribute(line, "href").value_or(std::string());
    const std::string title = BookmarkTitle(line);
    const std::string folder = folderPath.empty() ? "root" : folderPath;
    // Keys are 1-based line numbers, so they are unique within a file; a record that could not
    // be added is simply skipped.
    const BookmarkPtr record = m_bookmarks->Add(title, address, folder, m_currentLine);
    if (!record)
        return;
    record->LinkID = GetAttribute(line, "id").value_or(std::string());
    record->AddDate = NumberAttribute(line, "add_date");
    record->LastVisit = NumberAttribute(line, "last_visit");
    record->LastCharset = GetAttribute(line, "last_charset").value_or(std::string());
    record->LastModified = NumberAttribute(line, "last_modified");
    record->FeedURL = GetAttribute(line, "feedurl").value_or(std::string());
    record->Icon = GetAttribute(line, "icon").value_or(std::string());
    record->ShortcutURL = GetAttribute(line, "shortcuturl").value_or(std::string());
    record->Folder = folder;
    record->FileLineNumber = m_currentLine - 1;
}

// A description belongs to the bookmark added last, whatever lines came between.
void cNetscapeBookmarkFile::SetLastDescription(const std::string& line)
{
    if (m_bookmarks->Count() > 0)
        m_bookmarks->Item(m_bookmarks->Count())->Description = line.substr(4);
}

// The value of the first `name="` in the line, without regard to case, up to the next quote.
// Values are taken as they stand (no entity decoding); a line break inside one becomes a blank.
// The search walks from one `="` to the next rather than trying every position: favicon
// lines run to thousands of characters and every bookmark line is searched nine times.
std::optional<std::string> cNetscapeBookmarkFile::GetAttribute(std::string_view line,
                                                               std::string_view name)
{
    std::size_t equals = line.find("=\"");
    while (equals != std::string_view::npos && !IEndsWith(line.substr(0, equals), name))
        equals = line.find("=\"", equals + 1);
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::size_t start = equals + 2;
    const std::size_t end = line.find('"', start);
    if (end == std::string_view::npos)
        return std::nullopt;
    std::string value(line.substr(start, end - start));
    for (char& c : value) {
        if (c == '\n')
            c = ' ';
    }
    return value;
}

// 0 when absent; a value that is present must be a decimal number (digits, an optional
// leading minus) that fits 32 bits.
std::int32_t cNetscapeBookmarkFile::NumberAttribute(std::string_view line, std::string_view name)
{
    const std::optional<std::string> text = GetAttribute(line, name);
    if (!text)
        return 0;
    const char* const end = text->data() + text->size();
    std::int32_t number = 0;
    const auto [stop, error] = std::from_chars(text->data(), end, number);
    if (error != std::errc() || stop != end)
        throw MalformedLine("not a 32-bit number: " + std::string(name));
    return number;
}

bool cNetscapeBookmarkFile::ReportNotCleaned()
{
    ShowMessage("Bookmarks could not be cleaned at this time", MsgIcon::Information);
    return false;
}

bool cNetscapeBookmarkFile::CreateBookMarkFile()
{
    m_lastBackup.clear();
    if (!m_bookmarks)
        return true;
    // The new file is built from the lines read at load time. A browser that saved its
    // bookmarks meanwhile would lose them without a word, so a changed file is left alone.
    if (!StillAsLoaded())
        return ReportNotCleaned();
    // The user was promised a copy of the file as it was: no copy, no rewrite.
    const BackupResult backup = BackupBookmarkFile(m_bookmarkFile, m_browserWord);
    if (!backup.ok)
        return ReportNotCleaned();
    m_lastBackup = backup.path;
    IndexCleanedLines();
    if (!ReplaceFileAtomically(m_bookmarkFile, KeptText()).empty())
        return ReportNotCleaned();
    return true;
}

bool cNetscapeBookmarkFile::StillAsLoaded() const
{
    const std::optional<std::string> current = ReadFileBytes(m_bookmarkFile);
    if (!current)
        return false;
    std::size_t at = 0;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string& line = m_lines[i];
        if (current->compare(at, line.size(), line) != 0)
            return false;
        at += line.size();
        if (i + 1 < m_lines.size()) {
            if (current->compare(at, 2, "\r\n") != 0)
                return false;
            at += 2;
        }
    }
    return at == current->size();
}

void cNetscapeBookmarkFile::IndexCleanedLines()
{
    m_cleanedLines.assign(m_lines.size(), false);
    for (const BookmarkPtr& record : *m_bookmarks) {
        const auto line = static_cast<std::size_t>(record->FileLineNumber);
        if (record->Clean && record->FileLineNumber >= 0 && line < m_cleanedLines.size())
            m_cleanedLines[line] = true;
    }
}

bool cNetscapeBookmarkFile::IsLineCleaned(std::size_t index) const
{
    return m_cleanedLines[index];
}

// The lines as read, each with CR LF, minus the cleaned bookmark lines and a description line
// that directly follows one of them. A file that ended with CR LF therefore gains one.
std::string cNetscapeBookmarkFile::KeptText() const
{
    std::size_t size = 0;
    for (const std::string& line : m_lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    bool afterCleaned = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (IsLineCleaned(i)) {
            afterCleaned = true;
            continue;
        }
        if (!(afterCleaned && IStartsWith(TrimSpaces(m_lines[i]), "<DD>"))) {
            text += m_lines[i];
            text += "\r\n";
        }
        afterCleaned = false;
    }
    return text;
}

}  // namespace brimtor
