#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include "engine/LookAddress.hpp"
#include "engine/LookPass.hpp"
#include "support/Text.hpp"
#include "tests/app/WizardFixture.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

ScriptedReply Page(const std::string& title, const std::string& body, std::uint64_t filler = 0)
{
    return {"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><head><title>" + title
                + "</title></head><body><nav>Home | News | Contact</nav>" + body + "<footer>&copy; 2024</footer>",
            false, filler};
}

ScriptedReply SentTo(const std::string& path)
{
    return {"HTTP/1.1 302 Found\r\nLocation: " + path + "\r\n\r\n"};
}

// The looks-dead word of each CSV row: the field before the archive address, which holds no comma.
std::vector<std::string> LooksDead(const std::string& csv)
{
    std::vector<std::string> words;
    for (const std::string& line : SplitAt(csv.substr(csv.find('\n') + 1), '\n')) {
        const std::vector<std::string> fields = SplitAt(line, ',');
        if (fields.size() > 2)
            words.push_back(fields[fields.size() - 2]);
    }
    return words;
}

}  // namespace

// Each site answers every address it was not scripted for with its Otherwise reply, as such sites
// do; the honest ones with 404. The window and the command scan the same links once each.
TEST(LookInside, EachVerdictAndItsAliveLookAlikeInTheWindowAndTheCommandWithOneProbePerSite)
{
    WizardFixture w;
    enum { Parked, Shop, SoftNotFound, Article, Home, App, Wall, Default, Suspended, Sites };
    std::array<LoopbackServer, Sites> sites;
    for (int i = 0; i < Sites; ++i)
        sites[i].Start(("127.0.0." + std::to_string(20 + i)).c_str());
    sites[Parked].Otherwise(Page("Welcome", "<h1>This domain may be for sale</h1><p>Make an offer.</p>"));
    sites[Shop].Script("/lamp/42", Page("Vintage lamp", "<p>This lamp is for sale. Make an offer!</p>"));
    // Pages more than the look reads: it stops at 64 KiB and judges what it read.
    sites[SoftNotFound].Otherwise(
        Page("Page not found", "<h1>Oops!</h1><p>Sorry, we couldn't find that page.</p>", 1ull << 30));
    sites[SoftNotFound].Script("/about/team.html", Page("Our team", "<h1>Our team</h1><p>Ann, Bob and Cy.</p>"));
    sites[Article].Script("/blog/404-errors", Page("Fixing 404 errors", "<h1>Fixing 404 errors</h1><p>A link that "
                                                   "answers 404 Not Found is broken; here is how to find them.</p>"));
    sites[Home].Script("/", Page("Example shop", "<h1>Welcome</h1><p>Lamps, chairs and tables.</p>"));
    sites[Home].Otherwise(SentTo("/"));
    for (int i = 1; i <= 6; ++i)  // /c1 is six redirects from home, one more than the look follows
        sites[Home].Script("/c" + std::to_string(i), SentTo(i < 6 ? "/c" + std::to_string(i + 1) : "/"));
    sites[App].Otherwise(Page("App", "<div id=root></div><noscript>You need to enable JavaScript.</noscript>"));
    sites[Wall].Script("/", Page("Log in", "<form>Your name and password</form>"));
    sites[Wall].Otherwise(SentTo("/"));
    sites[Default].Script("/", Page("Welcome to nginx!", "<p>The nginx web server is successfully installed.</p>"));
    // Sent in chunks, the title split between two.
    sites[Suspended].Otherwise({"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                "12\r\n<title>Account Sus\r\n19\r\npended</title>Contact us.\r\n0\r\n\r\n"});
    const struct { int site; const char* path; const char* verdict; } links[] = {
        {Parked, "/old/story.html", "parked"}, {Parked, "/", "parked"}, {Shop, "/lamp/42", ""},
        {SoftNotFound, "/about/team.html", ""}, {SoftNotFound, "/news/2014/story.html", "not-found-page"},
        {SoftNotFound, "/news/2015/", "not-found-page"}, {Article, "/blog/404-errors", ""},
        {Home, "/lamp/9", "home-page"}, {Home, "/", ""}, {Home, "/c2", "home-page"}, {Home, "/c1", ""},
        {App, "/app/inbox", ""}, {Wall, "/wiki/plans", ""}, {Default, "/", "server-default-page"},
        {Suspended, "/~ann/cv.html", "suspended"},
    };
    std::vector<std::string> lines, expected;
    for (const auto& link : links) {
        lines.push_back(sites[link.site].Url(link.path));
        expected.push_back(link.verdict);
    }

    const ProbeLetters random = SetProbeLetters([] { return std::string(kProbeLetters, 'q'); });
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.Open()));
    w.LoadTextFile(lines);
    w.Scan();
    w.Click("cmdNext");
    w.SaveAllRows(w.home / "all.csv");
    const std::string window = ReadAll(w.home / "all.csv");
    SetProbeLetters(random);
    // The window's probe of a site asks the folder of its first looked-at link, which needed none.
    const auto& soft = sites[SoftNotFound].Requests();
    EXPECT_TRUE(std::any_of(soft.begin(), soft.end(), [](const std::string& head) {
        return head.rfind("GET /about/" + std::string(kProbeLetters, 'q') + " ", 0) == 0;
    }));
    const QStringList all {"--source", "text", QString::fromStdString(w.home / "links.txt"), "--view", "all", "--format", "csv"};
    EXPECT_EQ(window, CommandOutput(all));
    EXPECT_EQ(LooksDead(window), expected);
    // The link's own answer and redirect stay; the look adds its words and the tick.
    EXPECT_NE(window.find(",scanned,302,Moved Temporarily \u2014 the page looks dead: the link now leads to the site's "
                          "home page," + sites[Home].Url("/") + ",true,home-page,"),
              std::string::npos) << window;

    // Switched off, nothing is looked at and no site probed.
    EXPECT_EQ(LooksDead(CommandOutput(QStringList(all) << "--no-look")), std::vector<std::string>(expected.size()));

    // A site is probed once a looking run when its pages need the evidence, whatever their
    // number; not at all when they speak for themselves.
    const int probes[Sites] = {2, 0, 2, 2, 2, 0, 2, 0, 0};
    const QRegularExpression probe(QStringLiteral("^GET /([a-z0-9~]+/)*[a-z]{25} "));
    for (int i = 0; i < Sites; ++i) {
        const auto& heads = sites[i].Requests();
        EXPECT_EQ(std::count_if(heads.begin(), heads.end(),
                                [&](const std::string& head) { return probe.match(QString::fromStdString(head)).hasMatch(); }),
                  probes[i])
            << sites[i].Url("/");
    }
    EXPECT_LT(sites[SoftNotFound].BodyBytesSent(), 64ull << 20);
}
