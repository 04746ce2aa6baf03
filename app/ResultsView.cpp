#include "app/ResultsView.hpp"

#include <unordered_map>

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>

#include "app/ResultsPage.hpp"
#include "app/Twips.hpp"
#include "bookmarks/BrowsableAddress.hpp"
#include "bookmarks/Verdict.hpp"
#include "bookmarks/WebArchive.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "engine/ReportRows.hpp"
#include "engine/TidyRows.hpp"
#include "support/FileIo.hpp"
#include "support/MessageBox.hpp"
#include "support/Shell.hpp"
#include "support/Text.hpp"
#include "support/ui/LocalText.hpp"
#include "support/ui/cCommonDialog.hpp"

namespace brimtor {

namespace {

// Rows sort by their text without regard to case, except "Status Code", which sorts by number.
class ResultRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == ResultsView::ColStatusCode)
            return text(column).toLongLong() < other.text(column).toLongLong();
        return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
    }
};

QIcon RowIcon(const QStyle* style, ResultIcon icon)
{
    switch (icon) {
    case ResultIcon::Bad: return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case ResultIcon::Question: return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case ResultIcon::Warning: return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case ResultIcon::Information: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case ResultIcon::None: break;
    }
    return {};
}

}  // namespace

ResultsView::ResultsView(QWidget* parent)
    : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setMouseTracking(true);
    setHeaderLabels({QStringLiteral("Bookmark"), QStringLiteral("Status"), QStringLiteral("Result"),
                     QStringLiteral("Status Code"), QStringLiteral("ID"), QStringLiteral("Folder")});
    headerItem()->setTextAlignment(ColStatus, Qt::AlignCenter);
    const int widths[] = {7939, 1764, 2822, 0, 0, 2540};
    for (int column = 0; column < 6; ++column)
        setColumnWidth(column, TwipsToPixels(this, widths[column]));
    hideColumn(ColStatusCode);
    hideColumn(ColID);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ResultsView::HeaderClicked);
    connect(this, &QTreeWidget::itemChanged, this, &ResultsView::ItemChanged);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OpenRow(item, BrowsableAddress); });
    BuildPopupMenu();
}

void ResultsView::BuildPopupMenu()
{
    m_mnuPopup = new QMenu(this);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    QAction* browser = m_mnuPopup->addAction(QStringLiteral("Show in &Browser"));
    browser->setObjectName(QStringLiteral("mnuShowBrowser"));
    connect(browser, &QAction::triggered, this, &ResultsView::ShowSelectedInBrowser);
    QAction* archive = m_mnuPopup->addAction(QStringLiteral("Show in Web &Archive"));
    archive->setObjectName(QStringLiteral("mnuShowArchive"));
    connect(archive, &QAction::triggered, this, &ResultsView::ShowSelectedInArchive);
    m_mnuPopup->addSeparator();
    QAction* uncheckAll = m_mnuPopup->addAction(QStringLiteral("&Uncheck All"));
    uncheckAll->setObjectName(QStringLiteral("mnuCheckAll"));
    connect(uncheckAll, &QAction::triggered, this, &ResultsView::UncheckAll);
    QMenu* show = m_mnuPopup->addMenu(QStringLiteral("Show"));
    show->setObjectName(QStringLiteral("mnuShow"));
    const char* captions[] = {"All Bookmarks", "Redirects", "Problem Bookmarks", "Duplicates", "Empty Folders"};
    const char* views[] = {"All", "Redirect", "Broken", "Duplicates", "Empty Folders"};
    for (int i = 0; i < 5; ++i) {
        QAction* item = show->addAction(QString::fromLatin1(captions[i]));
        item->setObjectName(QStringLiteral("mnuShow_%1").arg(i));
        const std::string view = views[i];
        connect(item, &QAction::triggered, this, [this, view] { FillResults(view); });
    }
    m_mnuPopup->addSeparator();
    QAction* save = m_mnuPopup->addAction(QStringLiteral("Save &List As..."));
    save->setObjectName(QStringLiteral("mnuSaveList"));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    // The list holds the action too, so Ctrl+S works wherever the list has the focus.
    save->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(save);
    connect(save, &QAction::triggered, this, &ResultsView::SaveListAs);
}

