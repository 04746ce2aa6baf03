#pragma once

#include <optional>

#include "bookmarks/LookFinding.hpp"
#include "engine/PageLook.hpp"

// Whether a page that answers is dead all the same - a parked domain, a site's "not found" page
// served with 200, a deep link sent to the home page, a server's default page, a suspended
// hosting account - judged from what the link's look and its site's probe saw.
namespace brimtor {

// Judges the link's look against the probe of its site: a page that cannot exist on the same
// site, fetched the same way (status 0 when there was none). Each verdict rests on two pieces of
// evidence, or on a notice page's whole title:
//   Parked             the title or text speaks of the domain itself being for sale or parked,
//                      and the probe is the same kind of page (SameKindOfPage) or the look was
//                      sent on to a known parking or domain-marketplace host.
//   NotFoundPage       a link below the site's front page whose title, first heading or short
//                      text (under 2 000 characters) says it is missing, and a probe of the same
//                      kind: the site answers every missing address this way.
//   HomePage           a link below the front page that ends on a front page (IsSiteRoot), at
//                      the very address the probe ends on.
//   ServerDefaultPage  the whole title is a known default page's, or its wording is in the page
//                      and the probe is the same kind of page.
//   Suspended          the same, for a hosting provider's suspension notice.
// No verdict when the look did not end on a 2xx answer or ends on a sign-in page, when
// a probe-based rule's probe got no 2xx (a site that answers missing pages with 4xx or 5xx is
// honest, so its 200 pages are real), or when more than one rule holds.
LookVerdict JudgeLook(const PageLook& link, const PageLook& probe);

// The verdict on the link's look when no probe could change it, as for most pages, which say
// nothing any rule looks for; nothing when a rule would weigh its site's probe.
std::optional<LookVerdict> JudgeLookAlone(const PageLook& link);

}  // namespace brimtor
