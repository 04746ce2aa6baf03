#pragma once

#include <cstdint>
#include <functional>

namespace brimtor {

// The source the window's page starts on: the one wanted (the remembered one, or the built-in
// one at a first start) when it can be chosen, else the first that can of Firefox, Chrome /
// Chromium, the Favorites and Netscape — the browsers a Linux desktop is most likely to have —
// else the text file, which always can. Never an option the user cannot choose.
std::int32_t ChoosableSource(std::int32_t wanted, const std::function<bool(std::int32_t code)>& choosable);

}  // namespace brimtor
