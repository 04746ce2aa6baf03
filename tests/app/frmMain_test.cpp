#include <filesystem>

#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ClickableLabel.hpp"
#include "app/QtSeams.hpp"
#include "app/Twips.hpp"
#include "app/frmAbout.hpp"
#include "app/frmBackup.hpp"
#include "app/frmDonation.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/ErrorLogFile.hpp"
#include "support/MainSettings.hpp"
#include "support/modRegistry.hpp"
#include "support/ui/XP_ProgressBar.hpp"
#include "support/ui/cCommonDialog.hpp"
#include "tests/app/WizardFixture.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

bool PageShown(const WizardFixture& w, int page)
{
    for (int i = 0; i < 6; ++i) {
        auto* p = w.Find<QWidget>(QStringLiteral("picPage_%1").arg(i).toLatin1().constData());
        if (p->isHidden() != (i != page))
            return false;
    }
    return w.window->CurrentPage() == page;
}

}  // namespace

TEST(frmMain, FirstStartWithNoSettingsAndTheProxyBox)
{
    WizardFixture w;
    frmMain& window = w.Open();
    EXPECT_EQ(PixelsToTwips(&window, window.width()), 8040);
    EXPECT_EQ(PixelsToTwips(&window, window.height()), 6030);
    EXPECT_TRUE(PageShown(w, 0));
    // Nothing installed: the text file, never a browser's greyed option.
    EXPECT_TRUE(w.Find<QRadioButton>("optBrowser_3")->isChecked());
    for (const char* name : {"optBrowser_0", "optBrowser_1", "optBrowser_2"})
        EXPECT_FALSE(w.Find<QRadioButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(w.Find<QListWidget>("lbDetails")->isHidden());

    // The proxy box follows the connection mode: off and reported without a proxy.
    auto* box = w.Find<QCheckBox>("chkUseProxy");
    auto* server = w.Find<QLineEdit>("txtProxyServer");
    box->click();
    EXPECT_FALSE(box->isChecked());
    ASSERT_EQ(w.messages.Messages().size(), 1u);
    EXPECT_EQ(w.messages.Messages()[0].title, "Proxy Report");
    EXPECT_EQ(w.messages.Messages()[0].text, "You do not appear to be using a Proxy Server or are currently not "
                                             "connected to the Internet.\r\nPress 'Next' to continue with the cleaning");
    EXPECT_EQ(w.messages.Messages()[0].icon, MsgIcon::Information);
    EXPECT_FALSE(server->isEnabled());
    SetConnectionFlagsSource([] { return ConnectionFlag::Proxy; });
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(server->isEnabled());
    EXPECT_TRUE(w.Find<QLabel>("Label13")->isEnabled());
    EXPECT_EQ(w.messages.Messages().size(), 1u);
}

TEST(frmMain, EmptyOrMissingSourceSaysSoAndReturnsToTheSourcePage)
{
    WizardFixture w;
    w.home.WriteFile("Favorites/notes.txt", "no shortcut");
    w.Open();
    std::vector<bool> painting;
    w.messages.WhenShown([&] { painting.push_back(w.window->updatesEnabled()); });
    w.Click("cmdNext");
    w.ChooseSource(3);
    EXPECT_TRUE(w.Find<QLineEdit>("txtFile")->isEnabled());
    w.Find<QLineEdit>("txtFile")->setText(QString::fromStdString(w.home / "missing.txt"));
    w.Click("cmdNext");
    EXPECT_EQ(w.messages.Texts(), std::vector<std::string>{"No bookmarks or favorites could be found using the selected "
                                                           "source.\r\n\r\nPlease choose a source which yields some bookmarks"});
    EXPECT_EQ(w.messages.Messages()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(PageShown(w, 1));

    w.Find<QLineEdit>("txtFile")->setText(QString::fromStdString(w.home.WriteFile("empty.txt", "")));
    w.Click("cmdNext");
    EXPECT_EQ(w.messages.Messages().size(), 2u);
    EXPECT_TRUE(PageShown(w, 1));
    EXPECT_EQ(painting, (std::vector<bool> {true, true}));  // the window paints behind the box

    // Favorites without a shortcut are an error of their own first.
    w.ChooseSource(0);
    w.Click("cmdNext");
    ASSERT_EQ(w.messages.Messages().size(), 4u);
    EXPECT_EQ(w.messages.Messages()[2].text, "No favorites can be located");
    EXPECT_EQ(w.messages.Messages()[2].title, "Error");
    EXPECT_EQ(w.messages.Messages()[3].text, w.messages.Messages()[0].text);
}

// A seventh kind of source, as a newcomer adds one: its class and its row.
struct StubSource : BookmarkSource {
    bool IsInstalled() const override { return true; }
    LoadOutcome GetBookMarks() override
    {
        auto bookmarks = std::make_shared<cBookmarks>();
        bookmarks->Add("Stub", "http://stub.example/", {}, 1);
        return {bookmarks, {}, {}};
    }
    CleanOutcome CleanUpBookmarks() override { return {}; }
};

TEST(frmMain, ASeventhSourceGetsAnOptionInsideItsPageThatLoadsIt)
{
    std::vector<SourceKind> kinds = SourceKinds();
    kinds.push_back({6, "Stub", "stub", "the stub", nullptr,
                     [](const SourceLocation&) -> std::unique_ptr<BookmarkSource> { return std::make_unique<StubSource>(); }});
    WizardFixture w;
    frmMain& window = w.Open(kinds);
    w.Click("cmdNext");
    const auto* page = w.Find<QWidget>("picPage_1");
    EXPECT_GT(page->y(), w.Find<QWidget>("picHeader")->geometry().bottom());  // the window grew with it
    for (QRadioButton* option : page->findChildren<QRadioButton*>()) {
        EXPECT_TRUE(page->rect().contains(option->geometry())) << option->objectName().toStdString();
        // Nothing covers it: a click on it reaches it.
        EXPECT_EQ(window.childAt(option->mapTo(&window, option->rect().center())), option);
    }
    w.ChooseSource(6);
    w.Click("cmdNext");
    EXPECT_EQ(window.windowTitle(), "Brimtor - 1 links");
}

TEST(frmMain, NavigationButtonsAndCaptionsOnEveryPage)
{
    WizardFixture w;
    w.server.Script("/a", {"HTTP/1.1 200 OK\r\n\r\n"});
    std::vector<std::string> lines(57, w.Url("/a"));
    frmMain& window = w.Open();
    bool painting = false;
    w.messages.WhenShown([&] { painting = w.window->updatesEnabled(); });
    auto* back = w.Find<QPushButton>("cmdBack");
    auto* next = w.Find<QPushButton>("cmdNext");
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    w.LoadTextFile(lines);
    EXPECT_TRUE(PageShown(w, 2));
    EXPECT_EQ(window.windowTitle(), "Brimtor - 57 links");

    w.Click("cmdNext");
    EXPECT_TRUE(PageShown(w, 3));
    EXPECT_FALSE(next->isEnabled());
    EXPECT_EQ(w.Find<XP_ProgressBar>("pb")->max(), 58);
    EXPECT_TRUE(w.Find<QPushButton>("cmdScan")->isEnabled());
    EXPECT_FALSE(w.Find<QPushButton>("cmdPause")->isEnabled());

    // Back and Next again: the log is cleared, the bar reset, nothing reloaded.
    const BookmarksPtr loaded = window.Links().Bookmarks();
    w.Find<QListWidget>("lbDetails")->addItem(QStringLiteral("old line"));
    w.Find<XP_ProgressBar>("pb")->SetValue(30);
    w.Click("cmdBack");
    EXPECT_TRUE(PageShown(w, 2));
    w.Click("cmdNext");
    EXPECT_EQ(w.Find<QListWidget>("lbDetails")->count(), 0);
    EXPECT_EQ(w.Find<XP_ProgressBar>("pb")->Value(), 0);
    EXPECT_EQ(window.Links().Bookmarks(), loaded);

    auto* look = w.Find<QCheckBox>("chkLookInside");
    look->setChecked(false);
    w.Click("cmdScan");
    EXPECT_FALSE(w.Find<QSpinBox>("spnLanes")->isEnabled() || look->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([next] { return next->isEnabled(); }, 30000));
    EXPECT_TRUE(w.Find<QSpinBox>("spnLanes")->isEnabled() && look->isEnabled());
    // Unticked, nothing is looked at: every link answered its HEAD.
    EXPECT_TRUE(std::none_of(w.server.Requests().begin(), w.server.Requests().end(),
                             [](const std::string& head) { return head.rfind("GET /a", 0) == 0; }));
    EXPECT_EQ(next->text(), "&Report");
    EXPECT_TRUE(w.Find<QLabel>("lblStatus")->text().startsWith("scan complete in "));

    // Nothing broken is said over a window that paints.
    w.Click("cmdNext");
    EXPECT_TRUE(PageShown(w, 4));
    ASSERT_EQ(w.messages.Messages().size(), 1u);
    EXPECT_EQ(w.messages.Messages()[0].text.rfind("There are no bookmarks to clean.", 0), 0u);
    EXPECT_TRUE(painting);
}

TEST(frmMain, BrowsingFillsTheBoxAndTheSourceFile)
{
    WizardFixture w;
    w.Open();
    w.Click("cmdNext");
    w.ChooseSource(4);
    const std::string file = w.home.WriteFile("bookmarks.html", "<DL><p>\r\n</DL><p>\r\n");
    cCommonDialog::SetNextAnswer({file});
    w.Click("cmdBrowse2");
    EXPECT_EQ(w.Find<QLineEdit>("txtBookmarkFile")->text().toStdString(), file);
    EXPECT_EQ(w.window->Links().TextFile(), file);

    // A cancelled or vanished choice changes nothing.
    cCommonDialog::SetNextCancel();
    w.Click("cmdBrowse2");
    cCommonDialog::SetNextAnswer({w.home / "gone.html"});
    w.Click("cmdBrowse2");
    EXPECT_EQ(w.window->Links().TextFile(), file);

    // Choosing the other option keeps the path the last browse chose.
    w.ChooseSource(3);
    EXPECT_EQ(w.window->Links().TextFile(), file);
    EXPECT_FALSE(w.Find<QLineEdit>("txtBookmarkFile")->isEnabled());
}

TEST(frmMain, SettingsAreWrittenOnCloseAndRestoredOnStart)
{
    WizardFixture w;
    frmMain& first = w.Open();
    w.Click("cmdNext");
    w.ChooseSource(4);
    w.Find<QLineEdit>("txtProxyPort")->setText("3128");
    w.Find<QSpinBox>("spnLanes")->setValue(7);
    w.Find<QCheckBox>("chkLookInside")->setChecked(false);
    w.Click("cmdNext");  // nothing to load: back on the source page
    w.Click("cmdNext");
    first.resize(TwipsToPixels(&first, 9000), TwipsToPixels(&first, 7500));
    // The header icon keeps its place at the right edge of the widened header.
    const auto* header = w.Find<QWidget>("picHeader");
    const auto* icon = w.Find<QWidget>("imgIcon");
    ASSERT_TRUE(QTest::qWaitFor([&] { return header->width() == first.centralWidget()->width(); }, 5000));
    EXPECT_NEAR(header->width() - icon->x() - icon->width(), TwipsToPixels(&first, 100), 1);
    w.Close();

    const MainSettings saved = ReadMainSettings();
    EXPECT_EQ(saved.ProxyServer, "");  // the placeholder is not a server
    EXPECT_EQ(saved.ShowDetails, 0);
    EXPECT_EQ(saved.Width, 9000);
    EXPECT_EQ(saved.Lanes, 7);
    EXPECT_EQ(saved.LookInside, 0);

    WriteSetting(kSettingsKey, "ShowDetails", "1");
    frmMain& second = w.Open();
    EXPECT_TRUE(w.Find<QRadioButton>("optBrowser_4")->isChecked());
    EXPECT_EQ(w.Find<QLineEdit>("txtProxyPort")->text(), "3128");
    EXPECT_EQ(w.Find<QLineEdit>("txtProxyServer")->text(), "...Server Name");
    EXPECT_FALSE(w.Find<QListWidget>("lbDetails")->isHidden());
    EXPECT_EQ(PixelsToTwips(&second, second.width()), 9000);
    EXPECT_EQ(PixelsToTwips(&second, second.height()), 7500);
    EXPECT_EQ(w.Find<QSpinBox>("spnLanes")->value(), 7);
    EXPECT_FALSE(w.Find<QCheckBox>("chkLookInside")->isChecked());
    w.Close();
    WriteSetting(kSettingsKey, "Lanes", "33");  // out of range: the built-in count stands
    EXPECT_EQ(w.Open().findChild<QSpinBox*>("spnLanes")->value(), 8);
}

namespace {

// The controls under `node` a user acts on or reads that a screen reader could not name in words.
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed)
{
    using A = QAccessible;
    const QString name = node->text(A::Name);
    if (QList<A::Role> {A::PushButton, A::RadioButton, A::CheckBox, A::EditableText, A::List, A::Tree,
                        A::ProgressBar, A::Link, A::SpinBox}.contains(node->role())
        && std::none_of(name.begin(), name.end(), [](QChar c) { return c.isLetter(); }))  // "..." is no name
        unnamed << node->object()->objectName();
    for (int i = 0; i < node->childCount(); ++i)
        CollectUnnamed(node->child(i), unnamed);
}

}  // namespace

TEST(frmMain, ScreenReadersNameEveryControlAndActOnThem)
{
    WizardFixture w;
    frmMain& window = w.Open();
    QStringList unnamed;
    for (QWidget* each : std::initializer_list<QWidget*> {&window, new frmBackup(&window), new frmAbout(&window),
                                                          new frmDonation(&window)})
        CollectUnnamed(QAccessible::queryAccessibleInterface(each), unnamed);
    EXPECT_EQ(unnamed.join(' ').toStdString(), "");

    // A screen reader's toggle chooses the source as a click does.
    w.Click("cmdNext");
    QAccessible::queryAccessibleInterface(w.Find<QRadioButton>("optBrowser_4"))
        ->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(w.Find<QLineEdit>("txtBookmarkFile")->isEnabled());
    EXPECT_EQ(window.Links().SelectedSource(), 4);

    auto* pb = w.Find<XP_ProgressBar>("pb");
    pb->SetMax(10);
    pb->SetValue(5);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(pb);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    QAccessibleValueInterface* value = bar->valueInterface();
    EXPECT_EQ(QVariantList({value->minimumValue(), value->currentValue(), value->maximumValue()}), (QVariantList{0, 5, 10}));

    auto* email = w.Find<ClickableLabel>("lblEmail");
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(email);
    EXPECT_EQ(link->role(), QAccessible::Link);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::keyClick(email, Qt::Key_Space);
    EXPECT_EQ(w.shell.Targets(), std::vector<std::string>(2, "mailto:support@brimtor.example"));
}

TEST(frmMain, TheSocketStateShowsWhileALinkIsUnderWayAndARescanStartsTheDetailsAfresh)
{
    WizardFixture w;
    w.Open();
    // Answered a byte at a time: long enough under way for the state timer to show it.
    w.server.Script("/slow", {"HTTP/1.1 200 OK\r\n\r\n", true});
    w.LoadTextFile({w.Url("/slow")});
    w.Click("cmdNext");
    auto* next = w.Find<QPushButton>("cmdNext");
    auto* response = w.Find<QLabel>("lblResponse");
    auto* details = w.Find<QListWidget>("lbDetails");
    QStringList shown;
    const auto scan = [&] {
        w.Click("cmdScan");
        ASSERT_TRUE(QTest::qWaitFor([&] { shown << response->text(); return next->isEnabled(); }, 30000));
    };
    // Offline, Scan says so and changes nothing.
    WriteSetting(kSettingsKey, "TestSites", RefusedUrl());
    w.Click("cmdScan");
    ASSERT_EQ(w.messages.Messages().size(), 1u);
    const Message offline = w.messages.Messages()[0];
    EXPECT_EQ(offline.text + "|" + offline.title, "You must have a valid internet connection to proceed|Invalid Connection");
    EXPECT_EQ(offline.icon, MsgIcon::Information);
    EXPECT_TRUE(details->count() == 0 && !next->isEnabled());
    WriteSetting(kSettingsKey, "TestSites", w.Url("/"));
    scan();
    shown.removeDuplicates();
    EXPECT_TRUE(shown.contains("Connected")) << shown.join('|').toStdString();
    const int lines = details->count();
    EXPECT_GT(lines, 0);
    scan();
    EXPECT_EQ(details->count(), lines);
}

TEST(frmMain, ARememberedSourceWhoseBrowserIsGoneFallsBackButStaysRememberedAndThePlaceIsKept)
{
    WizardFixture w;
    WriteSetting(kSettingsKey, "SelectedBrowser", "1");
    WriteSetting(kSettingsKey, "BrimtorTop", "600");
    WriteSetting(kSettingsKey, "BrimtorLeft", "1500");
    frmMain& window = w.Open();
    auto* firefox = w.Find<QRadioButton>("optBrowser_1");
    EXPECT_FALSE(firefox->isChecked());
    EXPECT_FALSE(firefox->isEnabled());
    EXPECT_EQ(window.Links().SelectedSource(), SourceCode::TextFile);
    EXPECT_EQ(PixelsToTwips(&window, window.y()), 600);
    EXPECT_EQ(PixelsToTwips(&window, window.x()), 1500);
    w.ChooseSource(4);
    QTest::mouseClick(firefox, Qt::LeftButton, {}, QPoint(8, firefox->height() / 2));
    EXPECT_EQ(window.Links().SelectedSource(), 4);
    window.move(TwipsToPixels(&window, 900), TwipsToPixels(&window, 300));
    w.Close();
    // The user never went on from the page: Firefox is still the one to offer once it is back.
    EXPECT_EQ(ReadSetting(kSettingsKey, "SelectedBrowser", ""), "1");
    EXPECT_EQ(ReadSetting(kSettingsKey, "BrimtorTop", ""), "300");
    EXPECT_EQ(ReadSetting(kSettingsKey, "BrimtorLeft", ""), "900");
}

TEST(frmMain, OnlyAChromiumProfileIsChosenArrowKeysChooseAsTheyMoveAndOnlyNextRemembers)
{
    WizardFixture w;
    w.home.WriteFile(".config/chromium/Default/Bookmarks", "{}");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.Open()));
    w.Click("cmdNext");
    auto* chromium = w.Find<QRadioButton>("optBrowser_5");
    EXPECT_TRUE(chromium->isChecked());
    EXPECT_TRUE(chromium->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), chromium);
    w.Close();
    EXPECT_EQ(ReadSetting(kSettingsKey, "SelectedBrowser", ""), "");  // a first start remembers nothing

    // Firefox comes first; Down passes over Netscape, which is not there.
    w.home.WriteFile(".mozilla/firefox/profiles.ini", "[Profile0]\nPath=p\nDefault=1\n");
    w.home.WriteFile(".mozilla/firefox/p/bookmarks.html", "");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.Open()));
    w.Click("cmdNext");
    EXPECT_TRUE(w.Find<QRadioButton>("optBrowser_1")->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(w.Find<QRadioButton>("optBrowser_3")->isChecked());
    w.Click("cmdNext");  // nothing to load, but the user went on with it
    w.Close();
    EXPECT_EQ(ReadSetting(kSettingsKey, "SelectedBrowser", ""), "3");
}

TEST(ErrorLogFile, AnUnwritableLogIsReportedOncePerEntryNeverThrown)
{
    TempHome home;
    InstallErrorLogFile();
    MessageRecorder messages;
    WriteSetting(kSettingsKey, "logging", "True");
    std::filesystem::create_directories(ErrorLogPath());  // a folder where the file should be
    EXPECT_NO_THROW(LogError("modMain: OpenEmail", 5, "x"));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"There was an error in creating an error log entry"});
    EXPECT_EQ(messages.Messages()[0].title, "Log Error");
    SetErrorLogSink({});
}
