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
    const char* unasked = bookmark.ServerSilent ? " \u2014 the server did not answer an earlier link either" : "";
    return ResultText(bookmark.ResponseCode) + unasked + RowOf(bookmark.Verdict).words;
}

}  // namespace brimtor
