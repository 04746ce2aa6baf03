#include "engine/ResultText.hpp"

#include "engine/MWinInetErrors.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

std::string ResultText(std::int32_t code)
{
    return code > 4096 ? WinInetErrorText(code) : StatusText(code);
}

}  // namespace brimtor
