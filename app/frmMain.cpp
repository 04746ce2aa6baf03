#include "app/frmMain.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include "app/ClickableLabel.hpp"
#include "app/Maker.hpp"
#include "app/ResultsView.hpp"
#include "app/ShortList.hpp"
#include "app/Twips.hpp"
#include "app/WizardLayout.hpp"
#include "app/frmAbout.hpp"
#include "app/frmBackup.hpp"
#include "app/frmDonation.hpp"
#include "bookmarks/SourceChoice.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "engine/CNetConnect.hpp"
#include "engine/ProxyBox.hpp"
#include "support/MainSettings.hpp"
#include "support/MessageBox.hpp"
#include "support/Shell.hpp"
#include "support/Text.hpp"
#include "support/modFileFunctions.hpp"
#include "support/ui/LocalText.hpp"
#include "support/ui/XP_ProgressBar.hpp"
#include "support/ui/cCommonDialog.hpp"

namespace brimtor {

namespace {

constexpr int kBuiltInWidth = 8040;   // twips
constexpr int kBuiltInHeight = 6030;

// "2 favorite(s) could not be removed:" and the first few of them, each with its reason.
std::string NotRemovedText(const std::vector<std::string>& failures)
{
    return ShortList(std::to_string(failures.size()) + " favorite(s) could not be removed:", failures);
}

// "Bookmarks could not be cleaned at this time", and why when the source says it in the window.
std::string NotCleanedText(const CleanOutcome& outcome)
{
    std::string text = "Bookmarks could not be cleaned at this time";
    if (!outcome.reason.empty() && !outcome.reasonUnshown)
        text += "\r\n\r\n" + outcome.reason;
    return text;
}

// Selects a text box's whole text whenever it takes the focus, so typing replaces it.
class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* box = static_cast<QLineEdit*>(watched);
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
        return false;
    }
};

// Where the keyboard starts on a page: its first control that can take the focus, or the
// chosen option of a group of options.
QWidget* FirstControl(const QWidget* page)
{
    QWidget* first = nullptr;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(page))
            continue;
        const auto* option = qobject_cast<QRadioButton*>(w);
        if (option && option->isChecked())
            return w;
        if (!first)
            first = w;
    }
    return first;
}

}  // namespace

frmMain::frmMain(frmMainTimings timings, const std::vector<SourceKind>& kinds, QWidget* parent)
    : QMainWindow(parent)
    , m_timings(timings)
    , m_kinds(kinds)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    auto* surface = new QWidget(this);
    surface->setObjectName(QStringLiteral("surface"));
    setCentralWidget(surface);
    m_c = BuildWizard(surface, m_kinds);
    BuildMenus();

    m_links = std::make_unique<cLinkMain>(m_kinds);
    m_c.lvResults->SetLinkMain(m_links.get());
    ScanView& scanPage = *this;
    m_driver = std::make_unique<cScanDriver>(*m_links, scanPage, m_timings.scan);
    m_driver->SetConnectionCheck([this] { return UserConnection(m_timings.testSiteLimit).Connected(); });
    m_driver->SetProxySource([this] {
        return ProxySettings {m_c.chkUseProxy->isChecked(), FromQt(m_c.txtProxyServer->text()),
                              FromQt(m_c.txtProxyPort->text()), FromQt(m_c.txtProxyUserName->text()),
                              FromQt(m_c.txtProxyPassword->text())};
    });
    m_driver->SetLaneSource([this] { return m_c.spnLanes->value(); });
    m_driver->SetLookSource([this] { return m_c.chkLookInside->isChecked(); });
    m_proxyBox = std::make_unique<ProxyBox>([this] { return UserConnection(m_timings.testSiteLimit).ConnectMode(); },
                                            [this] { m_c.chkUseProxy->setChecked(false); });
    ConnectControls();
    Form_Load();
}

frmMain::~frmMain()
{
    Form_Unload();
}

