#pragma once

#include <cstdint>
#include <string>

// What one fetch of the look inside pages saw: the link's own look, or its site's probe.
namespace brimtor {

struct PageLook {
    std::string requestedUrl;  // the address asked for
    std::string finalUrl;      // the address the last answer came from, after redirects; empty
                               // reads as `requestedUrl` (no redirect)
    std::int32_t status = 0;   // the last answer's status code; 0 when no answer came (a socket
                               // error, the cut-off), a 3xx when the redirects did not end
    std::string contentType;   // the last answer's Content-Type header
    std::string body;          // the first bytes of its body (kLookBodyBytes are read)

    const std::string& Landed() const { return finalUrl.empty() ? requestedUrl : finalUrl; }
    bool Answered2xx() const { return status >= 200 && status <= 299; }
};

}  // namespace brimtor
