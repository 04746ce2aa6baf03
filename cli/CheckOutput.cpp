#include "cli/CheckOutput.hpp"

#include <algorithm>
#include <array>

#include "support/Text.hpp"
#include "support/Utf8.hpp"

namespace brimtor {

namespace {

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

void AppendJsonObject(std::string& text, const ReportRow& row)
{
    text += '{';
    ForEachField(row, [&](std::size_t column, std::string_view field) {
        if (column > 0)
            text += ", ";
        AppendJsonString(text, kReportColumns[column]);
        text += ": ";
        // Numbers and the flag are JSON values; everything else is a string.
        if (column == ReportColumn::Id || column == ReportColumn::Code || column == ReportColumn::Clean)
            text += field;
        else
            AppendJsonString(text, field);
    });
    text += '}';
}

std::string Json(const std::vector<ReportRow>& rows)
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

// A line break inside a field would break the table's rows apart: it shows as a blank.
void AppendOneLine(std::string& text, std::string_view field)
{
    for (const char c : field)
        text += (c == '\r' || c == '\n') ? ' ' : c;
}

// The table's columns: all but the archive address, which would double the width of a line.
constexpr std::size_t kTableColumns = ReportColumn::ArchiveUrl;

std::string Table(const std::vector<ReportRow>& rows)
{
    std::array<std::size_t, kTableColumns> widths {};
    for (std::size_t i = 0; i < kTableColumns; ++i)
        widths[i] = kReportColumns[i].size();
    for (const ReportRow& row : rows)
        ForEachField(row, [&](std::size_t column, std::string_view field) {
            if (column < kTableColumns)
                widths[column] = std::max(widths[column], CharacterCount(field));
        });
    std::string text;
    text.reserve(RoughSize(rows));
    const auto append = [&](std::size_t column, std::string_view field) {
        if (column >= kTableColumns)
            return;
        AppendOneLine(text, field);
        if (column + 1 < kTableColumns)
            text.append(widths[column] - CharacterCount(field) + 2, ' ');
    };
    for (std::size_t i = 0; i < kTableColumns; ++i)
        append(i, ToUpperAscii(kReportColumns[i]));
    text += '\n';
    for (const ReportRow& row : rows) {
        ForEachField(row, append);
        // An empty last column would leave the padding of the one before it.
        text.erase(text.find_last_not_of(' ') + 1);
        text += '\n';
    }
    return text;
}

}  // namespace

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

std::string FormatRows(const std::vector<ReportRow>& rows, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv: return CsvReport(rows);
    case OutputFormat::Json: return Json(rows);
    case OutputFormat::Table: break;
    }
    return Table(rows);
}

}  // namespace brimtor
