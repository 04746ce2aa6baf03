#include "bookmarks/cNetscapeBookmarkFile.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <stdexcept>

#include "bookmarks/BookmarkFileLine.hpp"
#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

// The file split at its line end (a file ending with it has an empty last element, an empty
// file has no element at all); nothing when it cannot be read. Read in chunks: the whole file
// beside its lines would double the memory a load needs.
std::optional<std::vector<std::string>> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    LineSplitter splitter;
    bool empty = true;
    const bool read = static_cast<bool>(ReadRegularFileInChunks(path, [&](std::string_view chunk) {
        empty = false;
        splitter.Add(chunk, lines);
        return true;
    }));
    if (!read)
        return std::nullopt;
    if (!empty)
        splitter.Finish(lines);
    // The vector grew by doubling; up to half of it would stay unused for as long as the lines.
    lines.shrink_to_fit();
    return lines;
}

// True when the bytes split into exactly these lines: joined by the bytes' own line end (in
// an LF file a CR LF ends a line too), with nothing after the last line.
bool IsJoinedLines(std::string_view bytes, const std::vector<std::string>& lines)
{
    const bool lf = LineEndOf(bytes) == "\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            if (bytes.substr(0, 2) == "\r\n")
                bytes.remove_prefix(2);
            else if (lf && bytes.substr(0, 1) == "\n")
                bytes.remove_prefix(1);
            else
                return false;
        }
        if (bytes.substr(0, lines[i].size()) != lines[i])
            return false;
        bytes.remove_prefix(lines[i].size());
    }
    return bytes.empty();
}

// The line without the byte ranges [start, end), which may overlap.
std::string WithoutRanges(std::string_view line, std::vector<std::pair<std::size_t, std::size_t>> ranges)
{
    std::sort(ranges.begin(), ranges.end());
    std::string kept;
    std::size_t from = 0;
    for (const auto& [start, end] : ranges) {
        if (start > from)
            kept += line.substr(from, start - from);
        from = std::max(from, end);
    }
    kept += line.substr(std::min(from, line.size()));
    return kept;
}

// For each line that loses bytes, the byte ranges [start, end) that go.
using Cuts = std::map<std::size_t, std::vector<std::pair<std::size_t, std::size_t>>>;

// Cuts a description part, and when it ends its line the lines below that carry its text on.
// Such a line holds text only: a description's "<" is written "&lt;", so a line that starts a
// tag, or a blank line, ends it.
void CutDescription(const std::vector<std::string>& lines, std::size_t line, LinePart part, bool endsLine, Cuts& cuts)
{
    cuts[line].emplace_back(part.start, part.end);
    std::vector<LinePart> parts;
    for (std::size_t below = line + 1; endsLine && below < lines.size(); ++below) {
        const std::string_view text = lines[below];
        const std::size_t first = text.find_first_not_of(" \t");
        SplitLineParts(text, parts);
        if (first == std::string_view::npos || text[first] == '<' || !parts.empty())
            break;
        cuts[below].emplace_back(0, text.size());
    }
}

// Cuts the bookmark `parts[i]` of the line and the description right after it: the next part
// of the line, or, when the bookmark ends its line, a description that starts the next one.
void CutBookmark(const std::vector<std::string>& lines, std::size_t line, const std::vector<LinePart>& parts,
                 std::size_t i, Cuts& cuts)
{
    cuts[line].emplace_back(parts[i].start, parts[i].end);
    if (i + 1 < parts.size()) {
        if (parts[i + 1].kind == LinePartKind::Description)
            CutDescription(lines, line, parts[i + 1], i + 2 == parts.size(), cuts);
        return;
    }
    std::vector<LinePart> next;
    if (line + 1 < lines.size())
        SplitLineParts(lines[line + 1], next);
    if (!next.empty() && next[0].kind == LinePartKind::Description
        && lines[line + 1].find_first_not_of(" \t") == next[0].start)
        CutDescription(lines, line + 1, next[0], next.size() == 1, cuts);
}

// Where the bookmarks marked Clean, with their descriptions, are in the lines. Each record knows
// its line and how many bookmarks come before it there.
Cuts MarkedParts(const std::vector<std::string>& lines, const cBookmarks& bookmarks)
{
    std::map<std::size_t, std::vector<std::int32_t>> marked;  // line: its marked bookmarks
    for (const BookmarkPtr& record : bookmarks) {
        const auto line = static_cast<std::size_t>(record->FileLineNumber);
        if (record->Clean && record->FileLineNumber >= 0 && line < lines.size())
            marked[line].push_back(record->FileLineEntry);
    }
    Cuts cuts;
    std::vector<LinePart> parts;
    for (const auto& [line, entries] : marked) {
        SplitLineParts(lines[line], parts);
        std::int32_t entry = 0;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (parts[i].kind == LinePartKind::Bookmark
                && std::find(entries.begin(), entries.end(), entry++) != entries.end())
                CutBookmark(lines, line, parts, i, cuts);
        }
    }
    return cuts;
}

