#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "bookmarks/cBookmark.hpp"

namespace brimtor {

using BookmarkPtr = std::shared_ptr<cBookmark>;

// An ordered collection of shared bookmark records, keyed by the decimal text of each
// record's BookmarkID. Positions run from 1; keys compare without regard to case. Every key is
// the decimal text of a number, which has no letters to fold, so keys are held and looked up
// as the numbers themselves: a text that is not exactly such a decimal matches nothing.
// Lookups by position and by key take constant time. The sources' keys are small and dense
// (positions and line numbers), so they index a plain table of positions, four bytes a key;
// any other key goes to a hash map.
class cBookmarks {
public:
    using const_iterator = std::vector<BookmarkPtr>::const_iterator;

    // Appends a new "pending" record; returns nullptr, leaving the collection unchanged, when a
    // record with that BookmarkID is already present.
    BookmarkPtr Add(const std::string& ShortcutName, const std::string& url,
                    const std::string& BookmarkFolder, std::int32_t BookmarkID,
                    const std::string& ShortcutPath = {});
    // Appends `record`, filled in by the caller, as a new "pending" record keyed by its
    // BookmarkID; nullptr when that key is taken. Saves a loader copying every field twice.
    BookmarkPtr AddRecord(cBookmark&& record);

    // Room for `count` records, so a loader that knows roughly how many are coming does not
    // regrow the collection again and again.
    void Reserve(std::size_t count);

    void ClearAll();

    // By 1-based position, or by key. Throws NumberedError for a position outside 1..Count or
    // a key that is not present.
    BookmarkPtr Item(int position) const;
    BookmarkPtr Item(const std::string& key) const;

    void Remove(int position);
    void Remove(const std::string& key);

    bool KeyExists(const std::string& key) const;
    std::int32_t Count() const { return static_cast<std::int32_t>(m_items.size()); }

    const std::string& BookmarkHeader() const { return m_header; }
    void SetBookmarkHeader(const std::string& header) { m_header = header; }

    // Insertion order, for range-for.
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

private:
    static constexpr std::uint32_t kNoPosition = std::numeric_limits<std::uint32_t>::max();
    std::optional<std::size_t> PositionOfKey(std::int32_t key) const;
    std::optional<std::size_t> Find(const std::string& key) const;
    std::size_t PositionOf(const std::string& key) const;  // throws for a key not present
    void RemoveAt(std::size_t index);

    std::vector<BookmarkPtr> m_items;
    std::vector<std::int32_t> m_keys;                           // each record's key, by position
    std::vector<std::uint32_t> m_dense;                         // 0-based position by key
    std::unordered_map<std::int32_t, std::uint32_t> m_sparse;  // keys the table does not cover
    std::string m_header;
};

using BookmarksPtr = std::shared_ptr<cBookmarks>;

}  // namespace brimtor
