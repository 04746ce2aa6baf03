#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

std::int32_t CountMarked(const BookmarksPtr& bookmarks)
{
    std::int32_t marked = 0;
    if (bookmarks) {
        for (const BookmarkPtr& bookmark : *bookmarks)
            marked += bookmark->Clean ? 1 : 0;
    }
    return marked;
}

}  // namespace brimtor