// Cuts from byte `start` of line `startLine` up to byte `end` of line `endLine`: a folder's entry,
// its description and its whole list.
void CutSpan(const std::vector<std::string>& lines, std::size_t startLine, std::size_t start, std::size_t endLine,
             std::size_t end, Cuts& cuts)
{
    for (std::size_t line = startLine; line <= endLine; ++line)
        cuts[line].emplace_back(line == startLine ? start : 0, line == endLine ? end : lines[line].size());
}

// A bookmark line the reader cannot take; it ends the whole load.
struct MalformedLine : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The text between the last ">" at or before `end` and `end`.
std::string TextBefore(std::string_view line, std::size_t end)
{
    const std::size_t open = line.rfind('>', end);
    const std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    return std::string(line.substr(start, end - start));
}

// A folder ends with its closing tag: the name is what stands before its "<".
std::string FolderName(std::string_view line)
{
    return TextBefore(line, line.rfind('<'));
}

std::string BookmarkTitle(std::string_view line)
{
    const std::size_t closing = line.rfind("</");
    if (closing == std::string_view::npos)
        throw MalformedLine("a bookmark line without a closing tag");
    return TextBefore(line, closing);
}

// The attributes the reader takes from a bookmark line, by their slot in BookmarkAttributes.
enum Attribute { Href, Id, AddDate, LastVisit, LastCharset, LastModified, FeedUrl, Icon, ShortcutUrl };
constexpr std::array<std::string_view, 9> kAttributeNames {
    "href", "id", "add_date", "last_visit", "last_charset", "last_modified", "feedurl", "icon",
    "shortcuturl"};

// For every name, the value of the first `name="` in the line, without regard to case, up to
// the next quote; nothing when the name is absent or its value has no closing quote. A name
// matches where the text before `="` ends with it. Found in one walk from one `="` to the
// next: favicon lines run to thousands of characters, too long to search once per name.
class BookmarkAttributes {
public:
    explicit BookmarkAttributes(std::string_view line)
    {
        for (std::size_t equals = line.find("=\"");
             equals != std::string_view::npos && m_missing > 0;
             equals = line.find("=\"", equals + 1)) {
            const std::size_t start = equals + 2;
            const std::size_t end = line.find('"', start);
            if (end == std::string_view::npos)
                break;  // nor is there a later `="`: every name still missing stays so
            TakeValue(line.substr(0, equals), line.substr(start, end - start));
        }
    }

    // Taken as it stands (no entity decoding); a line break inside it becomes a blank.
    std::string Text(Attribute slot) const
    {
        std::string value(m_values[slot].value_or(std::string_view()));
        std::replace(value.begin(), value.end(), '\n', ' ');
        return value;
    }

    // The value as a decimal number (digits, an optional leading minus) that fits 32 bits; 0
    // when absent or anything else. Browsers write dates in milliseconds or past 2038 that
    // fit no such field: one odd date must not cost the user every other bookmark.
    std::int32_t Number(Attribute slot) const
    {
        if (!m_values[slot])
            return 0;
        const std::string_view text = *m_values[slot];
        const char* const end = text.data() + text.size();
        std::int32_t number = 0;
        const auto [stop, error] = std::from_chars(text.data(), end, number);
        return error == std::errc() && stop == end ? number : 0;
    }

private:
    // Gives `value` to every name still without one that `before` ends with.
    void TakeValue(std::string_view before, std::string_view value)
    {
        // The letter before `="` rules out most names before a whole comparison.
        const char last = before.empty() ? '\0' : ToLowerAscii(before.back());
        for (std::size_t slot = 0; slot < m_values.size(); ++slot) {
            const std::string_view name = kAttributeNames[slot];
            if (!m_values[slot] && name.back() == last && IEndsWith(before, name)) {
                m_values[slot] = value;
                --m_missing;
            }
        }
    }

