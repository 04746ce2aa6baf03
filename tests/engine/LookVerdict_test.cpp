#include <gtest/gtest.h>

#include <string>

#include "engine/LookVerdict.hpp"
#include "engine/PageLikeness.hpp"

using namespace brimtor;

namespace {

const std::string kSite = "http://old.example";
const std::string kLetters = "qhzkvmwpxrtyjbnlcdfgsaweo";

// A look at `where` (a path on the site, or a whole address), landing on `landed` after redirects.
PageLook Look(const std::string& where, std::int32_t status, const std::string& body = {},
              const std::string& landed = {})
{
    const auto address = [](const std::string& text) { return text.empty() || text[0] != '/' ? text : kSite + text; };
    return {address(where), address(landed), status, "text/html", body};
}

std::string Page(const std::string& title, const std::string& body)
{
    return "<html><head><title>" + title + "</title></head><body><nav>Home | Shop | News | Contact</nav>" + body
        + "<footer>&copy; 2024 Example Ltd. All rights reserved.</footer></body></html>";
}

// A site's friendly "not found" page, which repeats the address asked for.
std::string SoftNotFound(const std::string& path)
{
    return Page("Page not found", "<h1>Oops!</h1><p>Sorry, we couldn't find " + path + ". Try the search.</p>");
}

const std::string kArticle = Page("Fixing 404 errors", "<h1>Fixing 404 errors</h1><p>" + std::string(60, 'w')
                                  + " A broken link answers 404 Not Found; here is how to find them all.</p>");
const std::string kParked = Page("Welcome", "<h1>This domain may be for sale</h1><p>Make an offer.</p>");
const std::string kNamedForSale = Page("old.example is for sale!", "");
const std::string kShop = Page("Vintage lamp", "<h1>Vintage lamp</h1><p>This lamp is for sale. Make an offer!</p>");
const std::string kHome = Page("Example shop", "<h1>Welcome</h1><p>Lamps, chairs and tables.</p>");
std::string Repeated(const std::string& text, int times)
{
    std::string all;
    while (times-- > 0)
        all += text;
    return all;
}
const std::string kLongHome = Page("Example shop", Repeated("<p>Lamps, chairs and tables.</p>", 100) + "Not found?");
const std::string kNginx = Page("Welcome to nginx!", "<p>The nginx web server is successfully installed.</p>");
const std::string kNginxWords = Page("old.example", "<p>The nginx web server is successfully installed.</p>");
const std::string kSuspended = Page("Account Suspended", "<p>Contact your hosting provider.</p>");
const std::string kSuspendedWords = Page("old.example", "<p>This account has been suspended.</p>");
const std::string kShell = "<html><head><title>App</title><script src=/app.js></script></head><body><div id=root>"
                           "</div><noscript>You need to enable JavaScript to run this app.</noscript></body></html>";

struct Case {
    const char* what;
    PageLook link;
    PageLook probe;
    LookVerdict verdict;
};

}  // namespace