void frmMain::BuildMenus()
{
    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    QAction* backups = tools->addAction(QStringLiteral("View &Bookmark Backups"));
    backups->setObjectName(QStringLiteral("mnuViewBackups"));
    backups->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(backups, &QAction::triggered, this, &frmMain::ShowBackups);

    QMenu* about = menuBar()->addMenu(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    QAction* site = about->addAction(QStringLiteral("&Quorv's Website"));
    site->setObjectName(QStringLiteral("mnuQuorv"));
    connect(site, &QAction::triggered, this, [] { OpenWithShell(maker::kWebSite); });
    about->addSeparator();
    QAction* donate = about->addAction(QStringLiteral("Donationware"));
    donate->setObjectName(QStringLiteral("mnuDonate"));
    connect(donate, &QAction::triggered, this, &frmMain::ShowDonation);
    QAction* brimtor = about->addAction(QStringLiteral("&Brimtor"));
    brimtor->setObjectName(QStringLiteral("mnuBrimtor"));
    connect(brimtor, &QAction::triggered, this, &frmMain::ShowAbout);
}

void frmMain::ConnectControls()
{
    connect(m_c.cmdNext, &QPushButton::clicked, this, &frmMain::cmdNext_Click);
    connect(m_c.cmdBack, &QPushButton::clicked, this, &frmMain::cmdBack_Click);
    connect(m_c.cmdCancel, &QPushButton::clicked, this, [] { QApplication::closeAllWindows(); });
    connect(m_c.cmdDonation, &QPushButton::clicked, this, &frmMain::ShowDonation);
    // Whoever checks an option (a click, an arrow key, a screen reader's toggle) chooses its source.
    for (std::size_t i = 0; i < m_c.optBrowser.size(); ++i) {
        connect(m_c.optBrowser[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                optBrowser_Click(static_cast<int>(i));
        });
    }
    for (const SourceKind& kind : m_kinds) {
        const auto code = static_cast<std::size_t>(kind.code);
        const WizardControls::FileBox& file = m_c.fileBoxes[code];
        if (!kind.file)
            continue;
        connect(file.browse, &QPushButton::clicked, this, [this, code] { Browse(code); });
        if (kind.file->typingNamesFile) {
            connect(file.box, &QLineEdit::textChanged, this, [this, box = file.box](const QString& text) {
                m_links->SetTextFile(FromQt(text));
                box->setToolTip(text);
            });
        }
    }
    connect(m_c.chkUseProxy, &QCheckBox::toggled, this, &frmMain::chkUseProxy_Click);
    m_c.txtProxyServer->installEventFilter(new SelectAllOnFocus(m_c.txtProxyServer));
    connect(m_c.cmdDetails, &QPushButton::clicked, this,
            [this] { m_c.lbDetails->setVisible(m_c.lbDetails->isHidden()); });
    connect(m_c.cmdScan, &QPushButton::clicked, this, &frmMain::cmdScan_Click);
    connect(m_c.cmdPause, &QPushButton::clicked, m_driver.get(), &cScanDriver::cmdPause_Click);
    // The scan took the keyboard's button away; Enter now goes on to the report.
    connect(m_driver.get(), &cScanDriver::ScanCompleted, m_c.cmdNext, [this] { m_c.cmdNext->setFocus(); });
    connect(m_c.cmdClean, &QPushButton::clicked, this, &frmMain::cmdClean_Click);
    connect(m_c.lvResults, &ResultsView::cleanCountChanged, m_c.lblCleanCount, &QLabel::setText);
    connect(m_c.lblEmail, &ClickableLabel::clicked, this, [] { OpenEmail(); });
}

// The window's start: built-in size, welcome page, then whatever the settings remember. Each
// step stands on its own; a stored value that makes no sense leaves that step's default.
void frmMain::Form_Load()
{
    // A table with more sources than the built-in page holds makes the page, and the window, taller.
    const int extraHeight = SmallPageHeight(static_cast<int>(m_kinds.size())) - kSmallPageHeight;
    resize(TwipsToPixels(this, kBuiltInWidth), TwipsToPixels(this, kBuiltInHeight + extraHeight));
    m_CurrentPage = 0;
    ShowPage();
    const MainSettings settings = ReadMainSettings();
    if (settings.ShowDetails)
        m_c.lbDetails->setVisible(*settings.ShowDetails == 1);
    m_rememberedSource = settings.SelectedBrowser;
    m_c.txtProxyPort->setText(ToQt(settings.ProxyPort));
    m_c.txtProxyServer->setText(settings.ProxyServer.empty() ? QString::fromLatin1(kServerPlaceholder)
                                                             : ToQt(settings.ProxyServer));
    if (settings.Height && *settings.Height > -1)
        resize(width(), TwipsToPixels(this, *settings.Height));
    if (settings.Width && *settings.Width > -1)
        resize(TwipsToPixels(this, *settings.Width), height());
    if (settings.Top && *settings.Top > -1)
        move(x(), TwipsToPixels(this, *settings.Top));
    if (settings.Left && *settings.Left > -1)
        move(TwipsToPixels(this, *settings.Left), y());
    if (settings.Lanes && *settings.Lanes >= m_c.spnLanes->minimum() && *settings.Lanes <= m_c.spnLanes->maximum())
        m_c.spnLanes->setValue(*settings.Lanes);
    if (settings.LookInside)
        m_c.chkLookInside->setChecked(*settings.LookInside != 0);
    for (const SourceKind& kind : m_kinds) {
        if (kind.file)
            continue;
        const BookmarkSource& source = *m_links->Source(kind.code);
        QRadioButton* option = m_c.optBrowser[static_cast<std::size_t>(kind.code)];
        option->setEnabled(source.IsInstalled());
        option->setToolTip(ToQt(source.FoundWhere()));
    }
    // The page starts on an option the user can choose: Next then loads something, and the
    // arrow keys choose as they move, which they do only from a checked option.
    const auto choosable = [this](std::int32_t code) {
        return FindSourceKind(code, m_kinds) && m_c.optBrowser[static_cast<std::size_t>(code)]->isEnabled();
    };
    const std::int32_t chosen = ChoosableSource(m_rememberedSource.value_or(SourceCode::Favorites), choosable);
    m_c.optBrowser[static_cast<std::size_t>(chosen)]->setChecked(true);
    optBrowser_Click(chosen);
}

// The window's end: remember the choices, stop the scan, let the bookmarks go.
void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    MainSettings settings;
    settings.SelectedBrowser = m_rememberedSource;
    const QString server = m_c.txtProxyServer->text();
    settings.ProxyServer =
        IEquals(FromQt(server), kServerPlaceholder) ? std::string() : FromQt(server);
    settings.ProxyPort = FromQt(m_c.txtProxyPort->text());
    settings.ShowDetails = m_c.lbDetails->isHidden() ? 0 : 1;
    settings.Height = PixelsToTwips(this, height());
    settings.Width = PixelsToTwips(this, width());
    settings.Top = PixelsToTwips(this, y());
    settings.Left = PixelsToTwips(this, x());
    settings.Lanes = m_c.spnLanes->value();
    settings.LookInside = m_c.chkLookInside->isChecked() ? 1 : 0;
    WriteMainSettings(settings);
    m_driver->StopTimers();
    m_links->ClearAllBookmarks();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    QApplication::closeAllWindows();
    event->accept();
}

