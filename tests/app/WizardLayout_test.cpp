#include <gtest/gtest.h>

#include "app/WizardLayout.hpp"

using namespace brimtor;

namespace {

WizardLayoutInput Window(int width, int height)
{
    WizardLayoutInput in;
    in.clientWidth = width;
    in.clientHeight = height;
    in.outerWidth = width + 120;
    in.frame1Height = 1125;
    in.headerWidth = width;
    in.iconWidth = 480;
    in.buttonHeight = 375;
    in.cancelWidth = in.nextWidth = in.backWidth = in.donationWidth = 1215;
    in.responseWidth = 2400;
    in.detailsTop = 600;
    in.detailsHeight = 300;
    in.scanWidth = 1215;
    in.scanHeight = 375;
    in.pauseWidth = 1215;
    in.lanesWidth = 700, in.lanesLabelWidth = 1600;
    in.cleanWidth = 1215;
    in.cleanHeight = 375;
    in.otherColumnsWidth = 1764 + 2822;
    return in;
}

}  // namespace

TEST(WizardLayout, BuiltInSizeCentresTheSmallPagesAndStacksTheButtons)
{
    const WizardLayout l = LayOutWizard(Window(7920, 5340));
    EXPECT_EQ(l.smallPage.left, 3960 - 3967);
    EXPECT_EQ(l.smallPage.top, 2670 - 1837);
    EXPECT_EQ(l.bigPage.top, 840);
    EXPECT_EQ(l.bigPage.height, 5340 - 1125 - 360);

    // Right to left from Cancel; Donation at the end of the chain shows every gap.
    EXPECT_EQ(l.buttonTop, 5340 - 375 - 90);
    EXPECT_EQ(l.cancelLeft, 7920 - 1215 - 100);
    EXPECT_EQ(l.nextLeft, l.cancelLeft - 1215 - 300);
    EXPECT_EQ(l.donationLeft, l.nextLeft - 2 * 1215 - 50 - 1000);
    EXPECT_EQ(l.frame1.left, -120);
    EXPECT_EQ(l.frame1.top, l.buttonTop - 375 + 100);
    EXPECT_EQ(l.frame1.width, 7920 + 120 + 100);
    EXPECT_EQ(l.separatorWidth, 7920 + 120 + 300);
    EXPECT_EQ(l.iconLeft, 7920 - 480 - 100);
}

TEST(WizardLayout, ScanAndResultsPagesGrowWithTheWindow)
{
    const WizardLayout l = LayOutWizard(Window(12000, 9000));
    const int pageHeight = 9000 - 1125 - 360;
    EXPECT_EQ(l.progressWidth, 12000 - 440);
    EXPECT_EQ(l.detailsListWidth, 12000 - 440);
    EXPECT_EQ(l.detailsListHeight, pageHeight - 600 - 300 - 375 - 240);
    EXPECT_EQ(l.responseLeft, 12000 - 2400 - 440);
    EXPECT_EQ(l.scanTop, 600 + 300 + l.detailsListHeight + 100);
    EXPECT_EQ(l.scanLeft + 1215, 220 + l.detailsListWidth);  // right edges line up
    EXPECT_EQ(l.pauseLeft, l.scanLeft - 1215 - 100);
    EXPECT_EQ(l.lanesLabel.left + 1600 + 60 + 700 + 100, l.pauseLeft);  // label, lane count, Pause

    EXPECT_EQ(l.resultsWidth, 12000 - 100);
    EXPECT_EQ(l.resultsHeight, pageHeight - 375 - 250);
    EXPECT_EQ(l.cleanTop, l.resultsHeight + 60);
    EXPECT_EQ(l.cleanLeft + 1215, l.resultsWidth);
    EXPECT_EQ(l.firstColumnWidth, 12000 - 100 - 1764 - 2822 - 500);
}

TEST(WizardLayout, AWindowNarrowerThanThePagesGivesNegativePositionsWithoutError)
{
    const WizardLayout l = LayOutWizard(Window(3000, 1500));
    EXPECT_LT(l.smallPage.left, 0);
    EXPECT_LT(l.smallPage.top, 0);
    EXPECT_LT(l.detailsListHeight, 0);
    EXPECT_LT(l.donationLeft, 0);
    EXPECT_EQ(l.smallPage.width, 7935);
}
