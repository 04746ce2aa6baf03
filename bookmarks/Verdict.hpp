#pragma once

#include <optional>
#include <string>

#include "bookmarks/cBookmarks.hpp"

// What a checked bookmark amounts to, decided here once a scan has ended, and everything that
// follows from it: whether it starts ticked, whether a fill clears a tick on it, whether the
// Problem view lists it unticked, its icon and the words after its result. The window, the
// command line and the cleaning step all go by this.
namespace brimtor {

enum class ResultIcon { None, Bad, Question, Warning, Information };

// What one verdict means. The defaults are an unremarkable row: unticked, tickable, not listed.
struct VerdictRow {
    LinkVerdict verdict = LinkVerdict::NotChecked;
    bool ticked = false;   // the judging marks it for removal
    bool guarded = false;  // every fill clears its tick: only a hand tick after the fill removes it
    bool listed = false;   // the Problem view lists it even when it is not ticked
    std::optional<ResultIcon> icon {};  // none: the icon of its response code
    const char* words = "";             // follows the words for its response code
    LookVerdict look = LookVerdict::None;  // a looks-dead verdict: the look's finding that gives it
};

// Throws std::logic_error for a verdict the table has no row for: a broken build, not data.
const VerdictRow& RowOf(LinkVerdict verdict);

// A web page that answered with a success or a redirect, secure or not: the look may find it
// dead all the same.
bool AnsweredAlive(const cBookmark& bookmark);

// What the look found, when the bookmark's verdict rests on it; None otherwise.
LookVerdict LookFindingOf(const cBookmark& bookmark);

// The words that follow a result's code words: the verdict row's own, or for a verdict that rests
// on the look " — the page looks dead: " and the look's evidence.
std::string VerdictWords(const cBookmark& bookmark);

// What the outcome in the record (address, Status, ResponseCode, LookFinding) amounts to. An
// answer that withholds the page (a login, a refusal) decides before the address does; then
// addresses that are not web pages and secure ones, which no answer condemns (though a secure
// page the look found dead is listed for the user to judge); then the outcome itself, where a
// page that answered (a success or a redirect) is dead after all when the look inside it found so.
LinkVerdict VerdictOf(const cBookmark& bookmark);

// Stores the bookmark's verdict and its tick from the verdict's row, whatever it held before.
void Judge(cBookmark& bookmark);

// Judges every bookmark of a cBookmarks or of any other range of BookmarkPtr.
template <typename Bookmarks>
void JudgeBookmarks(const Bookmarks& bookmarks)
{
    for (const BookmarkPtr& bookmark : bookmarks)
        Judge(*bookmark);
}

// The verdict's icon, or else the code's: information for 1xx, none for success and redirect
// codes, bad for definite failures, warning for everything doubtful.
ResultIcon IconOf(const cBookmark& bookmark);

}  // namespace brimtor
