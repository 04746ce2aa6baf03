#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

// The JSON `Bookmarks` file of the Chromium-family browsers (Chromium, Chrome, Brave, Vivaldi,
// Edge): read into a collection, and written back without some of its bookmarks. Its tree is
// `roots` holding `bookmark_bar`, `other` and `synced`; each node has an `id`, a `name`, a
// `type` ("url" or "folder"), and a `url` or `children`.
namespace brimtor {

// What a read gives: the bookmarks, the folders below the roots, and each folder's node id.
struct ChromiumLoad : LoadOutcome {
    std::vector<std::int32_t> folderIds;  // by FolderID - 1
};

// The bookmarks of the file's bytes: the url nodes in tree order, keyed by their ids, or why
// the file was refused ("is not valid JSON", after the file's name; see ParseBoundedJson). A
// node whose id is no 32-bit number, or repeats an id already listed, is not listed, so it is
// never removed either; leftOut counts them. The folder nodes below the roots are listed by the
// same rule among the folders; one holding anything not listed is never taken for empty.
ChromiumLoad ReadChromiumBookmarks(const std::string& bytes);

struct ChromiumRewrite {
    std::string text;                // the new file
    std::int32_t removed = 0;        // url nodes left out
    std::int32_t removedFolders = 0; // folder nodes left out, with all they held
};

// The file without the url nodes listed under the given ids and the folder nodes listed under
// the given folder ids, every other key and value kept in place, indented by three spaces as the
// browser writes it (without indent when that would make the file larger than the bytes given),
// with its `checksum` (when it has one) recomputed as the browser checks it. The bytes must be
// ones ReadChromiumBookmarks read.
ChromiumRewrite ChromiumBookmarksWithout(const std::string& bytes, const std::unordered_set<std::int32_t>& ids,
                                         const std::unordered_set<std::int32_t>& folderIds = {});

}  // namespace brimtor
