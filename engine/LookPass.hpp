#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bookmarks/cBookmarks.hpp"
#include "engine/PageLook.hpp"

namespace brimtor {

// What makes a probe's address one that cannot exist: kProbeLetters letters a to z, drawn at
// random unless a test has set a source of its own. Returns the source set before (empty: random).
using ProbeLetters = std::function<std::string()>;
ProbeLetters SetProbeLetters(ProbeLetters source);

// The work of the look inside pages for one scan, apart from the asking itself: a look at each
// link the pass asks, and one probe for each site (origin) those links are on - the folder of the
// site's first such link plus random letters. Each is an item that the scan asks like a link, at
// its address: once, or following redirects up to kMostRedirects more times.
//
// Once a link's look and its site's probe are both over, the link gets its finding (JudgeLook,
// into LookFinding; nothing else of the bookmark changes). A link over before its probe waits
// for it, so each site's probe comes first among its items; the probe's page is kept until the
// last link of its site has had it, so a site is probed once whatever its number of links.
class LookPass {
public:
    static constexpr int kMostRedirects = 5;
    static constexpr std::size_t kProbe = static_cast<std::size_t>(-1);

    struct Item {
        std::size_t position;   // the link's in the collection; kProbe for a site's probe
        std::string requested;  // the address first asked
        std::string address;    // the address asked next: `requested`, or the last redirect's target
        int redirects = 0;
    };

    // `positions`: the links to look at, in collection order.
    LookPass(const std::vector<BookmarkPtr>& links, const std::vector<std::size_t>& positions);

    // In the order they are best asked: each site's probe just before its first link.
    const std::vector<Item>& Items() const { return m_items; }

    // The answer to the item's latest request: its header block and the body bytes read. True when
    // the item asks again, at the redirect's target, which is now its address.
    bool Answered(std::size_t item, std::string_view header, std::string_view body);
    // The item's latest request got no answer (cut off, a socket error, a silent server, an
    // address that cannot be asked): it is over with nothing seen.
    void Unanswered(std::size_t item);

private:
    struct Site {
        std::optional<PageLook> probe;  // once it is over
        std::vector<std::pair<std::size_t, PageLook>> waiting;  // (position, look) of links over before it
        std::size_t linksLeft = 0;  // not yet judged
    };
    void Over(std::size_t item, PageLook look);
    void Judge(Site& site, std::size_t position, const PageLook& look);

    const std::vector<BookmarkPtr>& m_links;
    std::vector<Item> m_items;
    std::vector<std::size_t> m_siteOf;  // by item
    std::vector<Site> m_sites;
};

}  // namespace brimtor
