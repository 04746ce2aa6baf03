#pragma once

#include <string>
#include <vector>

#include "engine/ReportRows.hpp"

namespace brimtor {

// The rows as a web page that any browser opens: one table row per bookmark, with what its icon
// in the results means in words and every web address a link. UTF-8, whatever the bookmarks'
// bytes were: they are read as the window reads them.
std::string ResultsPage(const std::vector<ReportRow>& rows);

}  // namespace brimtor
