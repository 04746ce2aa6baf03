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

TEST(XP_ProgressBarMath, ColoursWorkPerChannelAndHalvesRoundToEven)
{
    EXPECT_EQ(Lighten(0x00BFB4B2, 150), 0x00E4E0DFu);  // channel * 105 \ 255 + 150
    EXPECT_EQ(Darken(0x00BFB4B2, 200), 0x00968D8Cu);
    EXPECT_EQ(Blend(0x0000FF, 0xFF0000, 0), 0x00FF0000u);
    // 255 / 6 = 42.5 per line: 42.5 -> 42, 127.5 -> 128; no lines, no step.
    EXPECT_EQ(GradientColor(0, 0x0000FF, 6, 1), 0x0000002Au);
    EXPECT_EQ(GradientColor(0, 0x0000FF, 6, 3), 0x00000080u);
    EXPECT_EQ(GradientColor(0x123456, 0xFFFFFF, 0, 0), 0x00123456u);
}

TEST(XP_ProgressBarMath, PercentOfTheRangeAndBackWithItsErrors)
{
    EXPECT_EQ(PercentFromValue(1, 0, 8), 12);  // 12.5
    EXPECT_EQ(PercentFromValue(3, 0, 8), 38);  // 37.5
    EXPECT_EQ(PercentFromValue(5, 10, 50), 20);
    EXPECT_EQ(PercentFromValue(200, 0, 100), 200);  // lowered only when drawn
    EXPECT_EQ(ValueFromPercent(50, 0, 5), 2);  // 2.5
    EXPECT_EQ(ValueFromPercent(50, 2, 100), 25);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(5, 0, 0); }), kDivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(21474837, 0, 100); }), kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(-21474837, 0, 100); }), kOverflow);
    EXPECT_EQ(BarRight(100, -10, 8), 3);  // below empty: the first block still shows
}
