#include "app/frmBackup.hpp"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Icons.hpp"
#include "app/ShortList.hpp"
#include "bookmarks/BackupList.hpp"
#include "bookmarks/BackupRestore.hpp"
#include "support/ErrorLog.hpp"
#include "support/MessageBox.hpp"
#include "support/NumberedError.hpp"
#include "support/Shell.hpp"
#include "support/modFileFunctions.hpp"
#include "support/ui/LocalText.hpp"
#include "support/ui/cCommonDialog.hpp"

namespace brimtor {

namespace {

QIcon ImageFor(BackupImage image)
{
    switch (image) {
    case BackupImage::Netscape: return BrowserIcon(QLatin1Char('N'), QColor(0, 102, 153));
    case BackupImage::Firefox: return BrowserIcon(QLatin1Char('F'), QColor(230, 96, 0));
    case BackupImage::None: break;
    }
    return {};
}

// "Restored 3 bookmark(s) from NAME.", with the shortcuts kept as they were; or why not.
std::string RestoredText(const std::string& name, const RestoreOutcome& outcome)
{
    if (!outcome)
        return name + " was not put back: " + outcome.Reason();
    const std::string text = "Restored " + std::to_string(outcome->bookmarks) + " bookmark(s) from " + name + ".";
    if (outcome->notRestored.empty())
        return text;
    return ShortList(text + "\r\n\r\n" + std::to_string(outcome->notRestored.size()) + " shortcut(s) were not put back:",
                     outcome->notRestored);
}

// The place an old backup goes back to, picked by the user: a file, or a Favorites folder.
bool ChooseTarget(BackupRestore& restore, const std::string& name, QWidget* owner)
{
    cCommonDialog dialog = cCommonDialog::ForUserFiles(owner, "Where was " + name + " taken from?",
                                                       cCommonDialog::kExplorer);
    dialog.SetFilter("All Files (*.*)|*.*");
    if (restore.TargetIsFolder() ? dialog.Browse() == 0 : dialog.ShowOpen() <= 0)
        return false;
    restore.SetTarget(restore.TargetIsFolder() ? dialog.path() : dialog.Filename());
    return true;
}

// Enter on the list opens the row the keyboard is on, as a double-click would, and goes no
// further: the window's default button must never see it.
class EnterViews : public QObject {
public:
    EnterViews(QListWidget* list, frmBackup* window) : QObject(list), m_list(list), m_window(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        if (QListWidgetItem* row = m_list->currentItem())
            m_list->setCurrentItem(row);  // highlights it too
        m_window->ViewSelected();
        return true;
    }

private:
    QListWidget* m_list;
    frmBackup* m_window;
};

}  // namespace

frmBackup::frmBackup(QWidget* parent)
    : QDialog(parent)
    , m_lvArchive(new QListWidget(this))
    , m_mnuPopup(new QMenu(QStringLiteral("Popup"), this))
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Backups"));

