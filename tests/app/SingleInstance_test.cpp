#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "app/SingleInstance.hpp"
#include "tests/common/TempHome.hpp"

using brimtor::test::TempHome;

TEST(SingleInstance, ASecondProgramEndsAtOnceWhileTheFirstRuns)
{
    TempHome home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(BRIMTOR_EXECUTABLE, {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&home] { return std::filesystem::exists(home / "run/brimtor.lock"); }, 10000));

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(BRIMTOR_EXECUTABLE, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    first.waitForFinished(5000);
}

TEST(SingleInstance, ALaterStartAsksTheFirstToShowItself)
{
    TempHome home;
    brimtor::SingleInstance first;
    ASSERT_TRUE(first.Claim());
    QSignalSpy shown(&first, &brimtor::SingleInstance::showRequested);
    brimtor::SingleInstance later;
    EXPECT_FALSE(later.Claim());
    EXPECT_TRUE(shown.wait(5000));
}
