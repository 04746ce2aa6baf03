#include "app/WizardPages.hpp"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>

#include "app/ClickableLabel.hpp"
#include "app/Maker.hpp"
#include "app/ResultsView.hpp"
#include "app/Twips.hpp"
#include "app/WizardLayout.hpp"
#include "bookmarks/SourceKinds.hpp"
#include "support/Version.hpp"
#include "support/ui/XP_ProgressBar.hpp"

namespace brimtor {

namespace {

// Design sizes, in twips.
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kHeaderHeight = 840;
constexpr int kTextHeight = 285;

template <typename W>
W* Named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

void Place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(TwipsToPixels(widget, left), TwipsToPixels(widget, top),
                        TwipsToPixels(widget, width), TwipsToPixels(widget, height));
}

QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(label, left, top, width, height);
    return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                       int width = kButtonWidth)
{
    auto* button = Named(new QPushButton(caption, parent), QLatin1String(name));
    Place(button, left, top, width, kButtonHeight);
    return button;
}

QLineEdit* AddTextBox(QWidget* parent, const char* name, const QString& text, int left, int top,
                      int width)
{
    auto* box = Named(new QLineEdit(text, parent), QLatin1String(name));
    Place(box, left, top, width, kTextHeight + 30);
    return box;
}

// The page's step number: large in the corner of the small pages; the scan and results pages
// fill the window, so theirs sits smaller beside their first row of controls.
void AddStepNumber(QWidget* page, int index)
{
    auto* step = Named(new QLabel(QString::number(index + 1), page), QStringLiteral("lblStep_%1").arg(index));
    step->setStyleSheet(QStringLiteral("color: #4a6ea9;"));
    QFont font = step->font();
    font.setBold(true);
    const bool bigPage = index == 3 || index == 4;
    font.setPointSize(bigPage ? font.pointSize() + 2 : font.pointSize() * 3);
    step->setFont(font);
    if (index == 3)
        Place(step, 1600, 900, 400, 300);
    else if (index == 4)
        Place(step, 3200, 3020, 400, 300);
    else
        Place(step, 120, 60, 600, 700);
}

QWidget* AddPage(QWidget* surface, WizardControls& c, int index, const QString& heading)
{
    auto* page = Named(new QWidget(surface), QStringLiteral("picPage_%1").arg(index));
    c.picPage[static_cast<std::size_t>(index)] = page;
    AddStepNumber(page, index);
    if (!heading.isEmpty()) {
        QLabel* title = AddLabel(page, heading, 840, 120, 6900, 600);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
    }
    return page;
}

void BuildHeader(QWidget* surface, WizardControls& c)
{
    c.picHeader = Named(new QWidget(surface), QStringLiteral("picHeader"));
    c.picHeader->setAutoFillBackground(true);
    QPalette palette = c.picHeader->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    c.picHeader->setPalette(palette);
    Place(c.picHeader, 0, 0, 8040, kHeaderHeight - 15);
    QLabel* title = AddLabel(c.picHeader, QStringLiteral("Clean your Internet Explorer,  Firefox or Netscape bookmarks"),
                             240, 120, 6600, 300);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    AddLabel(c.picHeader, QStringLiteral(" Favorite / Bookmark Cleaner"), 360, 420, 6000, 300);
    c.imgIcon = Named(new QLabel(c.picHeader), QStringLiteral("imgIcon"));
    c.imgIcon->setPixmap(surface->style()->standardIcon(QStyle::SP_DialogResetButton).pixmap(32, 32));
    c.imgIcon->setAccessibleName(QString::fromLatin1(kProgramTitle));
    Place(c.imgIcon, 7320, 180, 480, 480);
    c.sepOne = Named(new QFrame(surface), QStringLiteral("sepOne"));
    c.sepOne->setFrameShape(QFrame::HLine);
    c.sepOne->setFrameShadow(QFrame::Sunken);
    Place(c.sepOne, -150, kHeaderHeight - 30, 8340, 30);
}

