#include "bookmarks/SourceKinds.hpp"

#include <type_traits>

#include "bookmarks/BookmarkFileSource.hpp"
#include "bookmarks/TextFileSource.hpp"
#include "bookmarks/cChromium.hpp"
#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cIE.hpp"
#include "bookmarks/cNetscape.hpp"

namespace brimtor {

namespace {

template <typename Source>
std::unique_ptr<BookmarkSource> Make(const SourceLocation& where)
{
    if constexpr (std::is_constructible_v<Source, const SourceLocation&>)
        return std::make_unique<Source>(where);
    else
        return std::make_unique<Source>();
}

const FileChoice kTextFile {"txtFile", "cmdBrowse", "Text file", "A text file with one link per line",
                            "Select a file: ", "txt", "Text files (*.txt,*.csv)|*.txt;*.csv", true};
const FileChoice kBookmarkFile {"txtBookmarkFile", "cmdBrowse2", "Bookmark file", "A bookmark HTML file",
                                "Select your bookmark file: ", "html",
                                "Bookmark files (*.htm,*.html)|*.htm;*.html", false};

}  // namespace

const std::vector<SourceKind>& SourceKinds()
{
    static const std::vector<SourceKind> kinds {
        {SourceCode::Favorites, "Internet Explorer", "favorites", "the Favorites", nullptr, &Make<cIE>},
        {SourceCode::Firefox, "Firefox", "firefox", "the default Firefox profile", nullptr, &Make<cFirefox>},
        {SourceCode::Netscape, "Netscape", "netscape", "the default Netscape profile", nullptr, &Make<cNetscape>},
        {SourceCode::TextFile, "Text File", "text", "the text file", &kTextFile, &Make<TextFileSource>},
        {SourceCode::BookmarkFile, "Bookmark File", "html", "the bookmark file", &kBookmarkFile,
         &Make<BookmarkFileSource>},
        {SourceCode::Chromium, "Chrome / Chromium", "chromium", "the Chrome / Chromium profile", nullptr,
         &Make<cChromium>},
    };
    return kinds;
}

const SourceKind* FindSourceKind(std::int32_t code, const std::vector<SourceKind>& kinds)
{
    if (code < 0 || static_cast<std::size_t>(code) >= kinds.size())
        return nullptr;
    return &kinds[static_cast<std::size_t>(code)];
}

}  // namespace brimtor
