#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "bookmarks/BookmarkSource.hpp"
#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "bookmarks/ChromiumProfile.hpp"

namespace brimtor {

// Source 5: the bookmarks of a Chromium-family browser (Chromium, Google Chrome, Brave, Vivaldi,
// Microsoft Edge), from the `Bookmarks` file of its last used profile, or of the profile folder
// the user names. The browser rewrites that file as it likes while it runs, so the file is
// read once into memory and the clean is refused while the browser runs.
class cChromium : public BookmarkSource {
public:
    explicit cChromium(const SourceLocation& where);

    // Decided once, at creation: a browser folder whose profile has a `Bookmarks` file was found.
    bool IsInstalled() const override { return m_found.has_value(); }
    // The profile the last load read, else the one found.
    std::string FoundWhere() const override;

    LoadOutcome GetBookMarks() override;

    // Rewrites the file the last load read without the bookmarks and folders marked Clean, after
    // a backup copy of its bytes. Refused, with the file left as it was, while the browser runs or when
    // the file changed since the load.
    CleanOutcome CleanUpBookmarks() override;

private:
    const SourceLocation& m_where;
    std::optional<ChromiumProfile> m_found;
    ChromiumProfile m_loaded;          // the profile of the last load
    std::size_t m_loadedHash = 0;      // of the bytes that load read
    ChromiumLoad m_loadedTree;         // its bookmarks and folders
};

}  // namespace brimtor
