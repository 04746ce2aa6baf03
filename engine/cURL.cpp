#include "engine/cURL.hpp"

#include <array>
#include <optional>
#include <string_view>

#include "engine/UriReference.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

struct KnownScheme {
    std::int32_t number;
    const char* name;
    std::int32_t port;
};

constexpr std::array<KnownScheme, 7> kSchemes{{
    {SchemeNumber::Ftp, "ftp", 21},
    {SchemeNumber::Gopher, "gopher", 70},
    {SchemeNumber::Http, "http", 80},
    {SchemeNumber::Https, "https", 443},
    {SchemeNumber::File, "file", 0},
    {SchemeNumber::News, "news", 0},
    {SchemeNumber::Mailto, "mailto", 0},
}};

const KnownScheme* FindScheme(std::int32_t number)
{
    if (number == SchemeNumber::Default)
        number = SchemeNumber::Http;
    for (const KnownScheme& scheme : kSchemes)
        if (scheme.number == number)
            return &scheme;
    return nullptr;
}

std::int32_t SchemeOf(std::string_view name)
{
    for (const KnownScheme& scheme : kSchemes)
        if (IEquals(name, scheme.name))
            return scheme.number;
    return SchemeNumber::Unknown;
}

}  // namespace

std::int32_t DefaultPort(std::int32_t scheme)
{
    const KnownScheme* known = FindScheme(scheme);
    return known ? known->port : 0;
}

void cURL::FillWithBlanks()
{
    const std::string blanks(1024, ' ');
    m_hostName = m_userName = m_password = m_path = m_extraInfo = blanks;
}

bool cURL::ParseUrl(const std::string& sSourceURL)
{
    FillWithBlanks();
    const UriReference parts = UriReference::Split(sSourceURL);
    if (!parts.hasScheme)
        return false;
    const UserInfo userInfo = UserInfo::Split(parts.authority);
    const std::string_view hostPort = userInfo.hostPort;
    const std::int32_t scheme = SchemeOf(parts.scheme);
    std::int32_t port = DefaultPort(scheme);
    const HostPort split = HostPort::Split(hostPort);
    if (split.hasPort && !split.port.empty()) {
        const std::optional<std::int32_t> explicitPort = PortNumber(split.port);
        if (!explicitPort)
            return false;
        port = *explicitPort;
    }
    m_scheme = scheme;
    m_port = port;
    m_hostName = std::string(split.host);
    m_userName = std::string(userInfo.user);
    m_password = std::string(userInfo.password);
    m_path = parts.path;
    m_extraInfo = (parts.hasQuery ? "?" + parts.query : "") + (parts.hasFragment ? "#" + parts.fragment : "");
    return true;
}

std::string cURL::CreateURL() const
{
    const KnownScheme* scheme = FindScheme(m_scheme);
    if (!scheme)
        return {};
    std::string text = std::string(scheme->name) + ":";
    const bool hasAuthority = !m_hostName.empty() || scheme->port != 0 || scheme->number == SchemeNumber::File;
    if (hasAuthority) {
        text += "//";
        if (!m_userName.empty() || !m_password.empty())
            text += m_userName + (m_password.empty() ? "" : ":" + m_password) + "@";
        text += m_hostName;
        if (m_port != 0 && m_port != scheme->port)
            text += ":" + std::to_string(m_port);
    }
    return text + m_path + m_extraInfo;
}

}  // namespace brimtor