void ResultsView::FillResults(const std::string& view)
{
    m_filling = true;
    clear();
    emit cleanCountChanged(QString());
    m_shown = TidyViewOf(view);
    if (m_links) {
        for (const ReportRow& row : ViewReportRows(*m_links, view))
            AddRow(row);
    }
    m_filling = false;
    // The keyboard starts on the first row; nothing is highlighted until the user moves.
    if (topLevelItemCount() > 0)
        selectionModel()->setCurrentIndex(indexFromItem(topLevelItem(0)), QItemSelectionModel::NoUpdate);
    const bool folders = m_shown == TidyView::EmptyFolders;
    emit cleanCountChanged((folders ? QStringLiteral("%1 folder(s)") : QStringLiteral("%1 bookmarks(s)"))
                               .arg(topLevelItemCount()));
    if (topLevelItemCount() == 0) {
        const char* const none = m_shown == TidyView::None ? "There are no bookmarks to clean."
                                 : folders                 ? "There are no empty folders."
                                                           : "There are no duplicates.";
        ShowMessage(std::string(none) + "\r\n\r\n"
                    "Right-click on the results (or press the Menu key) to show other display options.",
                    MsgIcon::Information);
    }
}

void ResultsView::AddRow(const ReportRow& report)
{
    auto* row = new ResultRow(this);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setText(ColBookmark, ToQt(std::string(report.name)));
    row->setCheckState(ColBookmark, report.clean ? Qt::Checked : Qt::Unchecked);
    row->setIcon(ColBookmark, RowIcon(style(), report.icon));
    row->setText(ColStatus, ToQt(std::string(report.status)));
    row->setTextAlignment(ColStatus, Qt::AlignCenter);
    row->setText(ColResult, ToQt(report.result));
    row->setText(ColStatusCode, QString::number(report.code));
    row->setText(ColID, QString::number(report.id));
    row->setText(ColFolder, ToQt(std::string(report.folder)));
}

void ResultsView::ItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_filling || column != ColBookmark || !m_links)
        return;
    const bool ticked = item->checkState(ColBookmark) == Qt::Checked;
    if (m_shown != TidyView::None) {
        if (bool* tick = m_links->Tidying().Tick(m_shown, item->text(ColID).toInt()))
            *tick = ticked;
    } else if (const BookmarkPtr bookmark = BookmarkOf(item)) {
        bookmark->Clean = ticked;
    }
}

void ResultsView::UncheckAll()
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->checkState(ColBookmark) == Qt::Checked)
            topLevelItem(i)->setCheckState(ColBookmark, Qt::Unchecked);  // writes through
    }
}

// Nothing when the collection was reloaded under the list; the next fill shows the truth.
BookmarkPtr ResultsView::BookmarkOf(const QTreeWidgetItem* item) const
{
    // A folder's row holds a folder's number, which may be some bookmark's too.
    if (!m_links || !item || m_shown == TidyView::EmptyFolders)
        return nullptr;
    const std::string id = item->text(ColID).toStdString();
    const BookmarksPtr bookmarks = m_links->Bookmarks();
    return bookmarks->KeyExists(id) ? bookmarks->Item(id) : nullptr;
}

std::string ResultsView::UrlOf(const QTreeWidgetItem* item) const
{
    const BookmarkPtr bookmark = BookmarkOf(item);
    return bookmark ? bookmark->url : std::string();
}

void ResultsView::OpenRow(const QTreeWidgetItem* item, AddressFor address)
{
    const std::string target = address(UrlOf(item));
    if (!target.empty())
        OpenWithShell(target);
}

void ResultsView::OpenSelected(AddressFor address)
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected())
            OpenRow(topLevelItem(i), address);
    }
}

