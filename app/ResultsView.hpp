#pragma once

#include <string>
#include <vector>

#include <QTreeWidget>

#include "bookmarks/TidyLists.hpp"
#include "bookmarks/cBookmarks.hpp"
#include "engine/ReportRows.hpp"

class QMenu;

namespace brimtor {

class cLinkMain;

// The results list: one ticked or unticked row per bookmark of the chosen view, or per duplicate
// or empty folder. A tick is the bookmark's Clean mark, or the duplicate's or the folder's own,
// written through at once.
class ResultsView : public QTreeWidget {
    Q_OBJECT
public:
    enum Column { ColBookmark, ColStatus, ColResult, ColStatusCode, ColID, ColFolder };

    explicit ResultsView(QWidget* parent = nullptr);

    void SetLinkMain(cLinkMain* links) { m_links = links; }

    // Refills the list with the view ("Broken", "Redirect", "All", "Duplicates" or "Empty Folders").
    void FillResults(const std::string& view);
    // The tidy list the rows are of; None while they are links.
    TidyView ShownList() const { return m_shown; }
    // Unticks every row and clears its bookmark's mark.
    void UncheckAll();
    // Opens every selected row's address in the browser.
    void ShowSelectedInBrowser();
    // Opens the web archive's copies of every selected row's address.
    void ShowSelectedInArchive();
    // Asks for a file and saves the rows as they stand, as CSV (the command's columns) or, for a
    // name ending in .html or .htm, as a web page. A file that cannot be written says why.
    void SaveListAs();
    // What a click on header `column` (0-based) does: sort by it, turning the order around.
    void HeaderClicked(int column);

    bool SortArrowToggle() const { return m_sortArrowToggle; }
    QMenu* PopupMenu() const { return m_mnuPopup; }

signals:
    // "n bookmarks(s)" after every fill.
    void cleanCountChanged(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Enter opens the current row; the Menu key and Shift+F10 open the pop-up menu at it.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildPopupMenu();
    void PopupAtCurrentRow();
    void AddRow(const ReportRow& row);
    void ItemChanged(QTreeWidgetItem* item, int column);
    // What to hand the shell for a bookmark's address; empty for nothing.
    using AddressFor = std::string (*)(const std::string& url);
    void OpenRow(const QTreeWidgetItem* item, AddressFor address);
    void OpenSelected(AddressFor address);
    // The rows as the list shows them, in its order.
    std::vector<ReportRow> ShownRows() const;
    BookmarkPtr BookmarkOf(const QTreeWidgetItem* item) const;
    std::string UrlOf(const QTreeWidgetItem* item) const;

    cLinkMain* m_links = nullptr;
    QMenu* m_mnuPopup = nullptr;
    TidyView m_shown = TidyView::None;
    bool m_filling = false;
    bool m_sortArrowToggle = false;
};

}  // namespace brimtor
