#include "bookmarks/cLinkMain.hpp"

#include "support/ErrorLog.hpp"

namespace brimtor {

BookmarksPtr cLinkMain::Bookmarks()
{
    if (!m_bookmarks)
        m_bookmarks = std::make_shared<cBookmarks>();
    return m_bookmarks;
}

BookmarkSource* cLinkMain::Source(std::int32_t code)
{
    const SourceKind* kind = FindSourceKind(code, m_kinds);
    if (!kind)
        return nullptr;
    std::unique_ptr<BookmarkSource>& source = m_sources[code];
    if (!source)
        source = kind->make(m_location);
    return source.get();
}

std::string cLinkMain::ChosenSourceWhere()
{
    const BookmarkSource* source = Source(m_selectedSource);
    return source ? source->FoundWhere() : std::string();
}

TidyLists& cLinkMain::Tidying()
{
    if (!m_tidying)
        m_tidying = std::make_unique<TidyLists>(Bookmarks(), m_folders);
    return *m_tidying;
}

LoadOutcome cLinkMain::Refresh()
{
    m_bookmarks.reset();
    m_folders.reset();
    m_tidying.reset();
    LoadOutcome loaded;
    if (BookmarkSource* source = Source(m_selectedSource))
        LogFailure("cLinkMain: Refresh", [&] { loaded = source->GetBookMarks(); });
    m_bookmarks = loaded.bookmarks;
    m_folders = loaded.folders;
    return loaded;
}

void cLinkMain::ClearAllBookmarks()
{
    if (m_bookmarks)
        m_bookmarks->ClearAll();
    m_tidying.reset();
}

CleanOutcome cLinkMain::CleanChosenSource(TidyView shown)
{
    if (BookmarkSource* source = Source(m_selectedSource)) {
        const std::vector<bool> saved = Tidying().MarkFor(shown);
        CleanOutcome outcome = source->CleanUpBookmarks();
        Tidying().RestoreMarks(saved);
        return outcome;
    }
    CleanOutcome none;
    none.result = CleanResult::NoSuchSource;
    return none;
}

}  // namespace brimtor
