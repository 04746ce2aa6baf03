#pragma once

#include <cstdint>

#include <QFont>
#include <QImage>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include "support/ui/cPixelCanvas.hpp"

namespace brimtor {

// A progress bar that draws itself pixel by pixel: a light-grey rounded frame around a bar of
// coloured blocks with a light gradient along their edges. It looks the same whatever style the
// desktop uses, and it draws into an off-screen image that is copied to the screen in one step,
// so a bar updated for every link of a scan does not flicker.
//
// The position is kept as a whole percentage P of the range. `Scrolling` picks one of ten
// looks: 0 blocks, 1 a solid bar, 2 a busy indicator, and 3 … 9 flat, etched, shaded, dark,
// hatched, picture and glass bars (always horizontal). Setting the position, the colour, the
// picture, the orientation, the look or the caption switch redraws at once; setting `min`, `max`
// or `BrushStyle` does not, the new range shows at the next position. Screen readers read it
// as a progress bar with a value, and hear of every change of the position or the range.
class XP_ProgressBar : public QWidget {
    Q_OBJECT

public:
    explicit XP_ProgressBar(QWidget* parent = nullptr);

    // Schedules a repaint, which draws the bar into the off-screen image and copies it to the
    // screen in one step.
    void DrawProgressBar();

    // Hatch of look 7 (0 horizontal … 5 diagonal cross).
    void SetBrushStyle(std::int32_t style);
    // Bar colour, 0x00BBGGRR; a system colour name is stored as its current RGB value.
    std::uint32_t Color() const { return m_color; }
    void SetColor(std::uint32_t color);
    // Font of the caption.
    const QFont& Font() const { return m_font; }
    void SetFont(const QFont& font);
    // Picture tiled by look 8.
    const QImage& Image() const { return m_image; }
    void SetImage(const QImage& image);
    std::int32_t min() const { return m_min; }
    void SetMin(std::int32_t value);
    std::int32_t max() const { return m_max; }
    void SetMax(std::int32_t value);
    // 0 fills left to right, anything else bottom to top.
    std::int32_t Orientation() const { return m_orientation; }
    void SetOrientation(std::int32_t value);
    std::int32_t Scrolling() const { return m_scrolling; }
    void SetScrolling(std::int32_t style);
    // Whether the percentage caption is drawn.
    bool ShowText() const { return m_showText; }
    void SetShowText(bool show);
    // The position. Throws NumberedError (6 overflow, 11 division by zero) when it cannot be
    // turned into a percentage of the range; the bar then stays as it was.
    std::int32_t Value() const;
    void SetValue(std::int32_t value);
    // The whole percentage of the range the bar shows.
    std::int32_t Percent() const { return m_percent; }

    // Saved settings: "Font", "BrushStyle", "Color", "Image", "Max", "Min", "Orientation",
    // "Scrolling", "ShowText" and "Value" (the percentage); a setting at its default is left out.
    QVariantMap WriteProperties() const;
    // Restores saved settings in that order, each missing one at its default. All but the hatch
    // and the picture go through their setters, so the saved percentage goes through the range
    // once more.
    void ReadProperties(const QVariantMap& properties);

    // Size of the off-screen image; it grows with the control and never shrinks.
    QSize BufferSize() const { return m_buffer.size(); }

signals:
    // A saved setting other than "Font", "Value" and "Color" was changed through its setter.
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void AnnounceValue();
    void EnsureBuffer();
    void Render(QImage& target);
    void PaintDefault(cPixelCanvas& canvas, int width, int height);
    void PaintHorizontalBar(cPixelCanvas& canvas, PixelRect& bar, int width, int height);
    void PaintVerticalBar(cPixelCanvas& canvas, const PixelRect& bar, int width, int height);
    void PaintHorizontalGaps(cPixelCanvas& canvas, const PixelRect& bar, int height);
    void PaintVerticalGaps(cPixelCanvas& canvas, const PixelRect& bar, int width);
    void PaintMovingBlocks(cPixelCanvas& canvas, const PixelRect& bar, int width, int height);
    void PaintFrame(cPixelCanvas& canvas, int width, int height);
    void PaintFlat(cPixelCanvas& canvas, int width, int height);
    void PaintEtched(cPixelCanvas& canvas, int width, int height);
    void PaintShaded(cPixelCanvas& canvas, int width, int height);
    void PaintDark(cPixelCanvas& canvas, int width, int height);
    void PaintHatched(cPixelCanvas& canvas, int width, int height);
    void PaintPicture(cPixelCanvas& canvas, int width, int height);
    void PaintGlass(cPixelCanvas& canvas, int width, int height);
    void PaintCaption(cPixelCanvas& canvas, int width, int height);

    QImage m_buffer;
    QFont m_font;
    QImage m_image;
    std::uint32_t m_color = 0;
    std::int32_t m_brushStyle = 4;
    std::int32_t m_min = 0;
    std::int32_t m_max = 100;
    std::int32_t m_orientation = 0;
    std::int32_t m_scrolling = 0;
    bool m_showText = false;
    std::int32_t m_percent = 0;
};

}  // namespace brimtor
