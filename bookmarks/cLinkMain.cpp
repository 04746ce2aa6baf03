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

LoadOutcome cLinkMain::Refresh()
{
    m_bookmarks.reset();
    LoadOutcome loaded;
    if (BookmarkSource* source = Source(m_selectedSource))
        LogFailure("cLinkMain: Refresh", [&] { loaded = source->GetBookMarks(); });
    m_bookmarks = loaded.bookmarks;
    return loaded;
}

void cLinkMain::ClearAllBookmarks()
{
    if (m_bookmarks)
        m_bookmarks->ClearAll();
}

CleanOutcome cLinkMain::CleanChosenSource()
{
    if (BookmarkSource* source = Source(m_selectedSource))
        return source->CleanUpBookmarks();
    CleanOutcome none;
    none.result = CleanResult::NoSuchSource;
    return none;
}

}  // namespace brimtor