void BuildWelcomePage(QWidget* surface, WizardControls& c)
{
    QWidget* page = AddPage(surface, c, 0, {});
    AddLabel(page, QStringLiteral("This wizard will guide you through the process of cleaning up your Favorites / Bookmarks."),
             840, 360, 4800, 1200);
    auto* picture = Named(new QLabel(page), QStringLiteral("imgWelcome"));
    picture->setPixmap(page->style()->standardIcon(QStyle::SP_DirHomeIcon).pixmap(96, 96));
    picture->setAccessibleName(QStringLiteral("Bookmarks"));
    Place(picture, 6000, 600, 1500, 1500);
}

WizardControls::FileBox AddFileBox(QWidget* page, const FileChoice& file, int top)
{
    const WizardControls::FileBox added {
        AddTextBox(page, file.boxName, QString::fromLatin1(kFilePlaceholder), 3240, top, 4080),
        AddButton(page, file.browseName, QStringLiteral("..."), 7380, top, 420)};
    added.box->setEnabled(false);
    added.browse->setEnabled(false);
    // The box has no label of its own and the button only "...": a screen reader needs words.
    const QString what = QString::fromLatin1(file.what);
    added.box->setAccessibleName(what);
    added.box->setAccessibleDescription(QString::fromLatin1(file.description));
    added.browse->setAccessibleName(QStringLiteral("Browse for a ") + what.toLower());
    return added;
}

void BuildSourcePage(QWidget* surface, WizardControls& c, const std::vector<SourceKind>& kinds)
{
    QWidget* page = AddPage(surface, c, 1, QStringLiteral("Select your bookmark / favorites source:"));
    const QString tip = QStringLiteral("A text file containing a list of URLs (carriage return after each)");
    const auto rowTop = [](const SourceKind& kind) { return kSourceRowTop + kind.code * kSourceRowPitch; };
    for (const SourceKind& kind : kinds) {
        auto* option = Named(new QRadioButton(QString::fromLatin1(kind.caption), page),
                             QStringLiteral("optBrowser_%1").arg(kind.code));
        QFont bold = option->font();
        bold.setBold(true);
        option->setFont(bold);
        // A browser's option waits until the window has looked for the browser.
        option->setEnabled(kind.file != nullptr);
        if (kind.file)
            option->setToolTip(tip);
        // An option beside its file box stops short of the box; the others may use the width.
        Place(option, 960, rowTop(kind), kind.file ? 2200 : 3600, 360);
        c.optBrowser.push_back(option);
    }
    c.optBrowser[0]->setChecked(true);
    // After every option, so Tab goes from the chosen option to its box.
    c.fileBoxes.resize(kinds.size());
    for (const SourceKind& kind : kinds) {
        if (kind.file)
            c.fileBoxes[static_cast<std::size_t>(kind.code)] = AddFileBox(page, *kind.file, rowTop(kind));
    }
}

