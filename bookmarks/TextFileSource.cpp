#include "bookmarks/TextFileSource.hpp"

#include <functional>

#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/Text.hpp"

namespace brimtor {

static std::size_t HashOf(const std::string& bytes)
{
    return std::hash<std::string>{}(bytes);
}

LoadOutcome TextFileSource::LoadTextFile()
{
    m_bookmarks.reset();
    const auto bytes = ReadFileBytes(m_where.file);
    if (!bytes)
        return {nullptr, "cannot open " + m_where.file, {}};
    if (bytes->empty())
        return {};
    m_loadedHash = HashOf(*bytes);
    const std::vector<std::string> lines = SplitLines(*bytes);
    m_bookmarks = std::make_shared<cBookmarks>();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty())
            m_bookmarks->Add(lines[i], lines[i], {}, static_cast<std::int32_t>(i));
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
        return NotCleaned("No backup copy of " + file + " could be made, so it was left unchanged");
    // The links kept go back with the line end the file has, so an LF file stays LF.
    const std::string_view lineEnd = LineEndOf(*current);
    std::string text;
    for (const BookmarkPtr& bookmark : *m_bookmarks) {
        if (!bookmark->Clean)
            text.append(bookmark->url).append(lineEnd);
    }
    CleanOutcome outcome = Rewritten(ReplaceFileAtomically(file, text), CountMarked(m_bookmarks), *backup);
    if (outcome.result == CleanResult::Cleaned)
        m_loadedHash = HashOf(text);
    return outcome;
}

}  // namespace brimtor