void frmMain::ShowPage()
{
    for (std::size_t i = 0; i < m_c.picPage.size(); ++i)
        m_c.picPage[i]->setVisible(static_cast<int>(i) == m_CurrentPage);
    m_c.cmdBack->setEnabled(m_CurrentPage > 0);
    m_c.cmdNext->setEnabled(m_CurrentPage < 5);
    if (m_CurrentPage >= 2 && m_CurrentPage <= 4)
        m_c.cmdNext->setText(QStringLiteral("&Next >"));
    if (QWidget* first = FirstControl(m_c.picPage[static_cast<std::size_t>(m_CurrentPage)]))
        first->setFocus(Qt::TabFocusReason);
    else if (m_c.cmdNext->isEnabled())
        m_c.cmdNext->setFocus(Qt::TabFocusReason);
}

// Enter that no control took presses Next, as in a wizard; Escape has nothing to cancel here.
void frmMain::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_c.cmdNext->isEnabled() && m_c.cmdNext->isVisible())
        m_c.cmdNext->click();
    else
        QMainWindow::keyPressEvent(event);
}

void frmMain::cmdNext_Click()
{
    // The pages swap in one repaint. Drawing is on again before the page's entry step, which
    // may show a message that the window behind it must paint around.
    setUpdatesEnabled(false);
    if (m_CurrentPage < 5) {
        ++m_CurrentPage;
        ShowPage();
    }
    setUpdatesEnabled(true);
    switch (m_CurrentPage) {
    case 2:
        EnterSourceLoad();
        break;
    case 3:
        EnterScanPage();
        break;
    case 4:
        m_c.lvResults->FillResults("Broken");
        break;
    default:
        break;
    }
}

void frmMain::cmdBack_Click()
{
    if (m_CurrentPage > 0) {
        --m_CurrentPage;
        ShowPage();
    }
}

