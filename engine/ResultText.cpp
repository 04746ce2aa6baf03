#include "engine/ResultText.hpp"

#include "bookmarks/ResultsFilter.hpp"
#include "engine/MWinInetErrors.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

std::string ResultText(std::int32_t code)
{
    if (code > 4096)
        return WinInetErrorText(code);
    // Such a row is left unticked; the words say why, so the user knows to look for themselves.
    return RefusedTheCheck(code) ? StatusText(code) + " \u2014 the site refused the check; open it to see"
                                 : StatusText(code);
}

}  // namespace brimtor
