#include "bookmarks/cBookmarks.hpp"

#include <algorithm>

#include "support/NumberedError.hpp"
#include "support/Text.hpp"

namespace brimtor {

static const char* const kSource = "cBookmarks";

BookmarkPtr cBookmarks::Add(const std::string& ShortcutName, const std::string& url,
                            const std::string& BookmarkFolder, std::int32_t BookmarkID,
                            const std::string& ShortcutPath)
{
    const std::string key = std::to_string(BookmarkID);
    if (m_byKey.count(key))
        return nullptr;
    auto record = std::make_shared<cBookmark>();
    record->BookmarkID = BookmarkID;
    record->ShortcutName = ShortcutName;
    record->url = url;
    record->ShortcutPath = ShortcutPath;
    record->Folder = BookmarkFolder;
    record->Status = "pending";
    m_items.push_back(record);
    m_keys.push_back(key);
    m_byKey.emplace(key, record);
    return record;
}

void cBookmarks::ClearAll()
{
    m_items.clear();
    m_keys.clear();
    m_byKey.clear();
}

BookmarkPtr cBookmarks::Item(int position) const
{
    if (position < 1 || position > Count())
        throw NumberedError(ErrorNumber::SubscriptOutOfRange, kSource, "Subscript out of range");
    return m_items[static_cast<std::size_t>(position - 1)];
}

BookmarkPtr cBookmarks::Item(const std::string& key) const
{
    const auto found = m_byKey.find(ToLowerAscii(key));
    if (found == m_byKey.end())
        throw NumberedError(ErrorNumber::InvalidProcedureCall, kSource,
                            "Invalid procedure call or argument");
    return found->second;
}

void cBookmarks::RemoveAt(std::size_t index)
{
    const auto offset = static_cast<std::ptrdiff_t>(index);
    m_byKey.erase(m_keys[index]);
    m_keys.erase(m_keys.begin() + offset);
    m_items.erase(m_items.begin() + offset);
}

void cBookmarks::Remove(int position)
{
    Item(position);  // throws for a bad position
    RemoveAt(static_cast<std::size_t>(position - 1));
}

void cBookmarks::Remove(const std::string& key)
{
    const BookmarkPtr record = Item(key);
    const auto found = std::find(m_items.begin(), m_items.end(), record);
    RemoveAt(static_cast<std::size_t>(found - m_items.begin()));
}

bool cBookmarks::KeyExists(const std::string& key) const
{
    return m_byKey.count(ToLowerAscii(key)) != 0;
}

}  // namespace brimtor
