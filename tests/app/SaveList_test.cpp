#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ResultsView.hpp"
#include "support/ui/cCommonDialog.hpp"
#include "tests/app/WizardFixture.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

// What brimtor-check prints, run to its end while this process's event loop serves the links.
std::string CommandOutput(const std::vector<std::string>& arguments)
{
    QStringList list {"--no-connection-check", "--pace", "0"};
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start(BRIMTOR_CHECK_PATH, list);
    process.closeWriteChannel();
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return process.readAllStandardOutput().toStdString();
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(SaveList, CtrlSSavesTheViewAsTheCommandsCsvOrAsAPageAndAFailureSaysWhy)
{
    WizardFixture w;
    w.server.Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n"});
    w.server.Script("/login", {"HTTP/1.1 401 Unauthorized\r\n\r\n"});
    const std::vector<std::string> links {w.Url("/ok"), w.Url("/gone"), w.Url("/login"), RefusedUrl(),
                                          "javascript:alert(1)"};
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.Open()));
    w.LoadTextFile(links);
    w.Scan();
    w.Click("cmdNext");
    auto* list = w.Find<ResultsView>("lvResults");
    list->PopupMenu()->findChild<QAction*>("mnuShow_0")->trigger();  // All Bookmarks
    list->setFocus();
    cCommonDialog::SetNextAnswer({w.home / "all.csv"});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    const std::string csv = ReadAll(w.home / "all.csv");
    EXPECT_EQ(csv, CommandOutput({"--source", "text", w.home / "links.txt", "--view", "all", "--format", "csv"}));
    EXPECT_EQ(Count(csv, "\n"), links.size() + 1);

    cCommonDialog::SetNextAnswer({w.home / "all.html"});
    list->PopupMenu()->findChild<QAction*>("mnuSaveList")->trigger();
    const std::string page = ReadAll(w.home / "all.html");
    EXPECT_EQ(Count(page, "<tr><td>"), links.size());
    EXPECT_NE(page.find("<td>Broken</td><td>" + w.Url("/gone") + "</td><td><a href=\"" + w.Url("/gone") + "\">"),
              std::string::npos) << page;
    EXPECT_NE(page.find("<a href=\"https://web.archive.org/web/*/" + w.Url("/gone") + "\">"), std::string::npos);
    EXPECT_EQ(Count(page, "javascript:alert(1)"), 2u);  // its name and its address, neither a link
    EXPECT_EQ(Count(page, "href=\"javascript"), 0u);
    EXPECT_TRUE(w.messages.Messages().empty());

    cCommonDialog::SetNextAnswer({w.home / "gone/list.csv"});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(w.messages.Messages().size(), 1u);
    EXPECT_EQ(w.messages.Messages()[0].text, "The list could not be saved.\r\n\r\nCannot create a temporary file beside "
                                                  + w.home / "gone/list.csv" + ": No such file or directory");
}
