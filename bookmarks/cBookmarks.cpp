#include "bookmarks/cBookmarks.hpp"

#include <algorithm>
#include <charconv>
#include <optional>

#include "support/NumberedError.hpp"

namespace brimtor {

static const char* const kSource = "cBookmarks";

// The number whose decimal text is exactly `key` (no sign but a minus, no leading zero, no
// blank); nothing for any other text.
static std::optional<std::int32_t> KeyNumber(std::string_view key)
{
    const char* const end = key.data() + key.size();
    std::int32_t number = 0;
    const auto [stop, error] = std::from_chars(key.data(), end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    char text[16];
    const char* const written = std::to_chars(text, text + sizeof text, number).ptr;
    if (std::string_view(text, static_cast<std::size_t>(written - text)) != key)
        return std::nullopt;
    return number;
}

BookmarkPtr cBookmarks::Add(const std::string& ShortcutName, const std::string& url,
                            const std::string& BookmarkFolder, std::int32_t BookmarkID,
                            const std::string& ShortcutPath)
{
    cBookmark record;
    record.BookmarkID = BookmarkID;
    record.ShortcutName = ShortcutName;
    record.url = url;
    record.ShortcutPath = ShortcutPath;
    record.Folder = BookmarkFolder;
    return AddRecord(std::move(record));
}

BookmarkPtr cBookmarks::AddRecord(cBookmark&& record)
{
    const std::int32_t key = record.BookmarkID;
    if (m_byKey.count(key))
        return nullptr;
    record.Status = "pending";
    auto shared = std::make_shared<cBookmark>(std::move(record));
    m_items.push_back(shared);
    m_keys.push_back(key);
    m_byKey.emplace(key, shared);
    return shared;
}

void cBookmarks::Reserve(std::size_t count)
{
    m_items.reserve(count);
    m_keys.reserve(count);
    m_byKey.reserve(count);
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
    const std::optional<std::int32_t> number = KeyNumber(key);
    const auto found = number ? m_byKey.find(*number) : m_byKey.end();
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
    const std::optional<std::int32_t> number = KeyNumber(key);
    return number && m_byKey.count(*number) != 0;
}

}  // namespace brimtor
