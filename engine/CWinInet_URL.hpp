#pragma once

#include <cstdint>
#include <string>

namespace brimtor {

// Resolves relative addresses (a redirect's Location) against a base address.
class CWinInet_URL {
public:
    // Asks browsers to leave query and fragment text untouched. The resolver never escapes or
    // unescapes anything, so every style gives the same result; callers pass it for clarity.
    static constexpr std::uint32_t ICU_BROWSER_MODE = 0x20000000;

    // RFC 3986 resolution of `strRelativeUrl` against `strBaseURL`, with no length limit.
    // Empty text when either is empty or the base is not an absolute address.
    std::string CombineUrl(const std::string& strBaseURL, const std::string& strRelativeUrl,
                           std::uint32_t Style) const;
};

}  // namespace brimtor