void frmMain::EnterSourceLoad()
{
    // The user went on with this source: the next start offers it again.
    m_rememberedSource = m_links->SelectedSource();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LoadOutcome loaded = m_links->Refresh();
    QApplication::restoreOverrideCursor();
    if (!loaded.note.empty()) {
        ShowMessage(loaded.note, MsgIcon::Information, MsgButtons::Ok,
                    loaded.bookmarks ? kProgramTitle : "Error");
    }
    const std::int32_t count = m_links->Bookmarks()->Count();
    if (count == 0) {
        ShowMessage(AboutSource("No bookmarks or favorites could be found using the selected source.\r\n\r\n"
                                "Please choose a source which yields some bookmarks"),
                    MsgIcon::Critical);
        cmdBack_Click();
        setWindowTitle(QString::fromLatin1(kProgramTitle));
    } else {
        setWindowTitle(QStringLiteral("Brimtor - %1 links").arg(count));
    }
}

void frmMain::EnterScanPage()
{
    m_c.lbDetails->clear();
    m_c.cmdScan->setEnabled(true);
    m_c.cmdNext->setEnabled(false);
    m_c.pb->SetMin(0);
    m_c.pb->SetMax(m_links->Bookmarks()->Count() + 1);
    m_c.pb->SetValue(0);
}

void frmMain::optBrowser_Click(int index)
{
    for (std::size_t code = 0; code < m_c.fileBoxes.size(); ++code) {
        const WizardControls::FileBox& file = m_c.fileBoxes[code];
        if (file.box) {
            file.box->setEnabled(static_cast<int>(code) == index);
            file.browse->setEnabled(static_cast<int>(code) == index);
        }
    }
    m_links->SetSelectedSource(index);
}

void frmMain::Browse(std::size_t code)
{
    const FileChoice& file = *m_kinds[code].file;
    cCommonDialog dialog = cCommonDialog::ForUserFiles(this, file.dialogTitle,
                                                       cCommonDialog::kExplorer | cCommonDialog::kOverwritePrompt);
    dialog.SetDefaultExt(file.defaultExt);
    dialog.SetFilter(file.filter);
    const std::string name = dialog.ShowOpen() > 0 ? dialog.Filename() : std::string();
    if (!FileExists(name))
        return;
    m_c.fileBoxes[code].box->setText(ToQt(name));
    m_links->SetTextFile(name);
}

void frmMain::chkUseProxy_Click(bool ticked)
{
    const ProxyBox::Answer answer = m_proxyBox->chkUseProxy_Click(ticked);
    if (answer.noProxy) {
        ShowMessage("You do not appear to be using a Proxy Server or are currently not connected to "
                    "the Internet.\r\nPress 'Next' to continue with the cleaning",
                    MsgIcon::Information, MsgButtons::Ok, "Proxy Report");
    }
    if (!answer.panelEnabled)
        return;
    for (QWidget* w : std::initializer_list<QWidget*> {m_c.Label8, m_c.Label14, m_c.Label10, m_c.Label13,
                                                       m_c.txtProxyServer, m_c.txtProxyPort,
                                                       m_c.txtProxyUserName, m_c.txtProxyPassword})
        w->setEnabled(*answer.panelEnabled);
}

void frmMain::cmdScan_Click()
{
    if (!m_driver->cmdScan_Click())
        ShowMessage("You must have a valid internet connection to proceed", MsgIcon::Information,
                    MsgButtons::Ok, "Invalid Connection");
}

void frmMain::cmdClean_Click()
{
    m_c.cmdClean->setEnabled(false);
    m_c.cmdNext->setEnabled(false);
    m_c.cmdBack->setEnabled(false);
    const MsgAnswer answer = ShowMessage(
        AboutSource("All selected bookmarks will be removed. This process can not be "
                    "undone are you sure you want to continue?"),
        MsgIcon::None, MsgButtons::YesNo, "Confirm Cleaning");
    if (answer == MsgAnswer::Yes && !CleanAndReport()) {
        // Some of the marked bookmarks are still in the source, and the user knows which and
        // why: the results stay, to try again or go back.
        m_c.cmdClean->setEnabled(true);
        m_c.cmdNext->setEnabled(true);
        m_c.cmdBack->setEnabled(true);
        return;
    }
    m_c.cmdBack->setEnabled(true);
    m_c.cmdClean->setEnabled(true);
    cmdNext_Click();
}

