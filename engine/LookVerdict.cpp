#include "engine/LookVerdict.hpp"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "engine/LookAddress.hpp"
#include "engine/PageLikeness.hpp"
#include "engine/PageText.hpp"
#include "support/Text.hpp"
#include "support/Utf8.hpp"

namespace brimtor {

namespace {

// Phrases are written here as pages write them; they are compared in words form (MatchingWords),
// so letter case and punctuation do not matter.

// A domain spoken of as for sale or parked. "{host}" stands for the link's host name without a
// leading "www.", as in "example.com is for sale".
constexpr std::string_view kParkedPhrases[] = {
    "domain is for sale", "domain name is for sale", "domain may be for sale", "domain for sale",
    "buy this domain", "this domain is parked", "domain parking", "make an offer on this domain",
    "the domain owner", "is parked free", "{host} is for sale", "{host} may be for sale", "{host} is parked",
};

// Where parked domains and domains for sale send their visitors. A path prefix narrows a host
// that is also a registrar's ordinary site to its for-sale pages.
struct ParkingHost {
    std::string_view host;  // the host or any of its sub-domains
    std::string_view pathPrefix;
};
constexpr ParkingHost kParkingHosts[] = {
    {"sedo.com", ""},          {"sedoparking.com", ""},  {"dan.com", ""},
    {"afternic.com", ""},      {"hugedomains.com", ""},  {"bodis.com", ""},
    {"parkingcrew.net", ""},   {"above.com", ""},        {"undeveloped.com", ""},
    {"buydomains.com", ""},    {"domainmarket.com", ""}, {"parkingpage.namecheap.com", ""},
    {"godaddy.com", "/forsale/"}, {"godaddy.com", "/domainsearch/"},
};

// A page saying it is missing. "page not found" is one of the "not found" pages.
constexpr std::string_view kMissingPhrases[] = {
    "not found",       "404",           "does not exist",    "doesn't exist",     "no longer exists",
    "no longer available", "could not be found", "couldn't be found", "cannot be found", "can't be found",
    "couldn't find",   "can't find",
};

// The whole titles of web servers' and hosting panels' placeholder pages.
constexpr std::string_view kDefaultPageTitles[] = {
    "Welcome to nginx!",
    "Welcome to nginx on Debian!",
    "Test Page for the Nginx HTTP Server on Fedora",
    "Welcome to OpenResty!",
    "Apache2 Debian Default Page: It works",
    "Apache2 Ubuntu Default Page: It works",
    "Test Page for the Apache HTTP Server",
    "Test Page for the Apache HTTP Server on Fedora",
    "Apache HTTP Server Test Page powered by CentOS",
    "It works!",
    "IIS Windows Server",
    "IIS7",
    "Microsoft Internet Information Services 8",
    "Default Web Site Page",
    "Domain Default page",
};

// The wording of those pages, which counts only with the probe's agreement: a short title such
// as "It works!" is left out, as any page may say it.
constexpr std::string_view kDefaultPageWords[] = {
    "welcome to nginx",
    "nginx web server is successfully installed",
    "used to test the correct operation of the apache2 server",
    "used to test the proper operation of the",
    "this is the default web page for this server",
    "apache2 debian default page",
    "apache2 ubuntu default page",
    "web server software is running but no content has been added",
    "future home of something quite cool",
};

// The whole titles of hosting providers' suspension notices.
constexpr std::string_view kSuspendedTitles[] = {
    "Account Suspended",
    "Website Suspended",
    "This Account has been suspended",
    "Website Expired",
};

// Their wording, which counts only with the probe's agreement.
constexpr std::string_view kSuspendedWords[] = {
    "account has been suspended", "website has been suspended", "site has been suspended",
    "account suspended", "website suspended", "website expired", "website has expired",
};

// A sign-in page, in its title or the address the look ends on. Such a page is protected already,
// and a login wall gives every address the same page.
constexpr std::string_view kSignInWords[] = {
    "log in", "login", "sign in", "signin", "log on", "logon", "sign on", "auth", "authentication", "authorize",
    "oauth", "oauth2", "sso",
};
// Also inside longer words of an address: "ServiceLogin", "wp-login.php".
constexpr std::string_view kSignInInsideAddress[] = {"login", "signin", "logon"};

// True when `phrase` (words form) is in `words` (words form), word for word.
bool HasPhrase(std::string_view words, std::string_view phrase)
{
    if (phrase.empty())
        return false;
    for (std::size_t at = words.find(phrase); at != std::string_view::npos; at = words.find(phrase, at + 1)) {
        const std::size_t end = at + phrase.size();
        if ((at == 0 || words[at - 1] == ' ') && (end == words.size() || words[end] == ' '))
            return true;
    }
    return false;
}

template <std::size_t N>
bool SaysAny(std::string_view words, const std::string_view (&phrases)[N], std::string_view host = {})
{
    return std::any_of(std::begin(phrases), std::end(phrases), [&](std::string_view phrase) {
        std::string text(phrase);
        if (const std::size_t slot = text.find("{host}"); slot != std::string::npos)
            text.replace(slot, 6, host);
        return HasPhrase(words, MatchingWords(text));
    });
}

template <std::size_t N>
bool IsWholly(std::string_view words, const std::string_view (&titles)[N])
{
    return std::any_of(std::begin(titles), std::end(titles),
                       [&](std::string_view title) { return !words.empty() && words == MatchingWords(title); });
}

bool HostIs(std::string_view host, std::string_view domain)
{
    return host == domain || (host.size() > domain.size() && host.ends_with(domain)
                              && host[host.size() - domain.size() - 1] == '.');
}

// A host of kParkingHosts; given a path, only the pages of it the table names.
bool IsParkingSite(std::string_view host, std::optional<std::string_view> path = std::nullopt)
{
    return std::any_of(std::begin(kParkingHosts), std::end(kParkingHosts), [&](const ParkingHost& parking) {
        return HostIs(host, parking.host) && (!path || IStartsWith(*path, parking.pathPrefix));
    });
}

// Everything the rules weigh. The probe's page is read, and compared with the link's, only when
// a rule gets that far: most pages that answer say nothing any rule looks for. Without a probe
// (none asked yet) it remembers whether a rule wanted one.
class Evidence {
public:
    Evidence(const PageLook& link, const PageLook* probe, LookAddress requested)
        : link(link), requested(std::move(requested)), landed(LookAddress::Parse(link.Landed())),
          page(ReadPage(link.body, link.contentType)), titleAndText(page.title + " " + page.text), m_probe(probe)
    {
    }

