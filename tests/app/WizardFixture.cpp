#include "tests/app/WizardFixture.hpp"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ResultsView.hpp"
#include "support/modRegistry.hpp"
#include "support/ui/cCommonDialog.hpp"

namespace brimtor::test {

WizardFixture::WizardFixture()
{
    previousFlags = SetConnectionFlagsSource([] { return ConnectionFlag::Lan; });
    WriteSetting(kSettingsKey, "TestSites", Url("/"));
}

WizardFixture::~WizardFixture()
{
    Close();
    SetConnectionFlagsSource(previousFlags);
}

frmMain& WizardFixture::Open(const std::vector<SourceKind>& kinds)
{
    frmMainTimings timings;
    timings.scan = {5, 5, 20};
    timings.testSiteLimit = std::chrono::milliseconds(2000);
    window = std::make_unique<frmMain>(timings, kinds);
    window->show();
    return *window;
}

void WizardFixture::Close()
{
    if (window)
        window->close();
    window.reset();
}

void WizardFixture::Click(const char* buttonName) const
{
    auto* button = Find<QPushButton>(buttonName);
    ASSERT_TRUE(button) << buttonName;
    ASSERT_TRUE(button->isEnabled()) << buttonName;
    QTest::mouseClick(button, Qt::LeftButton);
}

void WizardFixture::ChooseSource(int option) const
{
    auto* choice = window->findChild<QRadioButton*>(QStringLiteral("optBrowser_%1").arg(option));
    ASSERT_TRUE(choice);
    ASSERT_TRUE(choice->isEnabled());
    QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
    ASSERT_TRUE(choice->isChecked());
}

std::string WizardFixture::Url(const std::string& path) const
{
    return server.Url(path);
}

void WizardFixture::LoadTextFile(const std::vector<std::string>& lines)
{
    const std::string path = home.WriteLines("links.txt", lines);
    Click("cmdNext");
    ChooseSource(3);
    Find<QLineEdit>("txtFile")->setText(QString::fromStdString(path));
    Click("cmdNext");
}

void WizardFixture::Scan()
{
    Click("cmdNext");
    Click("cmdScan");
    auto* next = Find<QPushButton>("cmdNext");
    ASSERT_TRUE(QTest::qWaitFor([next] { return next->isEnabled(); }, 30000));
}

void WizardFixture::SaveAllRows(const std::string& path)
{
    auto* list = Find<ResultsView>("lvResults");
    list->PopupMenu()->findChild<QAction*>("mnuShow_0")->trigger();  // All Bookmarks
    list->setFocus();
    cCommonDialog::SetNextAnswer({path});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
}

std::string CommandOutput(QStringList arguments)
{
    QProcess process;
    process.start(BRIMTOR_CHECK_PATH, arguments << "--no-connection-check" << "--pace" << "0");
    EXPECT_TRUE(QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 30000));
    return process.readAllStandardOutput().toStdString();
}

}  // namespace brimtor::test
