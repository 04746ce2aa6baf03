#pragma once

#include <cstdint>
#include <string>

// One address split into its parts (RFC 1738 names), and built back from them. Nothing is
// decoded or escaped on the way in or out.
namespace brimtor {

// Scheme numbers as the rest of the program stores them.
namespace SchemeNumber {
constexpr std::int32_t Unknown = -1;
constexpr std::int32_t Default = 0;  // builds as http
constexpr std::int32_t Ftp = 1;
constexpr std::int32_t Gopher = 2;
constexpr std::int32_t Http = 3;
constexpr std::int32_t Https = 4;
constexpr std::int32_t File = 5;
constexpr std::int32_t News = 6;
constexpr std::int32_t Mailto = 7;
}  // namespace SchemeNumber

class cURL {
public:
    // Splits the address into the fields and returns true. On failure returns false, leaves
    // Scheme and Port as they were and fills the five text fields with 1024 blanks each.
    bool ParseUrl(const std::string& sSourceURL);
    // The address the fields describe; empty text for an unknown scheme.
    std::string CreateURL() const;

    std::int32_t Scheme() const { return m_scheme; }
    void SetScheme(std::int32_t value) { m_scheme = value; }
    const std::string& HostHame() const { return m_hostName; }
    void SetHostHame(const std::string& value) { m_hostName = value; }
    std::int32_t Port() const { return m_port; }
    void SetPort(std::int32_t value) { m_port = value; }
    const std::string& UserName() const { return m_userName; }
    void SetUserName(const std::string& value) { m_userName = value; }
    const std::string& Password() const { return m_password; }
    void SetPassword(const std::string& value) { m_password = value; }
    const std::string& URLPath() const { return m_path; }
    void SetURLPath(const std::string& value) { m_path = value; }
    // Query and fragment together, each with its leading "?" or "#".
    const std::string& ExtraInfo() const { return m_extraInfo; }
    void SetExtraInfo(const std::string& value) { m_extraInfo = value; }

private:
    void FillWithBlanks();

    std::int32_t m_scheme = SchemeNumber::Default;
    std::string m_hostName;
    std::int32_t m_port = 0;
    std::string m_userName;
    std::string m_password;
    std::string m_path;
    std::string m_extraInfo;
};

// The port a scheme uses when an address names none; 0 for schemes without one.
std::int32_t DefaultPort(std::int32_t scheme);

}  // namespace brimtor
