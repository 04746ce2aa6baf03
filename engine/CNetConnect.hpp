#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class QNetworkAccessManager;

namespace brimtor {

// Answers "is this machine on the Internet?" before a scan, and "through a proxy?" for the
// proxy box. A connection the machine claims is confirmed by opening a well-known web site.
// Made for one question and dropped; needs a running Qt application.
class CNetConnect {
public:
    // How long one test site may take to answer before the next is tried.
    static constexpr std::chrono::milliseconds kSiteLimit {10000};

    explicit CNetConnect(std::chrono::milliseconds siteLimit = kSiteLimit);

    // Reads the connection flags and, for a LAN, a proxy or a busy modem, confirms the
    // connection by opening a test site.
    void Refresh();

    // Each first refreshes.
    bool Connected();
    std::uint32_t ConnectMode();
    // "Modem", "Modem (Busy)", "LAN" or "Proxy Server"; empty while no refresh has named one.
    std::string ConnectModeDesc();

    // There is no dialer on Linux: nothing is ever dialled or hung up, so both report false
    // without asking about the connection (which could keep the caller waiting on test sites).
    bool Dial(std::uint32_t flags = 0);
    bool HangUp();

    // Addresses opened, in order, to confirm a connection. Two public portals unless replaced.
    const std::vector<std::string>& KnownTestSites() const { return m_knownTestSites; }
    void SetKnownTestSites(std::vector<std::string> sites) { m_knownTestSites = std::move(sites); }

    // True at the first test site that answers a plain GET with any HTTP status within the
    // site limit.
    bool ProbeTestSites();

private:
    bool OpensSite(QNetworkAccessManager& manager, const std::string& address) const;

    std::chrono::milliseconds m_siteLimit;
    bool m_connected = false;
    std::uint32_t m_mode = 0;
    std::string m_description;
    std::vector<std::string> m_knownTestSites;
};

// The connection check with the user's own test sites, when the settings name any.
CNetConnect UserConnection(std::chrono::milliseconds siteLimit = CNetConnect::kSiteLimit);

}  // namespace brimtor
