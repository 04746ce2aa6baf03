#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QStringList>

// File-type filters as callers write them: descriptions and patterns alternating, separated by
// "|", e.g. "Text files (*.txt,*.csv)|*.txt;*.csv".
namespace brimtor {

// The pieces between the bars. Two bars in a row give an empty piece; a bar at the very end
// gives none after it. Throws NumberedError 9 (subscript out of range) for an empty text,
// which has no pieces at all.
std::vector<std::string> SplitFilter(std::string_view filter);

// Every piece followed by a zero character, and one more zero character after the last.
std::string ZeroSeparatedFilter(std::string_view filter);

// The pairs of a zero-separated filter in the form Qt's file dialog takes,
// "Text files (*.txt *.csv)": the description without a pattern list of its own, then the
// patterns, blank-separated, in brackets. A description without a pattern stands for every
// file; an empty text gives no filters.
QStringList QtNameFilters(std::string_view zeroSeparated);

}  // namespace brimtor
