#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/Maker.hpp"
#include "app/frmAbout.hpp"
#include "app/frmDonation.hpp"
#include "support/Version.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

TEST(frmAbout, TheVersionShowsTheAddressOpensMailAndDonationOpensTheDonationWindowModally)
{
    TempHome home;
    ShellRecorder shell;
    frmAbout about;
    EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Brimtor Version: ") + kVersionText);
    QTest::mouseClick(about.findChild<QLabel*>("lblEmail"), Qt::LeftButton);
    EXPECT_EQ(shell.Targets(), std::vector<std::string>{"mailto:support@brimtor.example"});
    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto* donation = qobject_cast<frmDonation*>(QApplication::activeModalWidget());
        seen = donation != nullptr;
        if (donation)
            donation->close();
    });
    QTest::mouseClick(about.findChild<QPushButton*>("cmdDonation"), Qt::LeftButton);
    EXPECT_TRUE(seen);
}

TEST(frmAbout, CreditsClimbWrapAndHide)
{
    EXPECT_TRUE(ScrollCredit(2049).visible);
    EXPECT_FALSE(ScrollCredit(2050).visible);

    frmAbout about(nullptr, 5);
    about.SetCreditTop(0, 30);
    auto* line = about.findChild<QLabel*>("Label1_1");
    about.show();
    // Any top well below the bottom means it wrapped: a busy machine may run several ticks
    // between two looks, so no single top is sure to be seen.
    ASSERT_TRUE(QTest::qWaitFor([&about] { return about.CreditTops()[0] > 2500; }, 5000));
    EXPECT_TRUE(line->isHidden());
    // The others kept their spacing while the first one wrapped.
    EXPECT_EQ(about.CreditTops()[2] - about.CreditTops()[1], 400);
}

TEST(frmDonation, EveryLinkOpensTheSameCheckoutAddress)
{
    ShellRecorder shell;
    frmDonation donation;
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(donation.findChild<QLabel*>(QStringLiteral("Label4_%1").arg(i)), Qt::LeftButton);
    const std::string expected =
        "https://payments.example/cgi-bin/webscr?cmd=_xclick&business=donations%40brimtor%2eexample"
        "&item_name=Donationware%20Software%20Brimtor&no_shipping=0&no_note=1&tax=0"
        "&currency_code=USD&charset=UTF%2d8&charset=UTF%2d8";
    EXPECT_EQ(shell.Targets(), (std::vector<std::string>{expected, expected, expected}));
}
