#include "engine/UriReference.hpp"

#include "support/Text.hpp"

namespace brimtor {

namespace {

bool IsSchemeChar(char c)
{
    return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '+' || c == '-' || c == '.';
}

// Length of a leading "scheme:" without the colon, or npos when the text has none.
std::size_t SchemeLength(std::string_view text)
{
    if (text.empty() || !IsAsciiLetter(text[0]))
        return std::string_view::npos;
    std::size_t i = 1;
    while (i < text.size() && IsSchemeChar(text[i]))
        ++i;
    return i < text.size() && text[i] == ':' ? i : std::string_view::npos;
}

// Moves the first segment of `input` (with its leading "/" if any) to the end of `output`.
void MoveFirstSegment(std::string_view& input, std::string& output)
{
    const std::size_t next = input.find('/', input.front() == '/' ? 1 : 0);
    const std::size_t length = next == std::string_view::npos ? input.size() : next;
    output.append(input.substr(0, length));
    input.remove_prefix(length);
}

void DropLastSegment(std::string& output)
{
    const std::size_t slash = output.rfind('/');
    output.erase(slash == std::string::npos ? 0 : slash);
}

}  // namespace

UriReference UriReference::Split(std::string_view text)
{
    UriReference parts;
    const std::size_t schemeLength = SchemeLength(text);
    if (schemeLength != std::string_view::npos) {
        parts.hasScheme = true;
        parts.scheme = std::string(text.substr(0, schemeLength));
        text.remove_prefix(schemeLength + 1);
    }
    const std::size_t hash = text.find('#');
    if (hash != std::string_view::npos) {
        parts.hasFragment = true;
        parts.fragment = std::string(text.substr(hash + 1));
        text = text.substr(0, hash);
    }
    const std::size_t question = text.find('?');
    if (question != std::string_view::npos) {
        parts.hasQuery = true;
        parts.query = std::string(text.substr(question + 1));
        text = text.substr(0, question);
    }
    if (text.substr(0, 2) == "//") {
        const std::size_t end = text.find('/', 2);
        parts.hasAuthority = true;
        parts.authority = std::string(text.substr(2, end == std::string_view::npos ? end : end - 2));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end);
    }
    parts.path = std::string(text);
    return parts;
}

std::string UriReference::Join() const
{
    std::string text;
    if (hasScheme)
        text += scheme + ":";
    if (hasAuthority)
        text += "//" + authority;
    text += path;
    if (hasQuery)
        text += "?" + query;
    if (hasFragment)
        text += "#" + fragment;
    return text;
}

UserInfo UserInfo::Split(std::string_view authority)
{
    const std::size_t at = authority.rfind('@');
    if (at == std::string_view::npos)
        return {false, {}, {}, {}, authority};
    const std::string_view info = authority.substr(0, at);
    const std::size_t colon = info.find(':');
    return {true, info, info.substr(0, colon),
            colon == std::string_view::npos ? std::string_view() : info.substr(colon + 1), authority.substr(at + 1)};
}

HostPort HostPort::Split(std::string_view hostPort)
{
    const std::size_t bracket = hostPort.rfind(']');
    const std::size_t colon = hostPort.rfind(':');
    if (colon == std::string_view::npos || (bracket != std::string_view::npos && colon < bracket))
        return {hostPort, false, {}};
    return {hostPort.substr(0, colon), true, hostPort.substr(colon + 1)};
}

std::optional<std::int32_t> PortNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int32_t port = 0;
    for (char c : digits)
        port = port * 10 + (c - '0');
    if (port > 65535)
        return std::nullopt;
    return port;
}

// The loop of RFC 3986 section 5.2.4.
std::string RemoveDotSegments(std::string_view input)
{
    std::string output;
    while (!input.empty()) {
        if (input.substr(0, 3) == "../")
            input.remove_prefix(3);
        else if (input.substr(0, 2) == "./")
            input.remove_prefix(2);
        else if (input.substr(0, 3) == "/./")
            input.remove_prefix(2);
        else if (input == "/.")
            input = "/";
        else if (input.substr(0, 4) == "/../") {
            input.remove_prefix(3);
            DropLastSegment(output);
        } else if (input == "/..") {
            input = "/";
            DropLastSegment(output);
        } else if (input == "." || input == "..")
            input = {};
        else
            MoveFirstSegment(input, output);
    }
    return output;
}

}  // namespace brimtor
