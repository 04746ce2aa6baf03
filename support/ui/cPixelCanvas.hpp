#pragma once

#include <cstdint>

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QSize>
#include <QString>

namespace brimtor {

// A rectangle as the drawing code counts it: right and bottom lie just outside.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Draws pixel-exact lines, fills, frames, 3D edges and hatches into an image, so that the
// progress bar looks the same on every screen and every style of the desktop. Everything is
// clipped to the image. Colours are 0x00BBGGRR; where noted, system colour names are resolved
// from the palette.
class cPixelCanvas {
public:
    // Edge kinds of DrawEdge: bits for a raised or sunken outer and inner border.
    static constexpr int kRaisedOuter = 1;
    static constexpr int kSunkenOuter = 2;
    static constexpr int kRaisedInner = 4;
    static constexpr int kSunkenInner = 8;

    cPixelCanvas(QImage& image, const QPalette& palette);

    std::uint32_t Translate(std::uint32_t color) const;

    // One pixel in exactly this colour (no system colour names).
    void SetPixel(int x, int y, std::uint32_t color);
    // Fills the rectangle with the translated colour; an empty or inverted one paints nothing.
    void FillRect(const PixelRect& rect, std::uint32_t color);
    // Outlines the rectangle one pixel wide inside its edges, colour taken as it is.
    void FrameRect(const PixelRect& rect, std::uint32_t color);
    // A one-pixel line in the translated colour from (x, y) towards (toX, toY); the end pixel
    // itself is not drawn, so a line to its own start draws nothing.
    void DrawLine(int x, int y, int toX, int toY, std::uint32_t color);
    // A gradient of n + 1 one-pixel lines from colour `from` to `to`. With `columns`, n is `p5`
    // and the lines are vertical, x = x … x + n, each from y down to p6 (excluded); otherwise n
    // is `p6` and the lines are horizontal, y = y … y + n, each from x across to p5 (excluded).
    void DrawGradient(std::uint32_t from, std::uint32_t to, int x, int y, int p5, int p6, bool columns);
    // A 3D border on all four sides in the desktop's button colours; `edge` combines the bits
    // above.
    void DrawEdge(const PixelRect& rect, int edge);
    // Fills with an 8 x 8 hatch anchored at the image origin: `style` 0 horizontal, 1 vertical,
    // 2 forward diagonal, 3 backward diagonal, 4 cross, 5 diagonal cross; any other style
    // paints nothing. Hatch pixels get `fore`, the rest `back`, both taken as they are.
    void FillHatched(const PixelRect& rect, int style, std::uint32_t fore, std::uint32_t back);
    // Tiles `pattern`, anchored at the image origin, over width x height pixels from (x, y).
    void FillPattern(int x, int y, int width, int height, const QImage& pattern);

    // Width and height of one line of text in the font.
    QSize MeasureText(const QString& text, const QFont& font) const;
    // One line of text at the rectangle's top left, cut off at its edges, on a clear background.
    void DrawText(const PixelRect& rect, const QString& text, const QFont& font, std::uint32_t color);

private:
    PixelRect Clipped(const PixelRect& rect) const;
    bool Inside(int x, int y) const;
    void Plot(int x, int y, QRgb rgb);
    void DrawSlantedLine(int x, int y, int toX, int toY, QRgb rgb);
    void DrawBorder(const PixelRect& rect, std::uint32_t topLeft, std::uint32_t bottomRight);

    QImage& m_image;
    const QPalette& m_palette;
};

}  // namespace brimtor
