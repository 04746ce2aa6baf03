#pragma once

#include <string>
#include <vector>

#include "tests/common/net/LoopbackServer.hpp"

namespace brimtor::test {

// The links of the whole-job tests on a loopback server: one working, two broken (404 and 410)
// and one redirected; and the bookmark files naming them Works, Gone, Lost and Moved.
class WholeJobSite {
public:
    explicit WholeJobSite(LoopbackServer& server);

    // /ok, /gone, /lost and /moved, in that order.
    std::vector<std::string> Links() const;
    std::string BookmarkFile(const std::string& firstName = "Works") const;
    // The file as a clean leaves it without the named bookmarks and their descriptions.
    std::string BookmarkFileWithout(const std::vector<std::string>& names) const;
    // A Chromium-family browser's Bookmarks file with the four in its bookmarks bar, ids 5 to 8.
    std::string ChromiumBookmarks() const;

private:
    const LoopbackServer& m_server;
};

}  // namespace brimtor::test
