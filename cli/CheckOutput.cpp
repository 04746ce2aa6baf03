#include "cli/CheckOutput.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/ResultText.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

constexpr std::array<const char*, 9> kColumns {"id", "name", "folder", "url", "status", "code",
                                               "result", "redirected_url", "clean"};

// The row's fields as text, in column order.
std::array<std::string, 9> Fields(const CheckRow& row)
{
    return {std::to_string(row.id), row.name, row.folder, row.url, row.status,
            std::to_string(row.code), row.result, row.redirectedUrl, row.clean ? "true" : "false"};
}

// Length of the well-formed UTF-8 sequence starting at `i` (no overlongs, no surrogates, nothing
// beyond U+10FFFF); 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    // Only the second byte has a narrowed range; the rest are plain continuation bytes.
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = i + 2; k < i + length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF)
            return 0;
    }
    return length;
}

std::string UnicodeEscape(unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", byte);
    return text;
}

std::string JsonEscapedAscii(char c)
{
    switch (c) {
    case '"': return "\\\"";
    case '\\': return "\\\\";
    case '\b': return "\\b";
    case '\f': return "\\f";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: break;
    }
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 ? UnicodeEscape(byte) : std::string(1, c);
}

std::string JsonObject(const CheckRow& row)
{
    const std::array<std::string, 9> fields = Fields(row);
    std::string text = "{";
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += JsonString(kColumns[i]) + ": ";
        // Numbers and the flag are JSON values; everything else is a string.
        const bool bare = i == 0 || i == 5 || i == 8;
        text += bare ? fields[i] : JsonString(fields[i]);
    }
    return text + "}";
}

std::string Json(const std::vector<CheckRow>& rows)
{
    if (rows.empty())
        return "[]\n";
    std::string text = "[\n";
    for (std::size_t i = 0; i < rows.size(); ++i)
        text += "  " + JsonObject(rows[i]) + (i + 1 < rows.size() ? ",\n" : "\n");
    return text + "]\n";
}

std::string Csv(const std::vector<CheckRow>& rows)
{
    std::string text;
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        text += (i > 0 ? "," : "") + std::string(kColumns[i]);
    text += '\n';
    for (const CheckRow& row : rows) {
        const std::array<std::string, 9> fields = Fields(row);
        for (std::size_t i = 0; i < fields.size(); ++i)
            text += (i > 0 ? "," : "") + CsvField(fields[i]);
        text += '\n';
    }
    return text;
}

// A line break inside a field would break the table's rows apart.
std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string Table(const std::vector<CheckRow>& rows)
{
    std::vector<std::array<std::string, 9>> lines;
    std::array<std::string, 9> header;
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        header[i] = ToUpperAscii(kColumns[i]);
    lines.push_back(header);
    for (const CheckRow& row : rows) {
        std::array<std::string, 9> fields = Fields(row);
        for (std::string& field : fields)
            field = OneLine(field);
        lines.push_back(fields);
    }
    std::array<std::size_t, 9> widths {};
    for (const auto& line : lines) {
        for (std::size_t i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], line[i].size());
    }
    std::string text;
    for (const auto& line : lines) {
        std::string out;
        for (std::size_t i = 0; i < line.size(); ++i) {
            out += line[i];
            if (i + 1 < line.size())
                out += std::string(widths[i] - line[i].size() + 2, ' ');
        }
        text += out + '\n';
    }
    return text;
}

}  // namespace

CheckRow MakeCheckRow(const cBookmark& bookmark)
{
    return {bookmark.BookmarkID, bookmark.ShortcutName, bookmark.Folder, bookmark.url, bookmark.Status,
            bookmark.ResponseCode, ResultText(bookmark.ResponseCode), bookmark.RedirectedUrl,
            bookmark.Clean};
}

std::string JsonString(std::string_view bytes)
{
    std::string text = "\"";
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            text += JsonEscapedAscii(bytes[i]);
            ++i;
        } else if (const std::size_t length = Utf8SequenceLength(bytes, i); length > 0) {
            text.append(bytes.substr(i, length));
            i += length;
        } else {
            text += UnicodeEscape(byte);
            ++i;
        }
    }
    return text + "\"";
}

std::string CsvField(std::string_view bytes)
{
    const bool quoted = bytes.find_first_of(",\"\r\n") != std::string_view::npos
                        || (!bytes.empty() && (bytes.front() == ' ' || bytes.back() == ' '));
    if (!quoted)
        return std::string(bytes);
    std::string text = "\"";
    for (const char c : bytes)
        text += c == '"' ? std::string("\"\"") : std::string(1, c);
    return text + "\"";
}

std::string FormatRows(const std::vector<CheckRow>& rows, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv: return Csv(rows);
    case OutputFormat::Json: return Json(rows);
    case OutputFormat::Table: break;
    }
    return Table(rows);
}

}  // namespace brimtor
