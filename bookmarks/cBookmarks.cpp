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
    const auto at = FirstNotBelow(key);
    if (at != m_byKey.end() && m_keys[*at] == key)
        return nullptr;
    record.Status = "pending";
    auto shared = std::make_shared<cBookmark>(std::move(record));
    m_byKey.insert(at, static_cast<std::uint32_t>(m_items.size()));
    m_items.push_back(shared);
    m_keys.push_back(key);
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

cBookmarks::KeyIndex::const_iterator cBookmarks::FirstNotBelow(std::int32_t key) const
{
    // Adds come in ascending key order: the end is the answer without a search.
    if (m_byKey.empty() || m_keys[m_byKey.back()] < key)
        return m_byKey.end();
    return std::lower_bound(m_byKey.begin(), m_byKey.end(), key,
                            [this](std::uint32_t position, std::int32_t wanted) {
                                return m_keys[position] < wanted;
                            });
}

std::optional<std::size_t> cBookmarks::Find(const std::string& key) const
{
    const std::optional<std::int32_t> number = KeyNumber(key);
    if (!number)
        return std::nullopt;
    const auto at = FirstNotBelow(*number);
    if (at == m_byKey.end() || m_keys[*at] != *number)
        return std::nullopt;
    return *at;
}

BookmarkPtr cBookmarks::Item(int position) const
{
    if (position < 1 || position > Count())
        throw NumberedError(ErrorNumber::SubscriptOutOfRange, kSource, "Subscript out of range");
    return m_items[static_cast<std::size_t>(position - 1)];
}

std::size_t cBookmarks::PositionOf(const std::string& key) const
{
    const std::optional<std::size_t> position = Find(key);
    if (!position)
        throw NumberedError(ErrorNumber::InvalidProcedureCall, kSource,
                            "Invalid procedure call or argument");
    return *position;
}

BookmarkPtr cBookmarks::Item(const std::string& key) const
{
    return m_items[PositionOf(key)];
}

void cBookmarks::RemoveAt(std::size_t index)
{
    m_byKey.erase(FirstNotBelow(m_keys[index]));
    for (std::uint32_t& position : m_byKey) {
        if (position > index)
            --position;
    }
    const auto offset = static_cast<std::ptrdiff_t>(index);
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
    RemoveAt(PositionOf(key));
}

bool cBookmarks::KeyExists(const std::string& key) const
{
    return Find(key).has_value();
}

}  // namespace brimtor