    m_lvArchive->setObjectName(QStringLiteral("lvArchive"));
    m_lvArchive->setAccessibleName(QStringLiteral("Backup files"));
    m_lvArchive->setAccessibleDescription(
        QStringLiteral("Ticked files are deleted by Clean; Enter opens the highlighted one and Restore puts it back"));
    m_lvArchive->installEventFilter(new EnterViews(m_lvArchive, this));
    m_lvArchive->setContextMenuPolicy(Qt::CustomContextMenu);
    m_mnuPopup->setObjectName(QStringLiteral("mnuPopup"));
    QAction* view = m_mnuPopup->addAction(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("mnuView"));
    connect(view, &QAction::triggered, this, &frmBackup::ViewSelected);
    m_mnuRestore = m_mnuPopup->addAction(QStringLiteral("Restore"));
    m_mnuRestore->setObjectName(QStringLiteral("mnuRestore"));
    connect(m_mnuRestore, &QAction::triggered, this, &frmBackup::RestoreSelected);
    connect(m_lvArchive, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_mnuPopup->popup(m_lvArchive->viewport()->mapToGlobal(at)); });
    connect(m_lvArchive, &QListWidget::itemDoubleClicked, this, &frmBackup::ViewSelected);

    auto* clean = new QPushButton(QStringLiteral("Clean"), this);
    clean->setObjectName(QStringLiteral("cmdOK"));
    clean->setAutoDefault(false);
    connect(clean, &QPushButton::clicked, this, &frmBackup::cmdOK_Click);
    m_cmdRestore = new QPushButton(QStringLiteral("Restore"), this);
    m_cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    m_cmdRestore->setAutoDefault(false);
    connect(m_cmdRestore, &QPushButton::clicked, this, &frmBackup::RestoreSelected);
    connect(m_lvArchive, &QListWidget::itemSelectionChanged, this, &frmBackup::EnableRestore);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("cmdCancel"));
    // Enter closes the window; deleting takes a deliberate press of "Clean".
    done->setDefault(true);
    connect(done, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("Selected items will be removed permanently"), this), 1);
    buttons->addWidget(clean);
    buttons->addWidget(m_cmdRestore);
    buttons->addWidget(done);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(" Files:"), this));
    layout->addWidget(m_lvArchive, 1);
    layout->addWidget(new QLabel(
        QStringLiteral("Double-click or right-click to view the contents of the backup file."), this));
    layout->addLayout(buttons);
    resize(480, 360);

    LoadDisplay();
    CheckAll();
    EnableRestore();
}

void frmBackup::LoadDisplay()
{
    m_lvArchive->clear();
    m_paths.clear();
    LogFailure("frmBackup: LoadDisplay", [this] {
        for (const BackupEntry& entry : ListBackups()) {
            auto* row = new QListWidgetItem(ImageFor(entry.image),
                                            ToQt(entry.name), m_lvArchive);
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(Qt::Unchecked);
            m_paths.push_back(entry.path);
        }
    });
}

void frmBackup::CheckAll()
{
    for (int i = 0; i < m_lvArchive->count(); ++i)
        m_lvArchive->item(i)->setCheckState(Qt::Checked);
}

void frmBackup::CleanSelected()
{
    std::vector<std::string> checked;
    for (int i = 0; i < m_lvArchive->count(); ++i) {
        if (m_lvArchive->item(i)->checkState() == Qt::Checked)
            checked.push_back(m_paths.at(static_cast<std::size_t>(i)));
    }
    if (!checked.empty()
        && ShowMessage("Delete " + std::to_string(checked.size()) + " backup file(s)? This cannot be undone.",
                       MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    const Outcome<> deleted = DeleteBackups(checked);
    if (!deleted) {
        LogError("frmBackup: CleanSelected", ErrorNumber::PermissionDenied, deleted.Reason());
        return;
    }
    LoadDisplay();
}

void frmBackup::cmdOK_Click()
{
    LogFailure("frmBackup: cmdOK_Click", [this] { CleanSelected(); });
}

std::string frmBackup::SelectedPath() const
{
    const QListWidgetItem* row = m_lvArchive->currentItem();
    if (!row || !row->isSelected())
        return {};
    return m_paths.at(static_cast<std::size_t>(m_lvArchive->row(row)));
}

void frmBackup::ViewSelected()
{
    const std::string path = SelectedPath();
    if (!path.empty())
        OpenWithShell(path);
}

void frmBackup::EnableRestore()
{
    const bool one = m_lvArchive->selectedItems().size() == 1;
    m_cmdRestore->setEnabled(one);
    m_mnuRestore->setEnabled(one);
}

void frmBackup::RestoreSelected()
{
    const std::string path = SelectedPath();
    if (path.empty())
        return;
    const std::string name = GetFileName(path);
    BackupRestore restore(path);
    if (restore.Known() && restore.Target().empty() && !ChooseTarget(restore, name, this))
        return;
    if (restore.Known() && ShowMessage(restore.Question(), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    const RestoreOutcome outcome = restore.Restore();
    ShowMessage(RestoredText(name, outcome), outcome ? MsgIcon::Information : MsgIcon::Exclamation);
    LoadDisplay();  // the copy of what was replaced is a backup too
}

}  // namespace brimtor
