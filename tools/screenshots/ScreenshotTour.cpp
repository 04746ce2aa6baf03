// Saves a picture of every wizard page, with a real scan against a server on 127.0.0.1, and of
// the backup, about and donation windows. Run it through scripts/screenshots.sh, which gives it
// a throw-away home.
#include <cstdio>
#include <fstream>
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/frmAbout.hpp"
#include "app/frmBackup.hpp"
#include "app/frmDonation.hpp"
#include "app/ResultsView.hpp"
#include "app/frmMain.hpp"
#include "engine/ConnectionFlags.hpp"
#include "support/FileIo.hpp"
#include "support/MessageBox.hpp"
#include "support/modRegistry.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/net/LoopbackServer.hpp"

using namespace brimtor;

namespace {

QString gFolder;

void SavePicture(const QPixmap& picture, const char* name)
{
    const QString path = gFolder + "/" + name + ".png";
    if (!picture.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

void Save(QWidget* window, const char* name)
{
    window->show();
    QTest::qWait(100);
    SavePicture(window->grab(), name);
}

// The window with its pop-up menus open over it: a menu is a window of its own, so each is drawn
// onto the window's picture where it stands.
void SaveWithMenus(QWidget* window, std::initializer_list<QMenu*> menus, const char* name)
{
    QTest::qWait(100);
    QPixmap picture = window->grab();
    QPainter painter(&picture);
    for (QMenu* menu : menus)
        painter.drawPixmap(window->mapFromGlobal(menu->pos()), menu->grab());
    painter.end();
    SavePicture(picture, name);
}

void Click(QWidget* window, const char* name)
{
    window->findChild<QPushButton*>(QLatin1String(name))->click();
}

std::string Reply(const char* status)
{
    return std::string("HTTP/1.1 ") + status + "\r\n\r\n";
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    gFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(gFolder);
    SetMessageHandler([](const Message&) { return MsgAnswer::Yes; });
    SetConnectionFlagsSource([] { return ConnectionFlag::Lan; });

    test::LoopbackServer server;
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Start());
    WriteSetting(kSettingsKey, "TestSites", base + "/");
    const char* const pages[][2] = {{"/news", "200 OK"},       {"/old-shop", "404 Not Found"},
                                    {"/blog", "301 Moved Permanently\r\nLocation: /journal"},
                                    {"/forum", "410 Gone"},    {"/members", "401 Unauthorized"},
                                    {"/recipes", "200 OK"},    {"/archive", "500 Internal Server Error"}};
    std::string links;
    for (const auto& page : pages) {
        server.Script(page[0], {Reply(page[1]), false, 0, true});
        links += base + page[0] + "\r\n";
    }
    links += "http://127.0.0.1:1/closed-port\r\n";
    links += base + "/recipes\r\n";  // bookmarked twice, for the Duplicates view
    const std::string file = QDir::homePath().toStdString() + "/links.txt";
    WriteFileBytes(file, links);

    frmMainTimings timings;
    timings.scan = {20, 20, 100};
    frmMain window(timings);
    Save(&window, "page1-welcome");
    Click(&window, "cmdNext");
    window.findChild<QRadioButton*>("optBrowser_3")->click();
    window.findChild<QLineEdit*>("txtFile")->setText(QString::fromStdString(file));
    Save(&window, "page2-source");
    Click(&window, "cmdNext");
    Save(&window, "page3-proxy");
    Click(&window, "cmdNext");
    window.findChild<QListWidget*>("lbDetails")->show();
    Click(&window, "cmdScan");
    auto* next = window.findChild<QPushButton*>("cmdNext");
    if (!QTest::qWaitFor([next] { return next->isEnabled(); }, 60000)) {
        std::fprintf(stderr, "the scan did not finish\n");
        return 1;
    }
    Save(&window, "page4-scan");
    Click(&window, "cmdNext");
    Save(&window, "page5-results");
    // The menu of the results, opened from the keyboard on the first broken row.
    auto* results = window.findChild<ResultsView*>("lvResults");
    results->setFocus();
    QTest::keyClick(results, Qt::Key_Down);
    QTest::keyClick(results, Qt::Key_Menu);
    QMenu* menu = results->PopupMenu();
    menu->setActiveAction(menu->findChild<QAction*>("mnuShowArchive"));
    SaveWithMenus(&window, {menu}, "page5-results-menu");
    // The Duplicates view, with the Show menu that offers it.
    menu->setActiveAction(menu->findChild<QMenu*>("mnuShow")->menuAction());
    QTest::keyClick(menu, Qt::Key_Right);
    auto* show = menu->findChild<QMenu*>("mnuShow");
    show->setActiveAction(show->findChild<QAction*>("mnuShow_3"));
    SaveWithMenus(&window, {menu, show}, "page5-results-show");
    show->activeAction()->trigger();
    menu->hide();
    Save(&window, "page5-duplicates");
    menu->findChild<QAction*>("mnuShow_2")->trigger();  // back to the problems, which Clean removes
    Click(&window, "cmdClean");
    Save(&window, "page6-finish");

    frmBackup backups;
    Save(&backups, "window-backups");
    frmAbout about(nullptr, 1000000);
    Save(&about, "window-about");
    frmDonation donation;
    Save(&donation, "window-donation");
    return 0;
}
