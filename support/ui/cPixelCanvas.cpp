#include "support/ui/cPixelCanvas.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include <QFontMetrics>
#include <QPainter>

#include "support/ui/SystemColor.hpp"
#include "support/ui/XP_ProgressBarMath.hpp"

namespace brimtor {

namespace {

// The desktop colour numbers of the 3D edges.
constexpr std::uint32_t kButtonShadow = kSystemColorFlag | 16;
constexpr std::uint32_t kButtonHighlight = kSystemColorFlag | 20;
constexpr std::uint32_t kDarkShadow = kSystemColorFlag | 21;
constexpr std::uint32_t kLight = kSystemColorFlag | 22;

// One byte per row, the leftmost pixel in the highest bit.
constexpr std::array<std::array<std::uint8_t, 8>, 6> kHatches {{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // backward diagonal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0xFF},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
}};

QRgb ToRgb(std::uint32_t color)
{
    return ToQColor(color).rgb();
}

// The pixels from `from` towards `to`, `to` itself left out, as an inclusive range in
// increasing order; empty (first > last) when the two are equal.
std::pair<int, int> RunWithoutEnd(int from, int to)
{
    return from < to ? std::pair {from, to - 1} : std::pair {to + 1, from};
}

bool HatchBit(int style, int x, int y)
{
    return (kHatches[static_cast<std::size_t>(style)][static_cast<std::size_t>(y & 7)] & (0x80 >> (x & 7))) != 0;
}

}  // namespace

cPixelCanvas::cPixelCanvas(QImage& image, const QPalette& palette)
    : m_image(image)
    , m_palette(palette)
{
}

std::uint32_t cPixelCanvas::Translate(std::uint32_t color) const
{
    return TranslateColor(color, m_palette);
}

PixelRect cPixelCanvas::Clipped(const PixelRect& rect) const
{
    return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, m_image.width()),
            std::min(rect.bottom, m_image.height())};
}

bool cPixelCanvas::Inside(int x, int y) const
{
    return x >= 0 && y >= 0 && x < m_image.width() && y < m_image.height();
}

void cPixelCanvas::Plot(int x, int y, QRgb rgb)
{
    if (Inside(x, y))
        m_image.setPixel(x, y, rgb);
}

void cPixelCanvas::SetPixel(int x, int y, std::uint32_t color)
{
    Plot(x, y, ToRgb(color));
}

void cPixelCanvas::FillRect(const PixelRect& rect, std::uint32_t color)
{
    const QRgb rgb = ToRgb(Translate(color));
    const PixelRect area = Clipped(rect);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            m_image.setPixel(x, y, rgb);
}

void cPixelCanvas::FrameRect(const PixelRect& rect, std::uint32_t color)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const QRgb rgb = ToRgb(color);
    for (int x = rect.left; x < rect.right; ++x) {
        Plot(x, rect.top, rgb);
        Plot(x, rect.bottom - 1, rgb);
    }
    for (int y = rect.top; y < rect.bottom; ++y) {
        Plot(rect.left, y, rgb);
        Plot(rect.right - 1, y, rgb);
    }
}

void cPixelCanvas::DrawLine(int x, int y, int toX, int toY, std::uint32_t color)
{
    // Straight lines, the only ones the bar draws, are clipped before they are walked.
    if (y == toY) {
        const auto [first, last] = RunWithoutEnd(x, toX);
        FillRect({first, y, last + 1, y + 1}, color);
    } else if (x == toX) {
        const auto [first, last] = RunWithoutEnd(y, toY);
        FillRect({x, first, x + 1, last + 1}, color);
    } else {
        DrawSlantedLine(x, y, toX, toY, ToRgb(Translate(color)));
    }
}

void cPixelCanvas::DrawSlantedLine(int x, int y, int toX, int toY, QRgb rgb)
{
    const int dx = std::abs(toX - x);
    const int dy = std::abs(toY - y);
    const int stepX = x < toX ? 1 : -1;
    const int stepY = y < toY ? 1 : -1;
    int error = dx - dy;
    while (x != toX || y != toY) {
        Plot(x, y, rgb);
        const int twice = 2 * error;
        if (twice > -dy) {
            error -= dy;
            x += stepX;
        }
        if (twice < dx) {
            error += dx;
            y += stepY;
        }
    }
}

void cPixelCanvas::DrawGradient(std::uint32_t from, std::uint32_t to, int x, int y, int p5, int p6, bool columns)
{
    from = Translate(from);
    to = Translate(to);
    const int lines = columns ? p5 : p6;
    for (int i = 0; i <= lines; ++i) {
        const std::uint32_t color = xp::GradientColor(from, to, lines, i);
        if (columns)
            DrawLine(x + i, y, x + i, p6, color);
        else
            DrawLine(x, y + i, p5, y + i, color);
    }
}

void cPixelCanvas::DrawBorder(const PixelRect& rect, std::uint32_t topLeft, std::uint32_t bottomRight)
{
    // The bottom and right lines own the two corners they share with the top and left ones.
    DrawLine(rect.left, rect.top, rect.right - 1, rect.top, topLeft);
    DrawLine(rect.left, rect.top, rect.left, rect.bottom - 1, topLeft);
    DrawLine(rect.left, rect.bottom - 1, rect.right, rect.bottom - 1, bottomRight);
    DrawLine(rect.right - 1, rect.top, rect.right - 1, rect.bottom, bottomRight);
}

void cPixelCanvas::DrawEdge(const PixelRect& rect, int edge)
{
    if (edge & kRaisedOuter)
        DrawBorder(rect, kLight, kDarkShadow);
    else if (edge & kSunkenOuter)
        DrawBorder(rect, kButtonShadow, kButtonHighlight);
    const PixelRect inner {rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    if (edge & kRaisedInner)
        DrawBorder(inner, kButtonHighlight, kButtonShadow);
    else if (edge & kSunkenInner)
        DrawBorder(inner, kDarkShadow, kLight);
}

void cPixelCanvas::FillHatched(const PixelRect& rect, int style, std::uint32_t fore, std::uint32_t back)
{
    if (style < 0 || style >= static_cast<int>(kHatches.size()))
        return;
    const QRgb foreRgb = ToRgb(fore);
    const QRgb backRgb = ToRgb(back);
    const PixelRect area = Clipped(rect);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            m_image.setPixel(x, y, HatchBit(style, x, y) ? foreRgb : backRgb);
}

void cPixelCanvas::FillPattern(int x, int y, int width, int height, const QImage& pattern)
{
    if (pattern.isNull())
        return;
    const QImage tile = pattern.convertToFormat(QImage::Format_RGB32);
    const PixelRect area = Clipped({x, y, x + width, y + height});
    for (int row = area.top; row < area.bottom; ++row)
        for (int column = area.left; column < area.right; ++column)
            m_image.setPixel(column, row, tile.pixel(column % tile.width(), row % tile.height()));
}

QSize cPixelCanvas::MeasureText(const QString& text, const QFont& font) const
{
    const QFontMetrics metrics(font, &m_image);
    return {metrics.horizontalAdvance(text), metrics.height()};
}

void cPixelCanvas::DrawText(const PixelRect& rect, const QString& text, const QFont& font, std::uint32_t color)
{
    const QRect box(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (box.isEmpty())
        return;
    QPainter painter(&m_image);
    painter.setClipRect(box);
    painter.setFont(font);
    painter.setPen(ToQColor(color));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace brimtor