bool frmMain::CleanAndReport()
{
    // The view shown says what goes: the links ticked anywhere, or the ticked duplicates or folders.
    const CleanOutcome outcome = m_links->CleanChosenSource(m_c.lvResults->ShownList());
    switch (outcome.result) {
    case CleanResult::BrowserRunning:
        ShowMessage(AboutSource(outcome.reason), MsgIcon::Exclamation);
        return false;
    case CleanResult::Failed:
        ShowMessage(AboutSource(NotCleanedText(outcome)), MsgIcon::Information);
        return false;
    case CleanResult::NoSuchSource:
        ShowMessage("Selected bookmark browser type could not be cleaned", MsgIcon::Critical);
        break;
    case CleanResult::Cleaned:
        break;
    }
    m_c.cmdNext->setText(QStringLiteral("&Finish"));
    ShowMessage(AboutSource("Cleaning process has completed"), MsgIcon::Information);
    if (outcome.failures.empty())
        return true;
    ShowMessage(NotRemovedText(outcome.failures), MsgIcon::Exclamation);
    return false;
}

// A browser source is named by its profile folder: with several installs about, the user must
// see which one is read and cleaned.
std::string frmMain::AboutSource(const std::string& text)
{
    const std::string profile = m_links->ChosenSourceWhere();
    return profile.empty() ? text : text + "\r\n\r\n" + profile;
}

