#include "bookmarks/ReadShortcutUrl.hpp"

#include <algorithm>
#include <string_view>
#include <vector>

#include "support/FileIo.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

constexpr std::string_view kAddressMarker = "URL=";
constexpr std::string_view kBaseMarker = "BASEURL=";
constexpr std::string_view kNotAddressMarker = "EURL=";

// A field ends at a comma or at a line break (CR LF, or a CR or LF alone).
std::size_t FieldEnd(std::string_view text, std::size_t from)
{
    const std::size_t end = text.find_first_of(",\r\n", from);
    return end == std::string_view::npos ? text.size() : end;
}

std::size_t SkipDelimiter(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return at;
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
        return at + 2;
    return at + 1;
}

// The file read the way a comma-separated reader reads it: blanks before a field are skipped,
// and a field that opens with a double quote runs to the closing one (commas and line breaks
// included), without the quotes; anything after the closing quote up to the delimiter is dropped.
std::vector<std::string> ReadFields(std::string_view text)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at < text.size() && text[at] == '"') {
            const std::size_t close = std::min(text.find('"', at + 1), text.size());
            fields.emplace_back(text.substr(at + 1, close - at - 1));
            at = FieldEnd(text, std::min(close + 1, text.size()));
        } else {
            const std::size_t end = FieldEnd(text, at);
            fields.emplace_back(text.substr(at, end - at));
            at = end;
        }
        at = SkipDelimiter(text, at);
    }
    return fields;
}

// "BASEURL=" holds "EURL=" after its first three letters, so it never counts as an address;
// a field that starts with "EURL=" still does.
bool IsAddressLine(std::string_view field)
{
    const std::size_t notAddress = field.find(kNotAddressMarker);
    return field.find(kAddressMarker) != std::string_view::npos
        && (notAddress == std::string_view::npos || notAddress == 0);
}

std::string WithoutLineBreaks(std::string text)
{
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

}  // namespace

std::string ReadShortcutUrl(const std::string& path)
{
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return {};
    std::string address;
    std::string base;
    for (std::string& field : ReadFields(*bytes)) {
        if (field.find(kBaseMarker) != std::string::npos)
            base = field;
        if (IsAddressLine(field))
            address = std::move(field);
    }
    address = TrimBlanks(address);
    base = TrimBlanks(base);
    // A server never sees a fragment; the shortcut's base address names the page it belongs to.
    const std::size_t fragment = address.find('#');
    if ((fragment != std::string::npos && fragment >= 1) || address.size() < 2)
        return WithoutLineBreaks(base.size() > kBaseMarker.size() ? base.substr(kBaseMarker.size())
                                                                  : std::string());
    return WithoutLineBreaks(address.substr(address.find(kAddressMarker) + kAddressMarker.size()));
}

}  // namespace brimtor
