#include "engine/TidyRows.hpp"

#include "bookmarks/ResultsFilter.hpp"

namespace brimtor {

namespace {

ReportRow DuplicateRow(const Duplicate& duplicate)
{
    ReportRow row = MakeReportRow(*duplicate.copy);
    const std::string& folder = duplicate.kept->Folder;
    row.result = "Duplicate; the copy kept is in " + (folder.empty() ? std::string("root") : folder);
    row.clean = duplicate.Clean;
    row.archiveUrl.clear();
    row.icon = ResultIcon::None;
    return row;
}

ReportRow FolderRow(const EmptyFolder& empty)
{
    ReportRow row;
    row.id = empty.folder->FolderID;
    row.name = empty.folder->Name;
    row.folder = empty.folder->Folder;
    row.status = "folder";
    row.result = empty.onceDuplicatesGo ? "Empty once its duplicates are removed" : "Empty folder";
    row.clean = empty.folder->Clean;
    return row;
}

}  // namespace

std::vector<ReportRow> TidyReportRows(TidyLists& lists, TidyView view)
{
    std::vector<ReportRow> rows;
    if (view == TidyView::Duplicates) {
        for (const Duplicate& duplicate : lists.Duplicates())
            rows.push_back(DuplicateRow(duplicate));
    } else if (view == TidyView::EmptyFolders) {
        for (const EmptyFolder& empty : lists.EmptyFolders())
            rows.push_back(FolderRow(empty));
    }
    return rows;
}

std::vector<ReportRow> ViewReportRows(cLinkMain& links, const std::string& view)
{
    const TidyView tidy = TidyViewOf(view);
    if (tidy != TidyView::None)
        return TidyReportRows(links.Tidying(), tidy);
    return MakeReportRows(FillView(*links.Bookmarks(), view));
}

}  // namespace brimtor
