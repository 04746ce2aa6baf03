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
// link the pass asks, and for each site (origin) those links are on at most one probe, at the
// folder of the site's first such link plus random letters. Each is an item that the scan asks
// like a link, at its address: once, or following redirects up to kMostRedirects more times.
//
// A link's look is judged (JudgeLook, into LookFinding; nothing else of the bookmark changes) as
// soon as it is over when no probe could change the verdict, as for most pages. Otherwise it
// waits for its site's probe, which the first such look asks for; the probe's page is then kept
// until the last link of its site has had it, so a site is probed once at most.
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

    // The links' looks in collection order, then the probes as they are asked for.
    const std::vector<Item>& Items() const { return m_items; }

    // The answer to the item's latest request: its header block and the body bytes read. Returns
    // what to ask next, if anything: this item again, at its redirect's target (now its address),
    // or the probe its site's pages are waiting for, a new item.
    std::optional<std::size_t> Answered(std::size_t item, std::string_view header, std::string_view body);
    // The item's latest request got no answer (cut off, a socket error, a silent server, an
    // address that cannot be asked): it is over with nothing seen, which needs no probe.
    void Unanswered(std::size_t item);

private:
    struct Site {
        std::string probeAddress;  // empty for an address the look cannot read as a site's
        bool probeAsked = false;
        std::optional<PageLook> probe;  // once it is over
        std::vector<std::pair<std::size_t, PageLook>> waiting;  // (position, look) of links waiting for it
        std::size_t linksLeft = 0;  // not yet judged
    };
    std::optional<std::size_t> LinkOver(std::size_t item, PageLook look);
    void ProbeOver(Site& site, PageLook probe);
    void Found(Site& site, std::size_t position, LookVerdict verdict);
    PageLook Seen(const Item& item, std::int32_t status) const;

    const std::vector<BookmarkPtr>& m_links;
    std::vector<Item> m_items;
    std::vector<std::size_t> m_siteOf;  // by item
    std::vector<Site> m_sites;
};

}  // namespace brimtor
