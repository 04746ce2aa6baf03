#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/ReportRows.hpp"

// The rows brimtor-check prints: one per bookmark of the chosen view, as a table for people or
// as CSV or JSON for scripts. Pure text work, so every byte of it can be tested.
namespace brimtor {

enum class OutputFormat { Table, Csv, Json };

// Appends a JSON string literal, quotes included. Bookmark files come in any 8-bit encoding: well-formed
// UTF-8 passes through as it is, and every byte that is not part of a well-formed UTF-8 sequence
// is read as Latin-1 and written as its \u00XX escape, so the output is valid JSON whatever the
// input. Control characters are escaped as well.
void AppendJsonString(std::string& text, std::string_view bytes);

// The whole output for the rows. CSV and the table have a header line; JSON is one array of
// objects keyed by the column names. The table, for people, leaves the archive address out.
// Every line ends with LF.
std::string FormatRows(const std::vector<ReportRow>& rows, OutputFormat format);

}  // namespace brimtor