    std::array<std::optional<std::string_view>, kAttributeNames.size()> m_values;
    std::size_t m_missing = kAttributeNames.size();
};

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
    m_folders.reset();
    auto lines = ReadLines(m_bookmarkFile);
    if (!lines)
        return nullptr;
    m_lines = std::move(*lines);
    if (m_lines.empty())
        return nullptr;

    m_currentLine = 0;
    m_laterEntries = 0;
    m_bookmarks = std::make_shared<cBookmarks>();
    // Every line could be a bookmark: an upper bound that spares the collection its regrowth.
    m_bookmarks->Reserve(m_lines.size());
    m_folders = std::make_shared<cFolders>();
    m_folderSpans.clear();
    BookmarksPtr result;
    try {
        ParseFolders();
        result = m_bookmarks;
    } catch (const std::exception&) {
        // Whatever was parsed so far is dropped: half a bookmark file is no source.
        m_folders.reset();
    }
    for (std::size_t i = 0; m_folders && i < m_folders->size(); ++i) {
        if (m_folderSpans[i].endLine < 0)
            (*m_folders)[i].AlwaysKept = true;  // no end to take it out by
    }
    m_bookmarks.reset();
    return result;
}

LoadOutcome cNetscapeBookmarkFile::Load(std::string path)
{
    *this = cNetscapeBookmarkFile();
    SetBookmarkFile(path);
    LoadOutcome loaded {BookmarkFileToCollection(), {}, {}};
    loaded.folders = m_folders;
    return loaded;
}

// One pass over the lines with a stack of the open folders (their parent paths' lengths and
// their numbers), so however deeply the folders nest the call stack does not grow. A folder
// opens a level, a list end closes one, and a list end at the top level ends the walk. A
// folder's own "<DL><p>" comes after its heading and is passed over like a separator. The last
// element is never examined (in a file ending with its line end it is the empty text after the
// final line break).
void cNetscapeBookmarkFile::ParseFolders()
{
    std::string folderPath;
    struct Level {
        std::size_t pathLength;  // of the parent's path
        std::int32_t folder;     // the FolderID its contents count for
        bool listed;
    };
    std::vector<Level> open;
    std::vector<LinePart> parts;
    const auto last = static_cast<std::int32_t>(m_lines.size() - 1);
    while (m_currentLine != last) {
        const std::string_view line = m_lines[static_cast<std::size_t>(m_currentLine)];
        ++m_currentLine;
        SplitLineParts(line, parts);
        std::int32_t bookmarksOnLine = 0;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const LinePart& part = parts[i];
            const std::string_view text = line.substr(part.start, part.end - part.start);
            const std::int32_t folder = open.empty() ? 0 : open.back().folder;
            switch (part.kind) {
            case LinePartKind::Folder: {
                // Deeper than any browser nests, a folder is not listed: what it holds counts for
                // the listed folder above it, which is then never taken for empty.
                const bool listed = open.size() < static_cast<std::size_t>(kMaxNesting);
                if (listed)
                    AddFolder(text, folderPath, part.start, folder);
                else
                    (*m_folders)[static_cast<std::size_t>(folder - 1)].AlwaysKept = true;
                open.push_back({folderPath.size(), listed ? static_cast<std::int32_t>(m_folders->size()) : folder, listed});
                folderPath += kFolderSeparator + FolderName(text);
                break;
            }
            case LinePartKind::Bookmark:
                AddBookmark(text, folderPath, bookmarksOnLine++, folder);
                break;
            case LinePartKind::Description:
                SetLastDescription(TrimSpacesView(text));
                break;
            case LinePartKind::ListEnd:
                if (open.empty())
                    return;
                if (open.back().listed) {
                    m_folderSpans[static_cast<std::size_t>(folder - 1)].endLine = m_currentLine - 1;
                    m_folderSpans[static_cast<std::size_t>(folder - 1)].end = part.end;
                }
                folderPath.resize(open.back().pathLength);
                open.pop_back();
                break;
            case LinePartKind::ListStart:
            case LinePartKind::Other:
                break;
            }
        }
    }
}

void cNetscapeBookmarkFile::AddFolder(std::string_view text, const std::string& folderPath, std::size_t start,
                                      std::int32_t parent)
{
    cFolder& folder = ListFolder(*m_folders, FolderName(text), folderPath, parent);
    // Firefox writes its toolbar and its other bookmarks as folders marked so: roots, not the user's.
    folder.AlwaysKept = IFind(text, "PERSONAL_TOOLBAR_FOLDER=") != std::string_view::npos
                     || IFind(text, "UNFILED_BOOKMARKS_FOLDER=") != std::string_view::npos;
    m_folderSpans.push_back({m_currentLine - 1, start});
}

