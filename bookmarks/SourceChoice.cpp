#include "bookmarks/SourceChoice.hpp"

#include "bookmarks/SourceKinds.hpp"

namespace brimtor {

std::int32_t ChoosableSource(std::int32_t wanted, const std::function<bool(std::int32_t code)>& choosable)
{
    if (choosable(wanted))
        return wanted;
    using namespace SourceCode;
    for (const std::int32_t code : {Firefox, Chromium, Favorites, Netscape}) {
        if (choosable(code))
            return code;
    }
    return TextFile;
}

}  // namespace brimtor