TEST(LookVerdict, EachVerdictAndItsAliveLookAlike)
{
    const std::string probe = "/" + kLetters;
    const std::string sedo = "https://sedo.com/";
    const Case cases[] = {
        {"parked page", Look("/news/a.html", 200, kParked), Look("/news" + probe, 200, kParked), LookVerdict::Parked},
        {"parked domain at its root", Look("/", 200, kParked), Look(probe, 200, kParked), LookVerdict::Parked},
        {"sent to a marketplace", Look("/a", 200, kNamedForSale, sedo + "?d=old.example"), Look(probe, 0),
         LookVerdict::Parked},
        {"shop's make an offer", Look("/lamp", 200, kShop), Look(probe, 200, kShop), LookVerdict::None},
        {"article on parking, probe 404", Look("/a", 200, kParked), Look(probe, 404, kParked), LookVerdict::None},
        {"the marketplace itself", Look(sedo, 200, kParked), Look(sedo + kLetters, 200, kParked), LookVerdict::None},

        {"soft not-found page", Look("/news/a.html", 200, SoftNotFound("/news/a.html")),
         Look("/news" + probe, 200, SoftNotFound("/news" + probe)), LookVerdict::NotFoundPage},
        {"soft not-found page, encoded path", Look("/caf%C3%A9", 200, SoftNotFound("/caf\xC3\xA9")),
         Look(probe, 200, SoftNotFound(probe)), LookVerdict::NotFoundPage},
        {"sent to a not-found page", Look("/a", 200, SoftNotFound("") + "See lamps", "/404.html"),
         Look(probe, 200, SoftNotFound("") + "See garden tools", "/404.html"), LookVerdict::NotFoundPage},
        {"article on 404, probe 404", Look("/404", 200, kArticle), Look(probe, 404, SoftNotFound(probe)),
         LookVerdict::None},
        {"article on 404, soft probe", Look("/404", 200, kArticle), Look(probe, 200, SoftNotFound(probe)),
         LookVerdict::None},
        {"not-found page at the root", Look("/", 200, SoftNotFound("/")), Look(probe, 200, SoftNotFound(probe)),
         LookVerdict::None},
        {"single-page app", Look("/app/inbox", 200, kShell), Look("/app" + probe, 200, kShell), LookVerdict::None},

        {"deep link sent home", Look("/lamp/42", 200, kHome, "/"), Look("/lamp" + probe, 200, kHome, "/"),
         LookVerdict::HomePage},
        {"long home page everywhere", Look("/lamp/42", 200, kLongHome), Look(probe, 200, kLongHome), LookVerdict::None},
        {"root bookmark, home everywhere", Look("/", 200, kHome), Look(probe, 200, kHome, "/"), LookVerdict::None},
        {"sent home, probe 404", Look("/lamp/42", 200, kHome, "/"), Look(probe, 404, {}, "/"), LookVerdict::None},
        {"login wall at the front page", Look("/orders", 200, Page("Sign in", ""), "/"),
         Look(probe, 200, Page("Sign in", ""), "/"), LookVerdict::None},
        {"login wall by address", Look("/a", 200, SoftNotFound("/a"), "/ServiceLogin?next=/a"),
         Look(probe, 200, SoftNotFound("/a"), "/ServiceLogin?next=/a"), LookVerdict::None},

        {"default page at a root, probe 404", Look("/", 200, kNginx), Look(probe, 404), LookVerdict::ServerDefaultPage},
        {"default wording, probe alike", Look("/a", 200, kNginxWords), Look(probe, 200, kNginxWords),
         LookVerdict::ServerDefaultPage},
        {"article quoting a default page", Look("/a", 200, kNginxWords), Look(probe, 404), LookVerdict::None},

        {"suspended page", Look("/a", 200, kSuspended), Look(probe, 0), LookVerdict::Suspended},
        {"suspension wording, probe alike", Look("/", 200, kSuspendedWords), Look(probe, 200, kSuspendedWords),
         LookVerdict::Suspended},
        {"news of a suspended account", Look("/a", 200, Page("Account suspended for spam", "")), Look(probe, 404),
         LookVerdict::None},

        {"two rules disagree", Look("/a", 200, SoftNotFound("/a") + "Domain for sale"),
         Look(probe, 200, SoftNotFound(probe) + "Domain for sale"), LookVerdict::None},
        {"look ended without 2xx", Look("/a", 503, kSuspended), Look(probe, 0), LookVerdict::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LookVerdictWord(JudgeLook(c.link, c.probe)), LookVerdictWord(c.verdict)) << c.what;
    EXPECT_EQ(LookVerdictEvidence(LookVerdict::Parked), "the domain is parked (for sale)");
}

TEST(PageLikeness, PassesOneChangedWordInALongPageButNotAnotherPage)
{
    std::string words;
    std::string backwards;
    for (int i = 0; i < 100; ++i) {
        words += "w" + std::to_string(i) + " ";
        backwards = "w" + std::to_string(i) + " " + backwards;
    }
    const PageLook a = Look("/a", 200);
    const PageLook b = Look("/b", 200);
    const auto likeness = [&](const std::string& x, const std::string& y) {
        return PageLikeness(a, ReadPage(x), b, ReadPage(y));
    };
    EXPECT_GE(likeness(words + "monday", words + "tuesday"), kSameKindLikeness);
    EXPECT_LT(likeness(words, backwards), kSameKindLikeness);
    EXPECT_LT(likeness(words, words + "one more sentence than the other"), kSameKindLikeness);
    EXPECT_EQ(likeness("", ""), 1.0);
}
