#pragma once

#include <string_view>

#include "engine/PageLook.hpp"
#include "engine/PageText.hpp"

// Whether a link's page is the page its site gives every address, told by comparing it with the
// site's probe.
namespace brimtor {

// How alike two pages must be to be the same kind of page.
constexpr double kSameKindLikeness = 0.95;

// The same kind of page: both answered 2xx, and they came from the same final address after
// redirects or their words match at kSameKindLikeness or more (PageLikeness).
bool SameKindOfPage(const PageLook& link, const PageText& linkPage, const PageLook& probe,
                    const PageText& probePage);

// How alike two pages' words are, from 0 to 1: the Jaccard resemblance of their sets of word
// pairs (two-word shingles) over title and text, once every word of both requested addresses'
// paths and queries (as written and percent-decoded) is taken out of both, so a not-found page
// that repeats the address it was asked for compares equal to itself at another address.
//
// Pairs rather than single words: the order of words counts, so a page that shares a site's menu
// and footer words but says something else does not pass. Pairs rather than longer shingles: a
// word that changes (a date, a counter) spoils as many shingles as they are long, and a not-found
// page of 80 words still passes 0.95 with one changed word in pairs, where triples would need 120.
double PageLikeness(const PageLook& a, const PageText& aPage, const PageLook& b, const PageText& bPage);

}  // namespace brimtor
