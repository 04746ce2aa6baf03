#include "bookmarks/TextFileSource.hpp"

#include <algorithm>

#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/Text.hpp"

namespace brimtor {

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A line "address name": the address runs from the first character that is no blank or tab to
// the next one, since no address holds a blank; the rest, blanks around it trimmed, names it. A
// line that is all address is its own name, as it stands.
static void AddLine(cBookmarks& bookmarks, const std::string& line, std::int32_t id)
{
    const auto start = std::find_if_not(line.begin(), line.end(), IsBlank);
    const auto end = std::find_if(start, line.end(), IsBlank);
    const auto nameStart = std::find_if_not(end, line.end(), IsBlank);
    auto nameEnd = line.end();
    while (nameEnd != nameStart && IsBlank(*(nameEnd - 1)))
        --nameEnd;
    const std::string name(nameStart, nameEnd);
    bookmarks.Add(name.empty() ? line : name, std::string(start, end), {}, id);
}

LoadOutcome TextFileSource::LoadTextFile()
{
    m_bookmarks.reset();
    m_removed.clear();
    const auto bytes = ReadFileBytes(m_where.file);
    if (!bytes)
        return {nullptr, "cannot open " + m_where.file, {}};
    if (bytes->empty())
        return {};
    m_loadedHash = HashOf(*bytes);
    m_lines = SplitLines(*bytes);
    m_bookmarks = std::make_shared<cBookmarks>();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (!m_lines[i].empty())
            AddLine(*m_bookmarks, m_lines[i], static_cast<std::int32_t>(i));
    }
    return {m_bookmarks, {}, {}};
}

CleanOutcome TextFileSource::CreateTextFile()
{
    if (!m_bookmarks)
        return {};
    const std::string& file = m_where.file;
    // The file is written from the links read at load time; whatever was added to it since
    // would be lost without a word. The copy is made of the very bytes compared.
    const auto current = ReadFileBytes(file);
    if (!current || HashOf(*current) != m_loadedHash)
        return NotCleaned(file + " has changed since its links were loaded; load it again before cleaning");
    const BackupCopy backup = MakeBackup({file, "TextFile", ".txt"}, *current);
    if (!backup)
        return NotCleaned(NoBackupReason(file));
    // The lines kept go back whole, name and all, with the line end the file has, so an LF
    // file stays LF.
    const std::string_view lineEnd = LineEndOf(*current);
    std::string text;
    for (const BookmarkPtr& bookmark : *m_bookmarks) {
        if (!bookmark->Clean && !m_removed.count(bookmark->BookmarkID))
            text.append(m_lines.at(static_cast<std::size_t>(bookmark->BookmarkID))).append(lineEnd);
    }
    CleanOutcome outcome = Rewritten(ReplaceFileAtomically(file, text), CountMarked(m_bookmarks), *backup);
    if (outcome.result != CleanResult::Cleaned)
        return outcome;
    m_loadedHash = HashOf(text);
    // A later clean of the same load, with other marks, must not write these lines back.
    for (const BookmarkPtr& bookmark : *m_bookmarks) {
        if (bookmark->Clean)
            m_removed.insert(bookmark->BookmarkID);
    }
    return outcome;
}

}  // namespace brimtor
