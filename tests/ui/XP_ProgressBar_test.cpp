#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "support/NumberedError.hpp"
#include "support/ui/SystemColor.hpp"
#include "support/ui/XP_ProgressBar.hpp"
#include "support/ui/XP_ProgressBarMath.hpp"

using namespace brimtor;

namespace {

// The main window's bar colour, a light grey-blue.
constexpr std::uint32_t kBarColor = 0x00BFB4B2;
constexpr std::uint32_t kWhite = 0xFFFFFF;

QImage Picture(XP_ProgressBar& bar)
{
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::uint32_t At(const QImage& image, int x, int y)
{
    return FromQColor(QColor(image.pixel(x, y)));
}

std::unique_ptr<XP_ProgressBar> MakeBar(int width, int height, std::int32_t value)
{
    auto bar = std::make_unique<XP_ProgressBar>();
    bar->resize(width, height);
    bar->SetColor(kBarColor);
    bar->SetValue(value);
    return bar;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

long ErrorNumberOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const NumberedError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace

TEST(XP_ProgressBarMath, PercentOfTheRangeAndBackWithItsErrors)
{
    using namespace xp;
    EXPECT_EQ(PercentFromValue(1, 0, 8), 12);  // 12.5
    EXPECT_EQ(PercentFromValue(3, 0, 8), 38);  // 37.5
    EXPECT_EQ(PercentFromValue(5, 10, 50), 20);
    EXPECT_EQ(ValueFromPercent(50, 0, 5), 2);  // 2.5
    EXPECT_EQ(ValueFromPercent(50, 2, 100), 25);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(21474837, 0, 100); }), kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { PercentFromValue(-21474837, 0, 100); }), kOverflow);
    EXPECT_EQ(BarRight(100, -10, 8), 3);  // below empty: the first block still shows
}

TEST(XP_ProgressBar, BlocksGrowFromTheLeftEnd)
{
    auto bar = MakeBar(100, 20, 50);
    QImage image = Picture(*bar);
    ASSERT_EQ(image.size(), QSize(100, 20));
    // Blocks of six from x = 4, white gaps of two, the bar's right edge at 51 (the last gap
    // whitens 50 and 51).
    for (const int x : {4, 9, 12, 49})
        EXPECT_EQ(At(image, x, 10), kBarColor) << x;
    for (const int x : {3, 10, 11, 50, 51, 52, 97})
        EXPECT_EQ(At(image, x, 10), kWhite) << x;
    // Light at the block's top and bottom rows, the colour in its middle, the frame around.
    EXPECT_EQ(At(image, 5, 3), xp::Lighten(kBarColor, 150));
    EXPECT_EQ(At(image, 5, 16), xp::Lighten(kBarColor, 150));
    EXPECT_EQ(At(image, 10, 0), 0x686868u);

    // An empty bar still shows one block, x 4 … 9; at 100 % the fill stops 4 short.
    bar->SetValue(0);
    image = Picture(*bar);
    EXPECT_EQ(At(image, 9, 10), kBarColor);
    EXPECT_EQ(At(image, 12, 10), kWhite);
    bar->SetValue(100);
    image = Picture(*bar);
    EXPECT_EQ(At(image, 94, 10), kBarColor);
    EXPECT_EQ(At(image, 95, 10), kWhite);
}

TEST(XP_ProgressBar, PositionsBeyondTheRangeShowFullAndBadRangesRaise)
{
    auto bar = MakeBar(100, 20, 100);
    const QImage full = Picture(*bar);
    bar->SetValue(200);
    EXPECT_EQ(bar->Value(), 100);
    EXPECT_EQ(Picture(*bar), full);

    bar->SetValue(40);
    const QImage before = Picture(*bar);
    EXPECT_EQ(ErrorNumberOf([&] { bar->SetValue(30000000); }), xp::kOverflow);
    EXPECT_EQ(bar->Value(), 40);
    bar->SetMax(0);
    EXPECT_EQ(ErrorNumberOf([&] { bar->SetValue(5); }), xp::kDivisionByZero);
    bar->SetMax(100);
    EXPECT_EQ(bar->Value(), 40);
    EXPECT_EQ(Picture(*bar), before);
}

TEST(XP_ProgressBar, RangeAndHatchChangesWaitForTheNextPosition)
{
    auto bar = MakeBar(100, 20, 10);
    bar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    QCoreApplication::processEvents();
    PaintCounter paints(bar.get());

    bar->SetMin(5);
    bar->SetMax(50);
    bar->SetBrushStyle(2);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.count, 0);

    bar->SetValue(10);  // 10 * 100 / 50 + 5 = 25 %
    QCoreApplication::processEvents();
    EXPECT_GE(paints.count, 1);
    EXPECT_EQ(Picture(*bar), Picture(*MakeBar(100, 20, 25)));
}

TEST(XP_ProgressBar, AShrunkBarDrawsAsAFreshOne)
{
    auto bar = MakeBar(800, 600, 50);
    bar->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(bar.get()));
    bar->resize(100, 20);
    QCoreApplication::processEvents();
    EXPECT_EQ(Picture(*bar), Picture(*MakeBar(100, 20, 50)));
}
