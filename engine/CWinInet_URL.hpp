#pragma once

#include <string>

namespace brimtor {

// Resolves relative addresses (a redirect's Location) against a base address.
class CWinInet_URL {
public:
    // RFC 3986 resolution of `strRelativeUrl` against `strBaseURL`, with no length limit. Query
    // and fragment text is never escaped or unescaped. Empty text when either is empty or the
    // base is not an absolute address.
    std::string CombineUrl(const std::string& strBaseURL, const std::string& strRelativeUrl) const;
};

}  // namespace brimtor
