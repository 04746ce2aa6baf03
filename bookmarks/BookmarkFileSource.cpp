#include "bookmarks/BookmarkFileSource.hpp"

#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/modFileFunctions.hpp"

namespace brimtor {

LoadOutcome BookmarkFileSource::LoadBookmarkFile()
{
    LoadOutcome loaded = m_file.Load(m_where.file);
    m_bookmarks = loaded.bookmarks;
    if (!m_bookmarks && !FileExists(m_where.file))
        return {nullptr, "cannot open " + m_where.file, {}};
    return loaded;
}

CleanOutcome BookmarkFileSource::CreateNetscapeBookmarkFile()
{
    if (!m_bookmarks)
        return {};
    // One read serves both copies and the writer's check, so all three see the same bytes.
    std::optional<std::string> onDisk = ReadFileBytes(m_where.file);
    const BackupCopy textCopy = onDisk ? MakeBackup({m_where.file, "TextFile", ".txt"}, *onDisk) : std::nullopt;
    if (onDisk && !textCopy)
        return NotCleanedUnshown(NoBackupReason(m_where.file));
    m_file.SetWhichBrowser(3);
    m_file.SetBookmarks(m_bookmarks);
    CleanOutcome outcome = m_file.CreateBookMarkFile(std::move(onDisk));
    if (textCopy)
        outcome.backups.insert(outcome.backups.begin(), *textCopy);
    return outcome;
}

}  // namespace brimtor
