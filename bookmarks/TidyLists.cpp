#include "bookmarks/TidyLists.hpp"

#include <unordered_set>

#include "bookmarks/BookmarkSource.hpp"
#include "bookmarks/PageAddress.hpp"
#include "support/Text.hpp"

namespace brimtor {

TidyView TidyViewOf(const std::string& view)
{
    if (IEquals(view, "Duplicates"))
        return TidyView::Duplicates;
    if (IEquals(view, "Empty Folders"))
        return TidyView::EmptyFolders;
    return TidyView::None;
}

TidyLists::TidyLists(BookmarksPtr bookmarks, FoldersPtr folders)
    : m_bookmarks(bookmarks ? std::move(bookmarks) : std::make_shared<cBookmarks>())
    , m_folders(folders ? std::move(folders) : std::make_shared<cFolders>())
    , m_listed(m_folders->size(), false)
{
    std::unordered_map<std::string, BookmarkPtr> first;
    first.reserve(static_cast<std::size_t>(m_bookmarks->Count()));
    for (const BookmarkPtr& bookmark : *m_bookmarks) {
        std::optional<std::string> page = PageAddress(bookmark->url);
        if (!page)
            continue;
        const auto [kept, isFirst] = first.try_emplace(std::move(*page), bookmark);
        if (isFirst)
            continue;
        m_duplicateOf[bookmark->BookmarkID] = m_duplicates.size();
        m_duplicates.push_back({bookmark, kept->second});
    }
}

std::vector<EmptyFolder> TidyLists::EmptyFolders()
{
    cFolders& folders = *m_folders;
    const std::size_t count = folders.size();
    // Per folder, by FolderID: whether it keeps anything, and whether it holds ticked duplicates.
    std::vector<bool> keeps(count + 1, false);
    std::vector<bool> duplicates(count + 1, false);
    std::unordered_set<const cBookmark*> going;
    for (const Duplicate& duplicate : m_duplicates) {
        if (duplicate.Clean)
            going.insert(duplicate.copy.get());
    }
    for (const BookmarkPtr& bookmark : *m_bookmarks) {
        const auto id = static_cast<std::size_t>(bookmark->FolderID);
        if (id == 0 || id > count)
            continue;
        (going.count(bookmark.get()) ? duplicates : keeps)[id] = true;
    }
    // Listed parents first, so from the last folder back every folder is settled before its
    // parent hears of it. A folder that names a parent after itself cannot be trusted: kept.
    for (std::size_t id = count; id >= 1; --id) {
        const cFolder& folder = folders[id - 1];
        const auto parent = static_cast<std::size_t>(folder.ParentID);
        if (folder.AlwaysKept || parent >= id)
            keeps[id] = true;
        if (parent > 0 && parent < id) {
            keeps[parent] = keeps[parent] || keeps[id];
            duplicates[parent] = duplicates[parent] || duplicates[id];
        }
    }
    std::vector<EmptyFolder> empty;
    for (std::size_t id = 1; id <= count; ++id) {
        cFolder& folder = folders[id - 1];
        const bool listed = !keeps[id];
        if (listed != m_listed[id - 1])
            folder.Clean = listed;
        m_listed[id - 1] = listed;
        if (listed)
            empty.push_back({&folder, duplicates[id]});
    }
    return empty;
}

bool* TidyLists::Tick(TidyView view, std::int32_t id)
{
    if (view == TidyView::Duplicates) {
        const auto found = m_duplicateOf.find(id);
        return found == m_duplicateOf.end() ? nullptr : &m_duplicates[found->second].Clean;
    }
    const auto index = static_cast<std::size_t>(id) - 1;
    if (view != TidyView::EmptyFolders || id < 1 || index >= m_folders->size() || !m_listed[index])
        return nullptr;
    return &(*m_folders)[index].Clean;
}

std::vector<bool> TidyLists::MarkFor(TidyView shown)
{
    if (shown == TidyView::EmptyFolders)
        EmptyFolders();  // the list as the duplicates' ticks leave it now
    std::vector<bool> saved;
    for (const BookmarkPtr& bookmark : *m_bookmarks) {
        saved.push_back(bookmark->Clean);
        if (shown != TidyView::None)
            bookmark->Clean = false;
    }
    for (cFolder& folder : *m_folders) {
        saved.push_back(folder.Clean);
        folder.Clean = shown == TidyView::EmptyFolders && folder.Clean;
    }
    if (shown == TidyView::Duplicates) {
        for (const Duplicate& duplicate : m_duplicates)
            duplicate.copy->Clean = duplicate.Clean;
    }
    return saved;
}

void TidyLists::RestoreMarks(const std::vector<bool>& saved)
{
    std::size_t i = 0;
    for (const BookmarkPtr& bookmark : *m_bookmarks)
        bookmark->Clean = saved.at(i++);
    for (cFolder& folder : *m_folders)
        folder.Clean = saved.at(i++);
}

MarkCount TidyLists::CountFor(TidyView shown)
{
    const std::vector<bool> saved = MarkFor(shown);
    const MarkCount count {CountMarked(m_bookmarks), CountMarked(m_folders)};
    RestoreMarks(saved);
    return count;
}

}  // namespace brimtor
