#include "bookmarks/cChromium.hpp"

#include <unordered_set>

#include "bookmarks/BrowserLock.hpp"
#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "support/Backup.hpp"
#include "support/FileIo.hpp"

namespace brimtor {

namespace {

std::unordered_set<std::int32_t> MarkedIds(const cBookmarks& bookmarks)
{
    std::unordered_set<std::int32_t> ids;
    for (const BookmarkPtr& bookmark : bookmarks) {
        if (bookmark->Clean)
            ids.insert(bookmark->BookmarkID);
    }
    return ids;
}

std::unordered_set<std::int32_t> MarkedFolderIds(const ChromiumLoad& load)
{
    std::unordered_set<std::int32_t> ids;
    for (std::size_t i = 0; i < load.folderIds.size(); ++i) {
        if ((*load.folders)[i].Clean)
            ids.insert(load.folderIds[i]);
    }
    return ids;
}

}  // namespace

cChromium::cChromium(const SourceLocation& where)
    : m_where(where), m_found(FindChromiumProfile())
{
}

std::string cChromium::FoundWhere() const
{
    if (!m_loaded.profileFolder.empty())
        return m_loaded.Description();
    return m_found ? m_found->Description() : std::string();
}

LoadOutcome cChromium::GetBookMarks()
{
    m_loadedTree = {};
    const std::string& named = m_where.profileFolder;
    if (named.empty() && !m_found)
        return {nullptr, "no Chromium-family browser profile with bookmarks could be found for this user", {}};
    m_loaded = named.empty() ? *m_found : ChromiumProfileAt(named);
    // One read is the snapshot everything works from: the browser may rewrite the file any time.
    const std::string file = m_loaded.BookmarksFile();
    const Outcome<std::string> bytes = ReadRegularFile(file);
    if (!bytes)
        return {nullptr, bytes.Reason(), {}};
    ChromiumLoad read = ReadChromiumBookmarks(*bytes);
    if (!read.bookmarks)
        return {nullptr, file + " " + read.reason, {}};
    m_loadedHash = HashOf(*bytes);
    TellLeftOut(read, file);
    m_loadedTree = std::move(read);
    return m_loadedTree;
}

CleanOutcome cChromium::CleanUpBookmarks()
{
    if (!m_loadedTree.bookmarks)
        return {};
    // A running browser keeps its bookmarks in memory and writes them back over ours.
    if (const std::optional<std::string> running = ChromiumRunning(m_loaded.browserFolder, m_loaded.browserName))
        return RefusedWhileRunning(*running);
    const std::string file = m_loaded.BookmarksFile();
    // The new file is built from the bytes the bookmarks came from; whatever the browser saved
    // since would be lost without a word. The copy is made of the very bytes compared, so no
    // change can slip in between.
    const auto current = ReadFileBytes(file);
    if (!current || HashOf(*current) != m_loadedHash)
        return NotCleaned(file + " has changed since its bookmarks were loaded; load them again before cleaning");
    const BackupCopy backup = MakeBackup({file, "Chromium", ".json"}, *current);
    if (!backup)
        return NotCleaned(NoBackupReason(file));
    const ChromiumRewrite rewrite
        = ChromiumBookmarksWithout(*current, MarkedIds(*m_loadedTree.bookmarks), MarkedFolderIds(m_loadedTree));
    CleanOutcome outcome = Rewritten(ReplaceFileAtomically(file, rewrite.text), rewrite.removed, *backup);
    if (outcome.result == CleanResult::Cleaned) {
        outcome.removedFolders = rewrite.removedFolders;
        m_loadedHash = HashOf(rewrite.text);
    }
    return outcome;
}

}  // namespace brimtor
