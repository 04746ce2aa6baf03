#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bookmarks/cBookmark.hpp"

// The rows brimtor-check prints: one per bookmark of the chosen view, as a table for people or
// as CSV or JSON for scripts. Pure text work, so every byte of it can be tested.
namespace brimtor {

enum class OutputFormat { Table, Csv, Json };

// The texts are views of the bookmark's own: a row lives no longer than its bookmark, and a
// hundred thousand rows cost no copies.
struct CheckRow {
    std::int32_t id = 0;
    std::string_view name;
    std::string_view folder;
    std::string_view url;
    std::string_view status;
    std::int32_t code = 0;
    std::string result;  // the words the results view shows
    std::string_view redirectedUrl;
    bool clean = false;
};

// The row of a bookmark as it stands: after its verdict and the view's protection rules.
CheckRow MakeCheckRow(const cBookmark& bookmark);

// Appends a JSON string literal, quotes included. Bookmark files come in any 8-bit encoding: well-formed
// UTF-8 passes through as it is, and every byte that is not part of a well-formed UTF-8 sequence
// is read as Latin-1 and written as its \u00XX escape, so the output is valid JSON whatever the
// input. Control characters are escaped as well.
void AppendJsonString(std::string& text, std::string_view bytes);

// Appends a CSV field: quoted, with its quotes doubled, when it holds a comma, a quote, a CR or an LF, or
// begins or ends with a blank; as it is otherwise. Bytes pass through unchanged.
void AppendCsvField(std::string& text, std::string_view bytes);

// The whole output for the rows. CSV and the table have a header line; JSON is one array of
// objects with the keys id, name, folder, url, status, code, result, redirected_url and clean.
// Every line ends with LF.
std::string FormatRows(const std::vector<CheckRow>& rows, OutputFormat format);

}  // namespace brimtor
