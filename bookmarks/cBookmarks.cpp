#include "bookmarks/cBookmarks.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
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
    if (PositionOfKey(key))
        return nullptr;
    record.Status = "pending";
    auto shared = std::make_shared<cBookmark>(std::move(record));
    const auto position = static_cast<std::uint32_t>(m_items.size());
    m_items.push_back(shared);
    m_keys.push_back(key);
    if (key >= 0 && static_cast<std::size_t>(key) < 4 * m_items.size() + 4096) {
        const auto slot = static_cast<std::size_t>(key);
        if (slot >= m_dense.size())
            m_dense.resize(std::max(slot + 1, 2 * m_dense.size()), kNoPosition);
        m_dense[slot] = position;
    } else {
        m_sparse.emplace(key, position);
    }
    return shared;
}

void cBookmarks::Reserve(std::size_t count)
{
    m_items.reserve(count);
    m_keys.reserve(count);
    m_dense.reserve(count + 1);
}

void cBookmarks::ClearAll()
{
    m_items.clear();
    m_keys.clear();
    m_dense.clear();
    m_sparse.clear();
}

std::optional<std::size_t> cBookmarks::PositionOfKey(std::int32_t key) const
{
    if (key >= 0 && static_cast<std::size_t>(key) < m_dense.size()
        && m_dense[static_cast<std::size_t>(key)] != kNoPosition)
        return m_dense[static_cast<std::size_t>(key)];
    const auto found = m_sparse.find(key);
    if (found == m_sparse.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::size_t> cBookmarks::Find(const std::string& key) const
{
    const std::optional<std::int32_t> number = KeyNumber(key);
    return number ? PositionOfKey(*number) : std::nullopt;
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
    const std::int32_t key = m_keys[index];
    if (key >= 0 && static_cast<std::size_t>(key) < m_dense.size()
        && m_dense[static_cast<std::size_t>(key)] == index)
        m_dense[static_cast<std::size_t>(key)] = kNoPosition;
    else
        m_sparse.erase(key);
    // Every record after the removed one moves up a place.
    for (std::uint32_t& position : m_dense) {
        if (position != kNoPosition && position > index)
            --position;
    }
    for (auto& entry : m_sparse) {
        if (entry.second > index)
            --entry.second;
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