// The backup and donation windows exist once: asking again brings the open one forward.
template <typename Window>
static void ShowSingle(QPointer<Window>& window, QWidget* owner)
{
    if (!window) {
        window = new Window(owner);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void frmMain::ShowBackups()
{
    ShowSingle(m_backup, this);
}

void frmMain::ShowDonation()
{
    ShowSingle(m_donation, this);
}

void frmMain::ShowAbout()
{
    frmAbout about(this);
    about.exec();
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    ApplyLayout();
}

void frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ApplyLayout();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        ApplyLayout();
}

void frmMain::ApplyLayout()
{
    if (isMinimized())
        return;
    const auto tw = [this](int pixels) { return PixelsToTwips(this, pixels); };
    const auto px = [this](int twips) { return TwipsToPixels(this, twips); };
    const QWidget* surface = centralWidget();
    // The header spans the window, so it takes the new width before the icon is placed on it.
    m_c.picHeader->resize(surface->width(), m_c.picHeader->height());
    WizardLayoutInput in;
    in.clientWidth = tw(surface->width());
    in.clientHeight = tw(surface->height());
    in.sourceRows = static_cast<int>(m_c.optBrowser.size());
    in.outerWidth = tw(frameGeometry().width());
    in.frame1Height = tw(m_c.Frame1->height());
    in.headerWidth = tw(m_c.picHeader->width());
    in.iconWidth = tw(m_c.imgIcon->width());
    in.buttonHeight = tw(m_c.cmdCancel->height());
    in.cancelWidth = tw(m_c.cmdCancel->width());
    in.nextWidth = tw(m_c.cmdNext->width());
    in.backWidth = tw(m_c.cmdBack->width());
    in.donationWidth = tw(m_c.cmdDonation->width());
    in.responseWidth = tw(m_c.lblResponse->width());
    in.detailsTop = tw(m_c.cmdDetails->y());
    in.detailsHeight = tw(m_c.cmdDetails->height());
    in.scanWidth = tw(m_c.cmdScan->width());
    in.scanHeight = tw(m_c.cmdScan->height());
    in.pauseWidth = tw(m_c.cmdPause->width());
    in.lanesWidth = tw(m_c.spnLanes->width());
    in.lanesHeight = tw(m_c.spnLanes->height());
    in.lanesLabelWidth = tw(m_c.lblLanes->width());
    in.lanesLabelHeight = tw(m_c.lblLanes->height());
    in.lookInsideWidth = tw(m_c.chkLookInside->width());
    in.lookInsideHeight = tw(m_c.chkLookInside->height());
    in.cleanWidth = tw(m_c.cmdClean->width());
    in.cleanHeight = tw(m_c.cmdClean->height());
    in.otherColumnsWidth = tw(m_c.lvResults->columnWidth(1) + m_c.lvResults->columnWidth(2)
                               + m_c.lvResults->columnWidth(3));
    const WizardLayout l = LayOutWizard(in);

    const auto place = [&px](QWidget* w, const TwipRect& r) {
        w->setGeometry(px(r.left), px(r.top), std::max(0, px(r.width)), std::max(0, px(r.height)));
    };
    for (std::size_t i : {0u, 1u, 2u, 5u})
        place(m_c.picPage[i], l.smallPage);
    place(m_c.picPage[3], l.bigPage);
    place(m_c.picPage[4], l.bigPage);

    m_c.pb->resize(std::max(0, px(l.progressWidth)), m_c.pb->height());
    m_c.lblResponse->move(px(l.responseLeft), m_c.lblResponse->y());
    m_c.lbDetails->resize(std::max(0, px(l.detailsListWidth)), std::max(0, px(l.detailsListHeight)));
    m_c.cmdScan->move(px(l.scanLeft), px(l.scanTop));
    m_c.cmdPause->move(px(l.pauseLeft), px(l.scanTop));
    m_c.spnLanes->move(px(l.lanes.left), px(l.lanes.top));
    m_c.lblLanes->move(px(l.lanesLabel.left), px(l.lanesLabel.top));
    m_c.chkLookInside->move(px(l.lookInside.left), px(l.lookInside.top));

    m_c.lvResults->resize(std::max(0, px(l.resultsWidth)), std::max(0, px(l.resultsHeight)));
    m_c.lblCleanCount->move(m_c.lblCleanCount->x(), m_c.lvResults->y() + px(l.cleanCountTop));
    if (auto* step = m_c.picPage[4]->findChild<QLabel*>(QStringLiteral("lblStep_4")))
        step->move(step->x(), m_c.lblCleanCount->y());
    m_c.cmdClean->move(m_c.lvResults->x() + px(l.cleanLeft), m_c.lvResults->y() + px(l.cleanTop));
    m_c.lvResults->setColumnWidth(0, std::max(0, px(l.firstColumnWidth)));

    m_c.sepOne->resize(std::max(0, px(l.separatorWidth)), m_c.sepOne->height());
    m_c.imgIcon->move(px(l.iconLeft), m_c.imgIcon->y());

    const int top = px(l.buttonTop);
    m_c.cmdCancel->move(px(l.cancelLeft), top);
    m_c.cmdNext->move(px(l.nextLeft), top);
    m_c.cmdBack->move(px(l.backLeft), top);
    m_c.cmdDonation->move(px(l.donationLeft), top);
    place(m_c.Frame1, l.frame1);
}

// The scan page, as the scan driver sees it.

void frmMain::SetStatus(const std::string& text)
{
    m_c.lblStatus->setText(ToQt(text));
}

void frmMain::SetResponse(const std::string& text)
{
    m_c.lblResponse->setText(ToQt(text));
}

void frmMain::ShowResponse()
{
    m_c.lblResponse->setVisible(true);
}

bool frmMain::DetailsShown() const
{
    return !m_c.lbDetails->isHidden();
}

void frmMain::ClearDetails()
{
    m_c.lbDetails->clear();
}

void frmMain::AppendDetail(const std::string& line)
{
    m_c.lbDetails->addItem(ToQt(line));
}

int frmMain::DetailCount() const
{
    return m_c.lbDetails->count();
}

void frmMain::RemoveDetail(int index)
{
    delete m_c.lbDetails->takeItem(index);
}

void frmMain::SelectLastDetail()
{
    m_c.lbDetails->setCurrentRow(m_c.lbDetails->count() - 1);
}

void frmMain::SetProgress(int value)
{
    m_c.pb->SetValue(value);
}

int frmMain::ProgressMax() const
{
    return m_c.pb->max();
}

QPushButton* frmMain::ScanPageButton(ScanButton button) const
{
    QPushButton* const buttons[] = {m_c.cmdScan, m_c.cmdPause, m_c.cmdNext, m_c.cmdBack, m_c.cmdCancel};
    return buttons[static_cast<int>(button)];
}

void frmMain::EnableButton(ScanButton button, bool enabled)
{
    ScanPageButton(button)->setEnabled(enabled);
    // Back is held from a scan's start to its end, paused or not; so are the lane count and the look.
    if (button == ScanButton::Back) {
        m_c.spnLanes->setEnabled(enabled);
        m_c.lblLanes->setEnabled(enabled);
        m_c.chkLookInside->setEnabled(enabled);
    }
}

void frmMain::SetCaption(ScanButton button, const std::string& caption)
{
    ScanPageButton(button)->setText(ToQt(caption));
}

void frmMain::Flash()
{
    QApplication::alert(this);
}

}  // namespace brimtor
