#include "cli/CheckOutput.hpp"

#include <algorithm>
#include <array>
#include <charconv>

#include "engine/ResultText.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

constexpr std::array<std::string_view, 9> kColumns {"id", "name", "folder", "url", "status", "code",
                                                    "result", "redirected_url", "clean"};
constexpr std::size_t kId = 0;
constexpr std::size_t kCode = 5;
constexpr std::size_t kClean = 8;

// The decimal text of `number`, written into `buffer`.
std::string_view Decimal(char (&buffer)[16], std::int32_t number)
{
    const char* const end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
    return std::string_view(buffer, static_cast<std::size_t>(end - buffer));
}

// Calls `each(column, text)` for the row's fields in column order, without copying any of them.
template <typename Each>
void ForEachField(const CheckRow& row, Each&& each)
{
    char id[16];
    char code[16];
    each(kId, Decimal(id, row.id));
    each(1, row.name);
    each(2, row.folder);
    each(3, row.url);
    each(4, row.status);
    each(kCode, Decimal(code, row.code));
    each(6, std::string_view(row.result));
    each(7, row.redirectedUrl);
    each(kClean, std::string_view(row.clean ? "true" : "false"));
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

void AppendUnicodeEscape(std::string& text, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789abcdef";
    text += "\\u00";
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
}

void AppendJsonAscii(std::string& text, char c)
{
    switch (c) {
    case '"': text += "\\\""; return;
    case '\\': text += "\\\\"; return;
    case '\b': text += "\\b"; return;
    case '\f': text += "\\f"; return;
    case '\n': text += "\\n"; return;
    case '\r': text += "\\r"; return;
    case '\t': text += "\\t"; return;
    default: break;
    }
    if (static_cast<unsigned char>(c) < 0x20)
        AppendUnicodeEscape(text, static_cast<unsigned char>(c));
    else
        text += c;
}

// Room for the whole output up front: a hundred thousand rows would otherwise grow the text
// through a dozen copies of itself.
std::size_t RoughSize(const std::vector<CheckRow>& rows)
{
    std::size_t size = 256;
    for (const CheckRow& row : rows)
        size += 120 + row.name.size() + row.folder.size() + row.url.size() + row.redirectedUrl.size();
    return size;
}

void AppendJsonObject(std::string& text, const CheckRow& row)
{
    text += '{';
    ForEachField(row, [&](std::size_t column, std::string_view field) {
        if (column > 0)
            text += ", ";
        AppendJsonString(text, kColumns[column]);
        text += ": ";
        // Numbers and the flag are JSON values; everything else is a string.
        if (column == kId || column == kCode || column == kClean)
            text += field;
        else
            AppendJsonString(text, field);
    });
    text += '}';
}

std::string Json(const std::vector<CheckRow>& rows)
{
    if (rows.empty())
        return "[]\n";
    std::string text = "[\n";
    text.reserve(RoughSize(rows));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        text += "  ";
        AppendJsonObject(text, rows[i]);
        text += i + 1 < rows.size() ? ",\n" : "\n";
    }
    return text + "]\n";
}

std::string Csv(const std::vector<CheckRow>& rows)
{
    std::string text;
    text.reserve(RoughSize(rows));
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        (text += i > 0 ? "," : "") += kColumns[i];
    text += '\n';
    for (const CheckRow& row : rows) {
        ForEachField(row, [&](std::size_t column, std::string_view field) {
            if (column > 0)
                text += ',';
            AppendCsvField(text, field);
        });
        text += '\n';
    }
    return text;
}

// A line break inside a field would break the table's rows apart: it shows as a blank.
void AppendOneLine(std::string& text, std::string_view field)
{
    for (const char c : field)
        text += (c == '\r' || c == '\n') ? ' ' : c;
}

std::string Table(const std::vector<CheckRow>& rows)
{
    std::array<std::size_t, 9> widths {};
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        widths[i] = kColumns[i].size();
    for (const CheckRow& row : rows)
        ForEachField(row, [&](std::size_t column, std::string_view field) {
            widths[column] = std::max(widths[column], field.size());
        });
    std::string text;
    text.reserve(RoughSize(rows));
    const auto append = [&](std::size_t column, std::string_view field) {
        AppendOneLine(text, field);
        if (column + 1 < kColumns.size())
            text.append(widths[column] - field.size() + 2, ' ');
    };
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        append(i, ToUpperAscii(kColumns[i]));
    text += '\n';
    for (const CheckRow& row : rows) {
        ForEachField(row, append);
        text += '\n';
    }
    return text;
}

}  // namespace

CheckRow MakeCheckRow(const cBookmark& bookmark)
{
    return {bookmark.BookmarkID, bookmark.ShortcutName, bookmark.Folder, bookmark.url, bookmark.Status,
            bookmark.ResponseCode, ResultText(bookmark), bookmark.RedirectedUrl,
            bookmark.Clean};
}

void AppendJsonString(std::string& text, std::string_view bytes)
{
    text += '"';
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            AppendJsonAscii(text, bytes[i]);
            ++i;
        } else if (const std::size_t length = Utf8SequenceLength(bytes, i); length > 0) {
            text.append(bytes.substr(i, length));
            i += length;
        } else {
            AppendUnicodeEscape(text, byte);
            ++i;
        }
    }
    text += '"';
}

void AppendCsvField(std::string& text, std::string_view bytes)
{
    // One test per byte: find_first_of would search the four characters once per byte.
    const bool special = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        return c == ',' || c == '"' || c == '\r' || c == '\n';
    });
    const bool quoted = special || (!bytes.empty() && (bytes.front() == ' ' || bytes.back() == ' '));
    if (!quoted) {
        text += bytes;
        return;
    }
    text += '"';
    for (const char c : bytes)
        (c == '"' ? text += "\"\"" : text += c);
    text += '"';
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
