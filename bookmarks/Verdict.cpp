#include "bookmarks/Verdict.hpp"

#include <stdexcept>

#include "bookmarks/BrowsableAddress.hpp"
#include "bookmarks/CodeClass.hpp"
#include "bookmarks/LookFinding.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

using enum LinkVerdict;

// One row per verdict. A new verdict is its value in LinkVerdict, its row here and the evidence
// in VerdictOf that gives it.
constexpr VerdictRow kRows[] {
    {.verdict = NotChecked},  // no scan has judged it, or it could not be requested
    {.verdict = Ok},
    {.verdict = Redirect},
    {.verdict = Broken, .ticked = true},
    // Secure addresses and pages that asked for a login or refused the check may well work in
    // the user's browser: the check is never trusted enough to delete them unasked.
    {.verdict = Secure, .guarded = true},
    {.verdict = Login, .guarded = true, .listed = true},
    // The words say why such a row is left unticked, so the user knows to look for themselves.
    {.verdict = Refused, .guarded = true, .listed = true,
     .words = " \u2014 the site refused the check; open it to see"},
    // Cut off: the server said nothing in time, which a site down for an hour does too.
    {.verdict = NoAnswer, .guarded = true, .listed = true, .words = " \u2014 no answer; the site may be down for now"},
    {.verdict = Inconclusive},  // a connection failure that proves nothing about the page
    // Browser queries, bookmarklets and files are shown but never stay marked for removal.
    {.verdict = NotWeb, .guarded = true},
    // Pages that answer but are dead all the same: as good as gone, so ticked like a 404.
    {.verdict = LooksParked, .ticked = true, .listed = true, .icon = ResultIcon::Bad, .look = LookVerdict::Parked},
    {.verdict = LooksNotFound, .ticked = true, .listed = true, .icon = ResultIcon::Bad, .look = LookVerdict::NotFoundPage},
    {.verdict = LooksSentHome, .ticked = true, .listed = true, .icon = ResultIcon::Bad, .look = LookVerdict::HomePage},
    {.verdict = LooksDefaultPage, .ticked = true, .listed = true, .icon = ResultIcon::Bad,
     .look = LookVerdict::ServerDefaultPage},
    {.verdict = LooksSuspended, .ticked = true, .listed = true, .icon = ResultIcon::Bad, .look = LookVerdict::Suspended},
    // A secure page the look found dead stays as protected as any secure page, but the user is
    // shown what the look found, to tick it if they agree.
    {.verdict = SecureLooksDead, .guarded = true, .listed = true, .icon = ResultIcon::Warning},
};

constexpr int kTimedOutCode = 408;

// The answers with which a live page turns the check away rather than saying it is gone: 403
// (bot walls), 429 (rate limits), and 999 and the other codes from 900 (sites that answer only
// browsers).
bool RefusedTheCheck(int code)
{
    return code == 403 || code == 429 || (code >= 900 && code <= 999);
}

// Only a connection that timed out, was refused, or a host without an address prove the address
// dead; a name that did not resolve may be a passing DNS fault.
LinkVerdict VerdictOfError(int number)
{
    if (number == kTimedOutCode)
        return NoAnswer;
    if (number == 10060 || number == 10061 || number == 11004)
        return Broken;
    return Inconclusive;
}

// The looks-dead verdict the look's finding gives a page that answered; the answer's own when
// the look found nothing.
LinkVerdict LookedAt(LinkVerdict answered, LookVerdict finding)
{
    for (const VerdictRow& row : kRows) {
        if (finding != LookVerdict::None && row.look == finding)
            return row.verdict;
    }
    return answered;
}

// Whether the verdict rests on what the look found, so the finding is told with it.
bool RestsOnTheLook(const VerdictRow& row)
{
    return row.look != LookVerdict::None || row.verdict == SecureLooksDead;
}

ResultIcon IconOfCode(int code)
{
    if (code == 100 || code == 101)
        return ResultIcon::Information;
    if (ClassOfCode(code) != CodeClass::Broken)
        return ResultIcon::None;
    if (code == 400 || (code >= 402 && code <= 407) || (code >= 409 && code <= 415)
        || code == 10061 || code == 11004)
        return ResultIcon::Bad;
    return ResultIcon::Warning;
}

}  // namespace

const VerdictRow& RowOf(LinkVerdict verdict)
{
    for (const VerdictRow& row : kRows) {
        if (row.verdict == verdict)
            return row;
    }
    throw std::logic_error("a verdict without its row");
}

LinkVerdict VerdictOf(const cBookmark& bookmark)
{
    const int code = bookmark.ResponseCode;
    if (code == 401)
        return Login;
    if (RefusedTheCheck(code))
        return Refused;
    if (BrowsableAddress(bookmark.url).empty())
        return NotWeb;
    if (IStartsWith(bookmark.url, "https"))
        return AnsweredAlive(bookmark) && bookmark.LookFinding != LookVerdict::None ? SecureLooksDead : Secure;
    if (bookmark.Status == "error")
        return VerdictOfError(code);
    if (bookmark.Status != "scanned")
        return NotChecked;
    const CodeClass answer = ClassOfCode(code);
    if (answer == CodeClass::Broken)
        return Broken;
    return LookedAt(answer == CodeClass::Success ? Ok : Redirect, bookmark.LookFinding);
}

bool AnsweredAlive(const cBookmark& bookmark)
{
    return bookmark.Status == "scanned" && !BrowsableAddress(bookmark.url).empty()
        && ClassOfCode(bookmark.ResponseCode) != CodeClass::Broken;
}

LookVerdict LookFindingOf(const cBookmark& bookmark)
{
    return RestsOnTheLook(RowOf(bookmark.Verdict)) ? bookmark.LookFinding : LookVerdict::None;
}

std::string VerdictWords(const cBookmark& bookmark)
{
    const LookVerdict finding = LookFindingOf(bookmark);
    if (finding == LookVerdict::None)
        return RowOf(bookmark.Verdict).words;
    return " \u2014 the page looks dead: " + std::string(LookVerdictEvidence(finding));
}

void Judge(cBookmark& bookmark)
{
    bookmark.Verdict = VerdictOf(bookmark);
    bookmark.Clean = RowOf(bookmark.Verdict).ticked;
}

ResultIcon IconOf(const cBookmark& bookmark)
{
    return RowOf(bookmark.Verdict).icon.value_or(IconOfCode(bookmark.ResponseCode));
}

}  // namespace brimtor