    // The probe is the same kind of page.
    bool ProbeAgrees() const
    {
        if (!m_probeAgrees)
            m_probeAgrees = Probe().Answered2xx()
                && SameKindOfPage(link, page, Probe(), ReadPage(Probe().body, Probe().contentType));
        return *m_probeAgrees;
    }

    // The probe; one that got no answer while there is none.
    const PageLook& Probe() const
    {
        static const PageLook none;
        wantedProbe = true;
        return m_probe ? *m_probe : none;
    }

    const PageLook& link;
    const LookAddress requested;
    const std::optional<LookAddress> landed;
    const PageText page;
    const std::string titleAndText;
    mutable bool wantedProbe = false;  // a rule asked for the probe

private:
    const PageLook* m_probe;
    mutable std::optional<bool> m_probeAgrees;
};

bool IsDeepLink(const Evidence& e) { return !IsSiteRoot(e.requested.path); }

bool IsParked(const Evidence& e)
{
    // A marketplace's own pages speak of domains for sale; a bookmark of them is alive.
    if (IsParkingSite(e.requested.host))
        return false;
    const std::string& host = e.requested.host;
    const std::string_view name = std::string_view(host).substr(host.starts_with("www.") ? 4 : 0);
    return SaysAny(e.titleAndText, kParkedPhrases, name)
        && ((e.landed && IsParkingSite(e.landed->host, e.landed->path)) || e.ProbeAgrees());
}

bool IsNotFoundPage(const Evidence& e)
{
    constexpr std::size_t kShortText = 2000;
    const bool saysMissing = SaysAny(e.page.title, kMissingPhrases) || SaysAny(e.page.heading, kMissingPhrases)
        || (CharacterCount(e.page.text) < kShortText && SaysAny(e.page.text, kMissingPhrases));
    return IsDeepLink(e) && saysMissing && e.ProbeAgrees();
}

bool IsHomePage(const Evidence& e)
{
    return IsDeepLink(e) && e.landed && IsSiteRoot(e.landed->path) && e.Probe().Answered2xx()
        && SameAddress(e.link.Landed(), e.Probe().Landed());
}

bool IsServerDefaultPage(const Evidence& e)
{
    return IsWholly(e.page.title, kDefaultPageTitles)
        || (SaysAny(e.titleAndText, kDefaultPageWords) && e.ProbeAgrees());
}

bool IsSuspended(const Evidence& e)
{
    return IsWholly(e.page.title, kSuspendedTitles) || (SaysAny(e.titleAndText, kSuspendedWords) && e.ProbeAgrees());
}

bool IsSignInPage(const Evidence& e)
{
    const std::string where = e.landed ? e.landed->host + e.landed->path + e.landed->query : e.link.Landed();
    return SaysAny(e.page.title, kSignInWords) || SaysAny(MatchingWords(where), kSignInWords)
        || std::any_of(std::begin(kSignInInsideAddress), std::end(kSignInInsideAddress),
                       [&](std::string_view word) { return IFind(where, word) != std::string::npos; });
}

struct Rule {
    LookVerdict verdict;
    bool (*holds)(const Evidence&);
};

constexpr Rule kRules[] = {
    {LookVerdict::Parked, IsParked},
    {LookVerdict::NotFoundPage, IsNotFoundPage},
    {LookVerdict::HomePage, IsHomePage},
    {LookVerdict::ServerDefaultPage, IsServerDefaultPage},
    {LookVerdict::Suspended, IsSuspended},
};

// The verdict, and whether a rule wanted the probe.
std::pair<LookVerdict, bool> Judged(const PageLook& link, const PageLook* probe)
{
    const std::optional<LookAddress> requested = LookAddress::Parse(link.requestedUrl);
    if (!link.Answered2xx() || !requested)
        return {LookVerdict::None, false};
    const Evidence e(link, probe, *requested);
    LookVerdict verdict = LookVerdict::None;
    for (const Rule& rule : kRules) {
        if (!rule.holds(e))
            continue;
        if (verdict != LookVerdict::None)
            return {LookVerdict::None, e.wantedProbe};  // two rules disagree, whatever the rest say
        verdict = rule.verdict;
    }
    return {verdict != LookVerdict::None && IsSignInPage(e) ? LookVerdict::None : verdict, e.wantedProbe};
}

}  // namespace

LookVerdict JudgeLook(const PageLook& link, const PageLook& probe)
{
    return Judged(link, &probe).first;
}

std::optional<LookVerdict> JudgeLookAlone(const PageLook& link)
{
    const auto [verdict, wantedProbe] = Judged(link, nullptr);
    return wantedProbe ? std::nullopt : std::optional(verdict);
}

}  // namespace brimtor
