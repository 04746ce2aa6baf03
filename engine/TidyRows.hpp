#pragma once

#include <string>
#include <vector>

#include "bookmarks/TidyLists.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "engine/ReportRows.hpp"

// The rows of the duplicates and of the empty folders, in the columns of every other view, so the
// window shows and saves them and brimtor-check prints them as it does links.
namespace brimtor {

// The view's rows in the source's order: a duplicate as its bookmark's row whose result names the
// folder of the copy kept ("Duplicate; the copy kept is in \\-News"); an empty folder by its id
// (FolderID), name and the folder it is in, "folder" for its status and "Empty folder" (or "Empty
// once its duplicates are removed") for its result. The clean column is the row's tick.
std::vector<ReportRow> TidyReportRows(TidyLists& lists, TidyView view);

// The rows of any view by its word: a link view's (filled, so its protection rules apply) or a
// tidy list's.
std::vector<ReportRow> ViewReportRows(cLinkMain& links, const std::string& view);

}  // namespace brimtor