void ResultsView::ShowSelectedInBrowser()
{
    OpenSelected(BrowsableAddress);
}

void ResultsView::ShowSelectedInArchive()
{
    OpenSelected(WebArchiveAddress);
}

std::vector<ReportRow> ResultsView::ShownRows() const
{
    std::unordered_map<std::int32_t, ReportRow> tidyRows;  // by id, while a tidy list is shown
    if (m_shown != TidyView::None && m_links) {
        for (ReportRow& row : TidyReportRows(m_links->Tidying(), m_shown))
            tidyRows.emplace(row.id, std::move(row));
    }
    std::vector<ReportRow> shown;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = topLevelItem(i);
        if (m_shown == TidyView::None) {
            if (const BookmarkPtr bookmark = BookmarkOf(item))
                shown.push_back(MakeReportRow(*bookmark));
        } else if (const auto row = tidyRows.find(item->text(ColID).toInt()); row != tidyRows.end()) {
            shown.push_back(row->second);
        }
    }
    return shown;
}

void ResultsView::SaveListAs()
{
    cCommonDialog dialog = cCommonDialog::ForUserFiles(window(), "Save List As",
                                                       cCommonDialog::kExplorer | cCommonDialog::kOverwritePrompt);
    dialog.SetFilter("CSV files (*.csv)|*.csv|Web pages (*.html,*.htm)|*.html;*.htm");
    dialog.SetDefaultExt("csv");
    if (dialog.ShowSave() <= 0)
        return;
    const std::string path = dialog.Filename();
    const std::vector<ReportRow> rows = ShownRows();
    const bool page = IEndsWith(path, ".html") || IEndsWith(path, ".htm");
    const Outcome<> saved = ReplaceFileAtomically(path, page ? ResultsPage(rows) : CsvReport(rows));
    if (!saved)
        ShowMessage("The list could not be saved.\r\n\r\n" + saved.Reason(), MsgIcon::Exclamation);
}

void ResultsView::HeaderClicked(int column)
{
    m_sortArrowToggle = !m_sortArrowToggle;
    const QIcon arrow = style()->standardIcon(m_sortArrowToggle ? QStyle::SP_ArrowDown : QStyle::SP_ArrowUp);
    for (int header = ColBookmark; header <= ColID; ++header)
        headerItem()->setIcon(header, header == column ? arrow : QIcon());
    sortItems(column, m_sortArrowToggle ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ResultsView::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        m_mnuPopup->popup(event->globalPosition().toPoint());
}

void ResultsView::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    if (enter) {
        // Taken here, so that it does not go on to press the window's Next as well.
        OpenRow(currentItem(), BrowsableAddress);
    } else if (event->key() == Qt::Key_Menu || shiftF10) {
        PopupAtCurrentRow();
    } else {
        QTreeWidget::keyPressEvent(event);
    }
}

void ResultsView::contextMenuEvent(QContextMenuEvent* event)
{
    // Desktops that turn the Menu key into a context-menu request of their own.
    if (event->reason() == QContextMenuEvent::Keyboard)
        PopupAtCurrentRow();
    else
        event->ignore();  // the right-button press has shown it already
}

void ResultsView::PopupAtCurrentRow()
{
    if (m_mnuPopup->isVisible())
        return;
    QTreeWidgetItem* row = currentItem();
    if (row && selectedItems().isEmpty())
        row->setSelected(true);  // so "Show in Browser" acts on the row the keyboard is on
    const QRect area = row ? visualItemRect(row) : QRect();
    m_mnuPopup->popup(viewport()->mapToGlobal(area.isValid() ? area.bottomLeft() : QPoint()));
}

void ResultsView::mouseMoveEvent(QMouseEvent* event)
{
    setToolTip(ToQt(UrlOf(itemAt(event->position().toPoint()))));
    QTreeWidget::mouseMoveEvent(event);
}

}  // namespace brimtor
