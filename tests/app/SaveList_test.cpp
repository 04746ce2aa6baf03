#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ResultsView.hpp"
#include "support/ui/cCommonDialog.hpp"
#include "tests/app/WizardFixture.hpp"

using namespace brimtor;
using namespace brimtor::test;

TEST(SaveList, CtrlSSavesTheViewAsTheCommandsCsvOrAsAPageAndAFailureSaysWhy)
{
    WizardFixture w;
    w.server.Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n"});
    w.server.Script("/login", {"HTTP/1.1 401 Unauthorized\r\n\r\n"});
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.Open()));
    w.LoadTextFile({w.Url("/ok"), w.Url("/gone"), w.Url("/login"), RefusedUrl(), "javascript:alert(1)"});
    w.Scan();
    w.Click("cmdNext");
    w.SaveAllRows(w.home / "all.csv");
    EXPECT_EQ(ReadAll(w.home / "all.csv"), CommandOutput({"--source", "text", QString::fromStdString(w.home / "links.txt"),
                                                          "--view", "all", "--format", "csv"}));

    cCommonDialog::SetNextAnswer({w.home / "all.html"});
    w.Find<ResultsView>("lvResults")->PopupMenu()->findChild<QAction*>("mnuSaveList")->trigger();
    const std::string page = ReadAll(w.home / "all.html");
    const auto count = [&page](const char* part) { return QByteArray::fromStdString(page).count(part); };
    EXPECT_EQ(count("<tr><td>"), 5);
    EXPECT_NE(page.find("<td>Broken</td><td>" + w.Url("/gone") + "</td><td><a href=\"" + w.Url("/gone") + "\">"),
              std::string::npos) << page;
    EXPECT_NE(page.find("<a href=\"https://web.archive.org/web/*/" + w.Url("/gone") + "\">"), std::string::npos);
    EXPECT_EQ(count("javascript:alert(1)"), 2);  // its name and its address, neither a link
    EXPECT_EQ(count("href=\"javascript"), 0);

    cCommonDialog::SetNextAnswer({w.home / "gone/list.csv"});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(w.messages.Messages().size(), 1u);
    EXPECT_EQ(w.messages.Messages()[0].text, "The list could not be saved.\r\n\r\nCannot create a temporary file beside "
                                                  + w.home / "gone/list.csv" + ": No such file or directory");
}
