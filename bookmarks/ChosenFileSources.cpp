#include "bookmarks/ChosenFileSources.hpp"

#include "bookmarks/SourceCleaner.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/NumberedError.hpp"
#include "support/modFileFunctions.hpp"

namespace brimtor {

namespace {

// What a writer that leaves the file whole or rewrites it in one step did.
CleanOutcome WholeFileOutcome(bool written, cLinkMain& parent, std::int32_t marked)
{
    CleanOutcome outcome;
    outcome.result = written ? CleanResult::Cleaned : CleanResult::Failed;
    outcome.removed = written ? marked : 0;
    outcome.backups = parent.LastBackups();
    return outcome;
}

}  // namespace

BookmarksPtr TextFileSource::GetBookMarks()
{
    m_parent.LoadTextFile();
    return m_parent.m_bookmarks;
}

std::string TextFileSource::WhyNotLoadable() const
{
    return FileExists(m_parent.TextFile()) ? std::string() : "cannot open " + m_parent.TextFile();
}

// The text-file writer reports by error; the user hears it as from every other writer.
CleanOutcome TextFileSource::CleanUpBookmarks()
{
    const std::int32_t marked = CountMarked(m_parent.m_bookmarks);
    bool written = true;
    try {
        m_parent.CreateTextFile();
    } catch (const NumberedError& error) {
        written = ReportNotCleaned(error.Description());
    }
    return WholeFileOutcome(written, m_parent, marked);
}

BookmarksPtr BookmarkFileSource::GetBookMarks()
{
    m_parent.LoadBookmarkFile();
    return m_parent.m_bookmarks;
}

CleanOutcome BookmarkFileSource::CleanUpBookmarks()
{
    const std::int32_t marked = CountMarked(m_parent.m_bookmarks);
    return WholeFileOutcome(m_parent.CreateNetscapeBookmarkFile(), m_parent, marked);
}

}  // namespace brimtor