void cNetscapeBookmarkFile::AddBookmark(std::string_view text, const std::string& folderPath, std::int32_t onLine,
                                        std::int32_t folder)
{
    const BookmarkAttributes attributes(text);
    cBookmark record;
    // The first bookmark of a line is keyed by its 1-based line number, as a file with one a line
    // has always been; any later one on the same line by a number past the last line's.
    record.BookmarkID = onLine == 0 ? m_currentLine : static_cast<std::int32_t>(m_lines.size()) + ++m_laterEntries;
    record.FolderID = folder;
    record.FileLineNumber = m_currentLine - 1;
    record.FileLineEntry = onLine;
    record.ShortcutName = BookmarkTitle(text);
    record.url = attributes.Text(Href);
    record.Folder = folderPath.empty() ? "root" : folderPath;
    record.LinkID = attributes.Text(Id);
    record.AddDate = attributes.Number(AddDate);
    record.LastVisit = attributes.Number(LastVisit);
    record.LastCharset = attributes.Text(LastCharset);
    record.LastModified = attributes.Number(LastModified);
    record.FeedURL = attributes.Text(FeedUrl);
    record.Icon = attributes.Text(Icon);
    record.ShortcutURL = attributes.Text(ShortcutUrl);
    m_bookmarks->AddRecord(std::move(record));
}

// A description belongs to the bookmark added last, whatever lines came between.
void cNetscapeBookmarkFile::SetLastDescription(std::string_view text)
{
    if (m_bookmarks->Count() > 0)
        m_bookmarks->Item(m_bookmarks->Count())->Description = text.substr(4);
}

CleanOutcome cNetscapeBookmarkFile::CreateBookMarkFile()
{
    // Without a collection nothing is written, so the file need not be read.
    return CreateBookMarkFile(m_bookmarks ? ReadFileBytes(m_bookmarkFile) : std::nullopt);
}

CleanOutcome cNetscapeBookmarkFile::CreateBookMarkFile(std::optional<std::string> onDisk)
{
    if (!m_bookmarks)
        return {};
    // This writer's refusals are told in the window in fixed words.
    // The new file is built from the lines read at load time. A browser that saved its
    // bookmarks meanwhile would lose them without a word, so a changed file is left alone.
    // The copy is made of the very bytes compared, so no change can slip in between.
    if (!onDisk || !IsJoinedLines(*onDisk, m_lines))
        return NotCleanedUnshown(m_bookmarkFile + " has changed since its bookmarks were loaded; "
                                                  "load them again before cleaning");
    // The user was promised a copy of the file as it was: no copy, no rewrite.
    const BackupCopy backup = MakeBackup({m_bookmarkFile, m_browserWord, ".html"}, *onDisk);
    if (!backup)
        return NotCleanedUnshown(NoBackupReason(m_bookmarkFile));
    const std::string_view lineEnd = LineEndOf(*onDisk);
    // Freed before the new text is built, so a large file is not held three times over.
    onDisk.reset();
    CleanOutcome outcome = Rewritten(ReplaceFileAtomically(m_bookmarkFile, KeptText(lineEnd)),
                                     CountMarked(m_bookmarks), *backup);
    if (outcome.result == CleanResult::Cleaned)
        outcome.removedFolders = CountMarked(m_folders);
    outcome.reasonUnshown = true;
    return outcome;
}

// The lines as read, joined by the line end, minus the cuts; a line the cuts leave with blanks
// only goes with its line end. Nothing else changes, so an unmarked file comes back byte for
// byte and repeated cleans never let it grow.
std::string cNetscapeBookmarkFile::KeptText(std::string_view lineEnd) const
{
    Cuts cuts = MarkedParts(m_lines, *m_bookmarks);
    for (std::size_t i = 0; m_folders && i < m_folders->size(); ++i) {
        const FolderSpan& span = m_folderSpans[i];
        if ((*m_folders)[i].Clean && span.endLine >= 0)
            CutSpan(m_lines, static_cast<std::size_t>(span.startLine), span.start, static_cast<std::size_t>(span.endLine),
                    span.end, cuts);
    }
    std::size_t size = 0;
    for (const std::string& line : m_lines)
        size += line.size() + lineEnd.size();
    std::string text;
    text.reserve(size);
    std::string kept;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto cut = cuts.find(i);
        if (cut == cuts.end()) {
            text += m_lines[i];
        } else {
            kept = WithoutRanges(m_lines[i], cut->second);
            if (kept.find_first_not_of(" \t") == std::string::npos)
                continue;
            text += kept;
        }
        if (i + 1 < m_lines.size())
            text += lineEnd;
    }
    return text;
}

}  // namespace brimtor
