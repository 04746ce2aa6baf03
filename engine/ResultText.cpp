#include "engine/ResultText.hpp"

#include "bookmarks/Verdict.hpp"
#include "engine/MWinInetErrors.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

std::string ResultText(std::int32_t code)
{
    return code > 4096 ? WinInetErrorText(code) : StatusText(code);
}

std::string ResultText(const cBookmark& bookmark)
{
    // A link left unasked behind a silent server did get no answer, but the reason is the
    // server's earlier silence, which says more than the words for a link that was cut off.
    const std::string words = bookmark.ServerSilent ? " \u2014 the server did not answer an earlier link either"
                                                    : VerdictWords(bookmark);
    return ResultText(bookmark.ResponseCode) + words;
}

}  // namespace brimtor
