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

struct CheckRow {
    std::int32_t id = 0;
    std::string name;
    std::string folder;
    std::string url;
    std::string status;
    std::int32_t code = 0;
    std::string result;  // the words the results view shows for the code
    std::string redirectedUrl;
    bool clean = false;
};

// The row of a bookmark as it stands: after the check and the view's protection rules.
CheckRow MakeCheckRow(const cBookmark& bookmark);

// A JSON string literal, quotes included. Bookmark files come in any 8-bit encoding: well-formed
// UTF-8 passes through as it is, and every byte that is not part of a well-formed UTF-8 sequence
// is read as Latin-1 and written as its \u00XX escape, so the output is valid JSON whatever the
// input. Control characters are escaped as well.
std::string JsonString(std::string_view bytes);

// A CSV field: quoted, with its quotes doubled, when it holds a comma, a quote, a CR or an LF, or
// begins or ends with a blank; as it is otherwise. Bytes pass through unchanged.
std::string CsvField(std::string_view bytes);

// The whole output for the rows. CSV and the table have a header line; JSON is one array of
// objects with the keys id, name, folder, url, status, code, result, redirected_url and clean.
// Every line ends with LF.
std::string FormatRows(const std::vector<CheckRow>& rows, OutputFormat format);

}  // namespace brimtor
