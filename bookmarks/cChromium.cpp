#include "bookmarks/cChromium.hpp"

#include <functional>
#include <unordered_set>

#include "bookmarks/BrowserLock.hpp"
#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "bookmarks/SourceCleaner.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/MessageBox.hpp"

namespace brimtor {

namespace {

std::size_t HashOf(const std::string& bytes)
{
    return std::hash<std::string>{}(bytes);
}

std::unordered_set<std::int32_t> MarkedIds(const cBookmarks& bookmarks)
{
    std::unordered_set<std::int32_t> ids;
    for (const BookmarkPtr& bookmark : bookmarks) {
        if (bookmark->Clean)
            ids.insert(bookmark->BookmarkID);
    }
    return ids;
}

}  // namespace

cChromium::cChromium(cLinkMain& parent)
    : m_parent(parent), m_found(FindChromiumProfile())
{
}

std::string cChromium::FoundWhere() const
{
    return m_found ? m_found->Description() : std::string();
}

BookmarksPtr cChromium::GetBookMarks()
{
    m_bookmarks.reset();
    m_problem.clear();
    const std::string& named = m_parent.ProfileFolder();
    if (named.empty() && !m_found) {
        m_problem = "no Chromium-family browser profile with bookmarks could be found for this user";
        return nullptr;
    }
    m_loaded = named.empty() ? *m_found : ChromiumProfileAt(named);
    // One read is the snapshot everything works from: the browser may rewrite the file any time.
    const std::string file = m_loaded.BookmarksFile();
    const auto bytes = ReadFileBytes(file);
    if (!bytes) {
        m_problem = "cannot open " + file;
        return nullptr;
    }
    ChromiumRead read = ReadChromiumBookmarks(*bytes);
    if (!read.bookmarks) {
        m_problem = file + " " + read.problem;
        return nullptr;
    }
    m_loadedHash = HashOf(*bytes);
    m_bookmarks = std::move(read.bookmarks);
    return m_bookmarks;
}

std::string cChromium::WhyNotLoadable() const
{
    return m_problem;
}

std::string cChromium::WhyNotRewritable(const std::optional<std::string>& current) const
{
    // The new file is built from the bytes the bookmarks came from; whatever the browser saved
    // since would be lost without a word.
    if (!current || HashOf(*current) != m_loadedHash) {
        return m_loaded.BookmarksFile()
            + " has changed since its bookmarks were loaded; load them again before cleaning";
    }
    return {};
}

CleanOutcome cChromium::CleanUpBookmarks()
{
    CleanOutcome outcome;
    if (!m_bookmarks) {
        outcome.result = CleanResult::Cleaned;
        return outcome;
    }
    // A running browser keeps its bookmarks in memory and writes them back over ours.
    if (ChromiumIsRunning(m_loaded.browserFolder)) {
        ShowMessage(m_loaded.browserName + " is running. Close it, then clean again.", MsgIcon::Exclamation);
        return outcome;
    }
    const std::string file = m_loaded.BookmarksFile();
    // The copy is made of the very bytes compared, so no change can slip in between.
    const auto current = ReadFileBytes(file);
    if (const std::string why = WhyNotRewritable(current); !why.empty()) {
        ReportNotCleaned(why);
        return outcome;
    }
    const BackupResult backup = BackupStoreBytes(*current, "Chromium", ".json");
    if (!backup.ok) {
        ReportNotCleaned("No backup copy of " + file + " could be made, so it was left unchanged");
        return outcome;
    }
    outcome.backups.push_back(backup.path);
    const ChromiumRewrite rewrite = ChromiumBookmarksWithout(*current, MarkedIds(*m_bookmarks));
    if (const std::string failure = ReplaceFileAtomically(file, rewrite.text); !failure.empty()) {
        ReportNotCleaned(failure);
        return outcome;
    }
    m_loadedHash = HashOf(rewrite.text);
    outcome.result = CleanResult::Cleaned;
    outcome.removed = rewrite.removed;
    return outcome;
}

}  // namespace brimtor
