#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/Verdict.hpp"

// The results as rows of text: what brimtor-check prints and what the window's "Save List As..."
// writes, so the two say the same about the same bookmarks. Pure text work, so every byte of it
// can be tested.
namespace brimtor {

// The texts are views of the bookmark's own: a row lives no longer than its bookmark, and a
// hundred thousand rows cost no copies.
struct ReportRow {
    std::int32_t id = 0;
    std::string_view name;
    std::string_view folder;
    std::string_view url;
    std::string_view status;
    std::int32_t code = 0;
    std::string result;  // the words the results view shows
    std::string_view redirectedUrl;
    bool clean = false;
    std::string_view looksDead;  // the looks-dead verdict's word ("parked"), or empty
    std::string archiveUrl;  // the web archive's copies of a row in the Problem view; else empty
    ResultIcon icon = ResultIcon::None;  // the results view's icon; not a column
};

// The columns, in order: their names are the CSV header and the JSON keys.
inline constexpr std::array<std::string_view, 11> kReportColumns {
    "id", "name", "folder", "url", "status", "code", "result", "redirected_url", "clean", "looks_dead", "archive_url"};
namespace ReportColumn {
constexpr std::size_t Id = 0;
constexpr std::size_t Code = 5;
constexpr std::size_t Clean = 8;
constexpr std::size_t LooksDead = 9;
constexpr std::size_t ArchiveUrl = 10;
}  // namespace ReportColumn

// The row of a bookmark as it stands: after its verdict, the view's protection rules and the
// user's ticks.
ReportRow MakeReportRow(const cBookmark& bookmark);
// One row per bookmark, in the order given.
std::vector<ReportRow> MakeReportRows(const std::vector<BookmarkPtr>& bookmarks);

// Calls `each(column, text)` for the row's fields in column order, without copying any of them.
template <typename Each>
void ForEachField(const ReportRow& row, Each&& each)
{
    const auto decimal = [](char (&buffer)[16], std::int32_t number) {
        const char* const end = std::to_chars(buffer, buffer + sizeof buffer, number).ptr;
        return std::string_view(buffer, static_cast<std::size_t>(end - buffer));
    };
    char id[16];
    char code[16];
    each(ReportColumn::Id, decimal(id, row.id));
    each(1, row.name);
    each(2, row.folder);
    each(3, row.url);
    each(4, row.status);
    each(ReportColumn::Code, decimal(code, row.code));
    each(6, std::string_view(row.result));
    each(7, row.redirectedUrl);
    each(ReportColumn::Clean, std::string_view(row.clean ? "true" : "false"));
    each(ReportColumn::LooksDead, row.looksDead);
    each(ReportColumn::ArchiveUrl, std::string_view(row.archiveUrl));
}

// Room for a whole output up front: a hundred thousand rows would otherwise grow the text
// through a dozen copies of itself.
std::size_t RoughSize(const std::vector<ReportRow>& rows);

// Appends a CSV field: quoted, with its quotes doubled, when it holds a comma, a quote, a CR or an LF, or
// begins or ends with a blank; as it is otherwise. Bytes pass through unchanged.
void AppendCsvField(std::string& text, std::string_view bytes);

// The rows as CSV: the header line, then one line per row, each ending with LF.
std::string CsvReport(const std::vector<ReportRow>& rows);

}  // namespace brimtor