void BuildProxyPage(QWidget* surface, WizardControls& c)
{
    QWidget* page = AddPage(surface, c, 2, {});
    auto* frame = Named(new QGroupBox(page), QStringLiteral("fraProxy"));
    Place(frame, 840, 240, 6900, 2280);
    c.chkUseProxy = Named(new QCheckBox(QStringLiteral("U&se Proxy"), frame), QStringLiteral("chkUseProxy"));
    Place(c.chkUseProxy, 240, 120, 2400, 330);
    struct Row {
        QLabel*& label;
        const char* labelName;
        const char* caption;
        QLineEdit*& box;
        const char* boxName;
        int left, top, labelWidth, boxWidth;
    };
    const Row rows[] = {
        {c.Label13, "Label13", "Proxy Ser&ver: ", c.txtProxyServer, "txtProxyServer", 240, 600, 1500, 3000},
        {c.Label14, "Label14", "Port:", c.txtProxyPort, "txtProxyPort", 4860, 600, 600, 1000},
        {c.Label10, "Label10", "Us&er name:", c.txtProxyUserName, "txtProxyUserName", 240, 1140, 1500, 3000},
        {c.Label8, "Label8", "P&assword:", c.txtProxyPassword, "txtProxyPassword", 240, 1620, 1500, 3000},
    };
    for (const Row& row : rows) {
        row.box = AddTextBox(frame, row.boxName, {}, row.left + row.labelWidth, row.top, row.boxWidth);
        row.label = Named(AddLabel(frame, QString::fromLatin1(row.caption), row.left, row.top + 45, row.labelWidth, kTextHeight),
                          QLatin1String(row.labelName));
        row.label->setBuddy(row.box);
        row.label->setEnabled(false);
        row.box->setEnabled(false);
    }
    c.txtProxyServer->setText(QString::fromLatin1(kServerPlaceholder));
    c.txtProxyPassword->setEchoMode(QLineEdit::Password);
    AddLabel(page, QStringLiteral("Check if a Proxy Server is being used.  Check the 'Use Proxy' box and complete all appropriate fields."),
             840, 2700, 6900, 700);
}

void BuildScanPage(QWidget* surface, WizardControls& c)
{
    QWidget* page = AddPage(surface, c, 3, {});
    c.pb = Named(new XP_ProgressBar(page), QStringLiteral("pb"));
    c.pb->SetColor(0x00BFB4B2);
    QFont small = c.pb->font();
    small.setPointSizeF(8.25);
    c.pb->SetFont(small);
    Place(c.pb, 220, 120, 7480, 300);
    c.pb->setAccessibleName(QStringLiteral("Scan progress"));
    c.lblStatus = Named(AddLabel(page, QStringLiteral("Status"), 220, 480, 4800, kTextHeight), QStringLiteral("lblStatus"));
    c.lblResponse = Named(AddLabel(page, QStringLiteral("...idle state"), 5300, 480, 2400, kTextHeight),
                          QStringLiteral("lblResponse"));
    c.lblResponse->setAlignment(Qt::AlignRight | Qt::AlignTop);
    c.lblResponse->hide();  // until a scan has something under way to report
    c.cmdDetails = AddButton(page, "cmdDetails", QStringLiteral("Details"), 220, 840);
    c.lbDetails = Named(new QListWidget(page), QStringLiteral("lbDetails"));
    Place(c.lbDetails, 220, 1215, 7480, 1800);
    c.lbDetails->setAccessibleName(QStringLiteral("Details"));
    c.lbDetails->setAccessibleDescription(QStringLiteral("Each link's request and answer as the scan goes"));
    c.cmdScan = AddButton(page, "cmdScan", QStringLiteral("&Scan Now"), 6485, 3115);
    c.cmdPause = AddButton(page, "cmdPause", QStringLiteral("Pause"), 5170, 3115);
    c.cmdPause->setEnabled(false);
    c.spnLanes = Named(new QSpinBox(page), QStringLiteral("spnLanes"));
    c.spnLanes->setRange(1, 32);
    c.spnLanes->setValue(8);
    Place(c.spnLanes, 4370, 3145, 700, kTextHeight + 30);
    c.lblLanes = Named(AddLabel(page, QStringLiteral("Links at a time:"), 2710, 3160, 1600, kTextHeight),
                       QStringLiteral("lblLanes"));
    c.lblLanes->setAlignment(Qt::AlignRight | Qt::AlignTop);
    c.lblLanes->setBuddy(c.spnLanes);
    c.chkLookInside = Named(new QCheckBox(QStringLiteral("&Look inside pages that answer"), page),
                            QStringLiteral("chkLookInside"));
    c.chkLookInside->setChecked(true);
    c.chkLookInside->setToolTip(QStringLiteral("Also find pages that answer but are dead: parked domains, "
                                               "\"not found\" pages, links sent to the home page"));
    c.chkLookInside->adjustSize();  // the window places it, at its own size
}

