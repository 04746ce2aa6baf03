#include "bookmarks/SourceKinds.hpp"

#include "bookmarks/ChosenFileSources.hpp"
#include "bookmarks/cChromium.hpp"
#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cIE.hpp"
#include "bookmarks/cNetscape.hpp"

namespace brimtor {

namespace {

template <typename Source>
std::unique_ptr<BookmarkSource> Make(cLinkMain& parent)
{
    auto source = std::make_unique<Source>();
    source->SetParent(&parent);
    return source;
}

template <typename Source>
std::unique_ptr<BookmarkSource> MakeWithParent(cLinkMain& parent)
{
    return std::make_unique<Source>(parent);
}

}  // namespace

const std::vector<SourceKind>& SourceKinds()
{
    static const std::vector<SourceKind> kinds {
        {SourceCode::Favorites, "Internet Explorer", "favorites", "the Favorites", false, &Make<cIE>},
        {SourceCode::Firefox, "Firefox", "firefox", "the default Firefox profile", false, &Make<cFirefox>},
        {SourceCode::Netscape, "Netscape", "netscape", "the default Netscape profile", false, &Make<cNetscape>},
        {SourceCode::TextFile, "Text File", "text", "the text file", true, &MakeWithParent<TextFileSource>},
        {SourceCode::BookmarkFile, "Bookmark File", "html", "the bookmark file", true,
         &MakeWithParent<BookmarkFileSource>},
        {SourceCode::Chromium, "Chrome / Chromium", "chromium", "the Chrome / Chromium profile", false,
         &MakeWithParent<cChromium>},
    };
    return kinds;
}

const SourceKind* FindSourceKind(std::int32_t code)
{
    const std::vector<SourceKind>& kinds = SourceKinds();
    if (code < 0 || static_cast<std::size_t>(code) >= kinds.size())
        return nullptr;
    return &kinds[static_cast<std::size_t>(code)];
}

}  // namespace brimtor
