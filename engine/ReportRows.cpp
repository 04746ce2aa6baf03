#include "engine/ReportRows.hpp"

#include <algorithm>

#include "bookmarks/LookFinding.hpp"
#include "bookmarks/ResultsFilter.hpp"
#include "bookmarks/WebArchive.hpp"
#include "engine/ResultText.hpp"

namespace brimtor {

ReportRow MakeReportRow(const cBookmark& bookmark)
{
    return {bookmark.BookmarkID, bookmark.ShortcutName, bookmark.Folder, bookmark.url, bookmark.Status,
            bookmark.ResponseCode, ResultText(bookmark), bookmark.RedirectedUrl, bookmark.Clean,
            LookVerdictWord(LookFindingOf(bookmark)),
            InProblemView(bookmark) ? WebArchiveAddress(bookmark.url) : std::string(), IconOf(bookmark)};
}

std::vector<ReportRow> MakeReportRows(const std::vector<BookmarkPtr>& bookmarks)
{
    std::vector<ReportRow> rows;
    rows.reserve(bookmarks.size());
    for (const BookmarkPtr& bookmark : bookmarks)
        rows.push_back(MakeReportRow(*bookmark));
    return rows;
}

std::size_t RoughSize(const std::vector<ReportRow>& rows)
{
    std::size_t size = 256;
    for (const ReportRow& row : rows)
        size += 120 + row.name.size() + row.folder.size() + row.url.size() + row.redirectedUrl.size()
              + row.archiveUrl.size();
    return size;
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

std::string CsvReport(const std::vector<ReportRow>& rows)
{
    std::string text;
    text.reserve(RoughSize(rows));
    for (std::size_t i = 0; i < kReportColumns.size(); ++i)
        (text += i > 0 ? "," : "") += kReportColumns[i];
    text += '\n';
    for (const ReportRow& row : rows) {
        ForEachField(row, [&](std::size_t column, std::string_view field) {
            if (column > 0)
                text += ',';
            AppendCsvField(text, field);
        });
        text += '\n';
    }
    return text;
}

}  // namespace brimtor