void BuildResultsPage(QWidget* surface, WizardControls& c)
{
    QWidget* page = AddPage(surface, c, 4, {});
    c.lvResults = Named(new ResultsView(page), QStringLiteral("lvResults"));
    Place(c.lvResults, 50, 0, 7800, 3000);
    c.lvResults->setAccessibleName(QStringLiteral("Results"));
    c.lvResults->setAccessibleDescription(
        QStringLiteral("Ticked bookmarks are removed by Clean; Space ticks, Enter opens, the Menu key shows more views"));
    c.lblCleanCount = Named(AddLabel(page, {}, 50, 3020, 3000, kTextHeight), QStringLiteral("lblCleanCount"));
    c.cmdClean = AddButton(page, "cmdClean", QStringLiteral("Clean"), 6635, 3060);
}

void BuildFinishPage(QWidget* surface, WizardControls& c)
{
    QWidget* page = AddPage(surface, c, 5, QStringLiteral("Thank you for using Brimtor"));
    AddLabel(page, QStringLiteral("Email:"), 840, 960, 700, kTextHeight);
    auto* email = Named(new ClickableLabel(QString::fromLatin1(maker::kSupportAddress), page), QStringLiteral("lblEmail"));
    email->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
    email->setAccessibleDescription(QStringLiteral("Write an e-mail to the maker"));
    Place(email, 1560, 960, 4000, kTextHeight);
    c.lblEmail = email;
    AddLabel(page, QStringLiteral("If you would like to provide some feedback to use to making this a better application I would appreciate it."),
             840, 1500, 6600, 900);
}

void BuildButtonBand(QWidget* surface, WizardControls& c)
{
    c.Frame1 = Named(new QFrame(surface), QStringLiteral("Frame1"));
    c.Frame1->setFrameShape(QFrame::StyledPanel);
    Place(c.Frame1, -120, 5000, 8160, 1125);
    QLabel* maker = Named(AddLabel(c.Frame1, QString::fromLatin1(maker::kName), 240, 180, 1500, kTextHeight),
                          QStringLiteral("lblMaker"));
    maker->setEnabled(false);
    c.cmdDonation = AddButton(surface, "cmdDonation", QStringLiteral("Donationware"), 1000, 5300, 1500);
    c.cmdBack = AddButton(surface, "cmdBack", QStringLiteral("< &Back"), 3300, 5300);
    c.cmdNext = AddButton(surface, "cmdNext", QStringLiteral("&Next >"), 4600, 5300);
    c.cmdCancel = AddButton(surface, "cmdCancel", QStringLiteral("E&xit"), 6700, 5300);
}

// Tab walks the shown page's controls in the order they were built, then the button band; the
// hidden pages drop out by themselves. Enter on a focused button presses that button, as in a
// dialog; anywhere else the window gives it to Next.
void SetKeyboardOrder(const WizardControls& c)
{
    QList<QWidget*> order;
    for (QWidget* page : c.picPage) {
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (w->focusPolicy() & Qt::TabFocus)
                order << w;
        }
    }
    order << c.cmdDonation << c.cmdBack << c.cmdNext << c.cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    for (QWidget* w : order) {
        if (auto* button = qobject_cast<QPushButton*>(w))
            button->setAutoDefault(true);
    }
}

}  // namespace

WizardControls BuildWizard(QWidget* surface, const std::vector<SourceKind>& kinds)
{
    WizardControls c;
    BuildButtonBand(surface, c);  // first, so it lies under the buttons it frames
    BuildHeader(surface, c);
    BuildWelcomePage(surface, c);
    BuildSourcePage(surface, c, kinds);
    BuildProxyPage(surface, c);
    BuildScanPage(surface, c);
    BuildResultsPage(surface, c);
    BuildFinishPage(surface, c);
    for (QPushButton* button : {c.cmdDonation, c.cmdBack, c.cmdNext, c.cmdCancel})
        button->raise();
    SetKeyboardOrder(c);
    return c;
}

}  // namespace brimtor
