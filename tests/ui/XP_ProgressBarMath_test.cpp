#include <limits>

#include <gtest/gtest.h>

#include "support/NumberedError.hpp"
#include "support/ui/XP_ProgressBarMath.hpp"

using namespace brimtor;
using namespace brimtor::xp;

namespace {

long ErrorNumberOf(void (*call)())
{
    try {
        call();
    } catch (const NumberedError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace

TEST(XP_ProgressBarMath, LightenBlendAndDarkenWorkPerChannel)
{
    // 178, 180, 191 towards white by 150: channel * 105 \ 255 + 150.
    EXPECT_EQ(Lighten(0x00BFB4B2, 150), 0x00E4E0DFu);
    EXPECT_EQ(Lighten(0x000000, 150), 0x00969696u);
    EXPECT_EQ(Lighten(0xFFFFFF, 10), 0x00FFFFFFu);
    EXPECT_EQ(Blend(0xC0C0C0, 0, 255), 0x00C0C0C0u);
    EXPECT_EQ(Blend(0x0000FF, 0xFF0000, 0), 0x00FF0000u);
    // 178 * 200 / 255 = 139.6, 180 -> 141.2, 191 -> 149.8.
    EXPECT_EQ(Darken(0x00BFB4B2, 200), 0x00968D8Cu);
}

TEST(XP_ProgressBarMath, GradientStepsRoundHalvesToEvenAndNoLinesMeansNoStep)
{
    // 255 / 6 = 42.5 per line: 42.5 -> 42, 127.5 -> 128, 212.5 -> 212.
    EXPECT_EQ(GradientColor(0, 0x0000FF, 6, 0), 0x00000000u);
    EXPECT_EQ(GradientColor(0, 0x0000FF, 6, 1), 0x0000002Au);
    EXPECT_EQ(GradientColor(0, 0x0000FF, 6, 3), 0x00000080u);
    EXPECT_EQ(GradientColor(0, 0x0000FF, 6, 5), 0x000000D4u);
    EXPECT_EQ(GradientColor(0, 0xFFFFFF, 6, 6), 0x00FFFFFFu);
    EXPECT_EQ(GradientColor(0xFF0000, 0, 4, 2), 0x00800000u);
    EXPECT_EQ(GradientColor(0x123456, 0xFFFFFF, 0, 0), 0x00123456u);
}

TEST(XP_ProgressBarMath, PercentOfTheRangeAndBack)
{
    EXPECT_EQ(PercentFromValue(50, 0, 100), 50);
    EXPECT_EQ(PercentFromValue(200, 0, 100), 200);  // lowered only when drawn
    EXPECT_EQ(PercentFromValue(1, 0, 3), 33);
    EXPECT_EQ(PercentFromValue(1, 0, 8), 12);  // 12.5
    EXPECT_EQ(PercentFromValue(3, 0, 8), 38);  // 37.5
    EXPECT_EQ(PercentFromValue(5, 10, 50), 20);
    EXPECT_EQ(PercentFromValue(21474836, 0, 100), 21474836);

    EXPECT_EQ(ValueFromPercent(50, 0, 100), 50);
    EXPECT_EQ(ValueFromPercent(25, 0, 200), 50);
    EXPECT_EQ(ValueFromPercent(50, 0, 5), 2);  // 2.5
    EXPECT_EQ(ValueFromPercent(50, 0, 3), 2);  // 1.5
    EXPECT_EQ(ValueFromPercent(50, 2, 100), 25);
}

TEST(XP_ProgressBarMath, ArithmeticErrorsReachTheCaller)
{
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(5, 0, 0); }), kDivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(0, 0, 0); }), kDivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(21474837, 0, 100); }), kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(-21474837, 0, 100); }), kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(21474836, std::numeric_limits<std::int32_t>::max(), 1); }),
              kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { ValueFromPercent(-100, 0, std::numeric_limits<std::int32_t>::min()); }),
              kOverflow);
}

TEST(XP_ProgressBarMath, BarEdgesAreWholeStepsFromTheFixedEnd)
{
    EXPECT_EQ(BarRight(100, 50, 8), 51);  // x = 52, 52 - 49 mod 8
    EXPECT_EQ(BarRight(100, 0, 8), 3);
    EXPECT_EQ(BarRight(100, -10, 8), 3);
    EXPECT_EQ(BarRight(100, 100, 8), 99);  // x = 102
    EXPECT_EQ(BarRight(100, 50, 2), 51);
    EXPECT_EQ(BarTop(20, 50, 8), 12);  // y = 10, 10 - (-10 mod 8)
    EXPECT_EQ(BarTop(20, 0, 8), 20);
    EXPECT_EQ(BarTop(20, 100, 8), 4);  // y = 0
    EXPECT_EQ(BarTop(100, 50, 8), 52);
}
