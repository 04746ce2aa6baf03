#include <gtest/gtest.h>

#include "support/ui/SystemColor.hpp"
#include "support/ui/XP_ProgressBarMath.hpp"
#include "support/ui/cPixelCanvas.hpp"

using namespace brimtor;

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0x0000FF;

class Canvas : public ::testing::Test {
protected:
    Canvas()
        : image(12, 12, QImage::Format_RGB32)
        , canvas(image, palette)
    {
        image.fill(Qt::white);
    }

    std::uint32_t At(int x, int y) const { return FromQColor(QColor(image.pixel(x, y))); }

    // The columns of row y that are not white, as a string of '#' and '.'.
    std::string Row(int y) const
    {
        std::string row;
        for (int x = 0; x < image.width(); ++x)
            row += At(x, y) == kWhite ? '.' : '#';
        return row;
    }

    QPalette palette;
    QImage image;
    cPixelCanvas canvas;
};

}  // namespace

TEST_F(Canvas, LinesLeaveOutTheirEndPixelAndGradientsDrawOneLineMoreThanTheirCount)
{
    canvas.DrawLine(1, 1, 5, 1, kRed);
    canvas.DrawLine(9, 2, 4, 2, kRed);
    canvas.DrawLine(6, 6, 6, 6, kRed);
    EXPECT_EQ(Row(1), ".####.......");
    EXPECT_EQ(Row(2), ".....#####..");
    EXPECT_EQ(Row(6), "............");  // the point at (6, 6) draws nothing
    EXPECT_EQ(At(1, 1), kRed);
    // Lines running out of the image are clipped, not wrapped.
    canvas.DrawLine(10, 11, 20, 11, kRed);
    EXPECT_EQ(Row(11), "..........##");

    image.fill(Qt::white);
    canvas.DrawGradient(0x000000, 0x0000FC, 1, 2, 8, 3, false);  // rows 2..5, x 1..7
    EXPECT_EQ(Row(5), ".#######....");
    EXPECT_EQ(Row(6), "............");
    EXPECT_EQ(At(1, 2), 0x000000u);
    EXPECT_EQ(At(1, 5), 0x0000FCu);
    image.fill(Qt::white);
    canvas.DrawGradient(0x000000, 0x0000FF, 2, 0, 3, 4, true);  // columns 2..5, y 0..3
    EXPECT_EQ(Row(3), "..####......");

    // No count: the step cannot be worked out and one line in the first colour is drawn.
    image.fill(Qt::white);
    canvas.DrawGradient(kRed, 0x00FF00, 0, 7, 5, 0, false);
    EXPECT_EQ(Row(7), "#####.......");
    EXPECT_EQ(At(4, 7), kRed);
}

TEST_F(Canvas, FillsAndFrames)
{
    palette.setColor(QPalette::Highlight, QColor(0x12, 0x34, 0x56));
    canvas.FillRect({1, 1, 4, 3}, kSystemColorFlag | 13);
    EXPECT_EQ(At(1, 1), 0x563412u);
    EXPECT_EQ(Row(3), "............");
    canvas.FillRect({6, 6, 5, 8}, kRed);  // inverted: nothing
    EXPECT_EQ(Row(6), "............");

    canvas.FrameRect({5, 5, 9, 9}, kRed);
    EXPECT_EQ(Row(6), ".....#..#...");
    EXPECT_EQ(Row(8), ".....####...");
}
