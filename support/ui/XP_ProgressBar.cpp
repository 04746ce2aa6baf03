#include "support/ui/XP_ProgressBar.hpp"

#include <algorithm>
#include <array>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QPainter>

#include "support/ui/SystemColor.hpp"
#include "support/ui/XP_ProgressBarMath.hpp"

namespace brimtor {

namespace {

// The desktop's selection colour: the bar's colour until it is given one.
constexpr std::uint32_t kDefaultColor = kSystemColorFlag | 13;
constexpr std::int32_t kDefaultBrushStyle = 4;
constexpr std::int32_t kDefaultMax = 100;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0;
constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr std::uint32_t kFrameShadow = 0xBEBEBE;
constexpr std::uint32_t kFrameLight = 0xEFEFEF;
constexpr std::uint32_t kFrameOutline = 0x686868;

// Block and gap widths of look 0; the other default looks have no blocks.
constexpr int kBlock = 6;
constexpr int kGap = 2;

// Single pixels that round the frame's corners, drawn in this order. A negative coordinate
// counts back from the width or height: -1 is the last column or row.
struct CornerPixel {
    int x;
    int y;
    std::uint32_t color;
};
constexpr std::array<CornerPixel, 24> kCorners {{
    {0, 0, 0xFFFFFF}, {0, 1, 0xA6ABAC}, {0, 2, 0x7D7E7F}, {1, 0, 0xA7ABAC},
    {1, 1, 0x777777}, {2, 0, 0x7D7E7F}, {2, 2, 0xBEBEBE}, {0, -1, 0xFFFFFF},
    {1, -1, 0xA6ABAC}, {2, -1, 0x7D7E7F}, {0, -3, 0x7D7E7F}, {0, -2, 0xA7ABAC},
    {1, -2, 0x777777}, {-1, 0, 0xFFFFFF}, {-1, 1, 0xBEBEBE}, {-1, 2, 0x7D7E7F},
    {-2, 2, 0xBEBEBE}, {-2, 1, 0x686868}, {-1, -1, 0xFFFFFF}, {-1, -2, 0xBEBEBE},
    {-1, -3, 0x7D7E7F}, {-2, -2, 0x777777}, {-2, -1, 0xBEBEBE}, {-3, -1, 0x7D7E7F},
}};

int FromEdge(int coordinate, int size)
{
    return coordinate < 0 ? size + coordinate : coordinate;
}

// What a screen reader learns of the bar: the progress-bar role, and its position, minimum and
// maximum as a value it can read but not set.
class XP_ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit XP_ProgressBarAccessible(XP_ProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {
    }

    // Makes Qt's accessibility ask this class for every progress bar. Once is enough.
    static void Install()
    {
        static const bool installed = (QAccessible::installFactory(Factory), true);
        Q_UNUSED(installed);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        // The percentage, as the caption would show it.
        if (t == QAccessible::Value)
            return QString::number(Bar().Percent()) + QStringLiteral(" %");
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override
    {
        // A range the position cannot be shown in (see Value) reads as no value, never as a
        // throw into the screen reader's call.
        try {
            return Bar().Value();
        } catch (...) {
            return {};
        }
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Bar().max(); }
    QVariant minimumValue() const override { return Bar().min(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    static QAccessibleInterface* Factory(const QString&, QObject* object)
    {
        auto* bar = qobject_cast<XP_ProgressBar*>(object);
        return bar ? new XP_ProgressBarAccessible(bar) : nullptr;
    }

    const XP_ProgressBar& Bar() const { return *static_cast<const XP_ProgressBar*>(widget()); }
};

}  // namespace

XP_ProgressBar::XP_ProgressBar(QWidget* parent)
    : QWidget(parent)
{
    // Every pixel is painted by the bar itself; letting Qt clear the area first would flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    XP_ProgressBarAccessible::Install();
    m_color = TranslateColor(kDefaultColor, palette());
    EnsureBuffer();
    DrawProgressBar();
}

void XP_ProgressBar::DrawProgressBar()
{
    update();
}

void XP_ProgressBar::SetBrushStyle(std::int32_t style)
{
    m_brushStyle = style;
    emit PropertyChanged(QStringLiteral("BrushStyle"));
}

void XP_ProgressBar::SetColor(std::uint32_t color)
{
    m_color = TranslateColor(color, palette());
    DrawProgressBar();
}

void XP_ProgressBar::SetFont(const QFont& font)
{
    m_font = font;
}

void XP_ProgressBar::SetImage(const QImage& image)
{
    m_image = image;
    emit PropertyChanged(QStringLiteral("Image"));
    DrawProgressBar();
}

void XP_ProgressBar::SetMin(std::int32_t value)
{
    m_min = value;
    emit PropertyChanged(QStringLiteral("Min"));
    AnnounceValue();
}

void XP_ProgressBar::SetMax(std::int32_t value)
{
    m_max = value;
    emit PropertyChanged(QStringLiteral("Max"));
    AnnounceValue();
}

void XP_ProgressBar::SetOrientation(std::int32_t value)
{
    m_orientation = value;
    emit PropertyChanged(QStringLiteral("Orientation"));
    DrawProgressBar();
}

void XP_ProgressBar::SetScrolling(std::int32_t style)
{
    m_scrolling = style;
    emit PropertyChanged(QStringLiteral("Scrolling"));
    DrawProgressBar();
}

void XP_ProgressBar::SetShowText(bool show)
{
    m_showText = show;
    emit PropertyChanged(QStringLiteral("ShowText"));
    DrawProgressBar();
}

std::int32_t XP_ProgressBar::Value() const
{
    return xp::ValueFromPercent(m_percent, m_min, m_max);
}

void XP_ProgressBar::SetValue(std::int32_t value)
{
    const std::int32_t percent = std::min(xp::PercentFromValue(value, m_min, m_max), 100);
    const bool changed = percent != m_percent;
    m_percent = percent;
    DrawProgressBar();
    if (changed)
        AnnounceValue();
}

void XP_ProgressBar::AnnounceValue()
{
    // Nobody listens most of the time, and the bar moves for every link.
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, XP_ProgressBarAccessible(this).currentValue());
    QAccessible::updateAccessibility(&event);
}

QVariantMap XP_ProgressBar::WriteProperties() const
{
    QVariantMap properties;
    if (m_font != QFont())
        properties.insert("Font", m_font);
    if (m_brushStyle != kDefaultBrushStyle)
        properties.insert("BrushStyle", m_brushStyle);
    // Stored as its RGB value, the colour never equals the system-colour default: always saved.
    properties.insert("Color", m_color);
    if (!m_image.isNull())
        properties.insert("Image", m_image);
    if (m_max != kDefaultMax)
        properties.insert("Max", m_max);
    if (m_min != 0)
        properties.insert("Min", m_min);
    if (m_orientation != 0)
        properties.insert("Orientation", m_orientation);
    if (m_scrolling != 0)
        properties.insert("Scrolling", m_scrolling);
    if (m_showText)
        properties.insert("ShowText", m_showText);
    if (m_percent != 0)
        properties.insert("Value", m_percent);
    return properties;
}

void XP_ProgressBar::ReadProperties(const QVariantMap& properties)
{
    SetFont(properties.value("Font", QFont()).value<QFont>());
    m_brushStyle = properties.value("BrushStyle", kDefaultBrushStyle).toInt();
    SetColor(properties.value("Color", kDefaultColor).toUInt());
    m_image = properties.value("Image", QImage()).value<QImage>();
    SetMax(properties.value("Max", kDefaultMax).toInt());
    SetMin(properties.value("Min", 0).toInt());
    SetOrientation(properties.value("Orientation", 0).toInt());
    SetScrolling(properties.value("Scrolling", 0).toInt());
    SetShowText(properties.value("ShowText", false).toBool());
    SetValue(properties.value("Value", 0).toInt());
}

void XP_ProgressBar::paintEvent(QPaintEvent*)
{
    // Without a buffer the control has no area to show (or no memory for one).
    if (m_buffer.isNull())
        return;
    Render(m_buffer);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_buffer, QRect(0, 0, width(), height()));
}

void XP_ProgressBar::resizeEvent(QResizeEvent*)
{
    EnsureBuffer();
}

void XP_ProgressBar::EnsureBuffer()
{
    // Growing only, in each direction: a bar that shrinks and grows back during a resize drag
    // keeps its image.
    const int w = width();
    const int h = height();
    if (m_buffer.isNull()) {
        if (w > 0 && h > 0)
            m_buffer = QImage(w, h, QImage::Format_RGB32);
    } else if (w > m_buffer.width() || h > m_buffer.height()) {
        m_buffer = QImage(std::max(w, m_buffer.width()), std::max(h, m_buffer.height()), QImage::Format_RGB32);
    }
}

void XP_ProgressBar::Render(QImage& target)
{
    const int w = width();
    const int h = height();
    cPixelCanvas canvas(target, palette());
    canvas.FillRect({0, 0, w, h}, m_scrolling == 6 ? kBlack : kWhite);
    switch (m_scrolling) {
    case 3: PaintFlat(canvas, w, h); break;
    case 4: PaintEtched(canvas, w, h); break;
    case 5: PaintShaded(canvas, w, h); break;
    case 6: PaintDark(canvas, w, h); break;
    case 7: PaintHatched(canvas, w, h); break;
    case 8: PaintPicture(canvas, w, h); break;
    case 9: PaintGlass(canvas, w, h); break;
    default: PaintDefault(canvas, w, h); break;
    }
    PaintCaption(canvas, w, h);
}

void XP_ProgressBar::PaintDefault(cPixelCanvas& canvas, int width, int height)
{
    const int step = (m_scrolling == 0 ? kBlock : 0) + kGap;
    PixelRect bar {3, 0, width, height};
    if (m_orientation == 0) {
        bar.right = xp::BarRight(width, m_percent, step);
        PaintHorizontalBar(canvas, bar, width, height);
        if (m_scrolling == 0)
            PaintHorizontalGaps(canvas, bar, height);
    } else {
        bar.top = xp::BarTop(height, m_percent, step);
        PaintVerticalBar(canvas, bar, width, height);
        if (m_scrolling == 0)
            PaintVerticalGaps(canvas, bar, width);
    }
    PaintFrame(canvas, width, height);
}

void XP_ProgressBar::PaintHorizontalBar(cPixelCanvas& canvas, PixelRect& bar, int width, int height)
{
    // Even an empty bar shows its first block.
    if (bar.right <= 14)
        bar.right = 12;
    const PixelRect fill {4, 8, bar.right + 4 > width ? bar.right - 4 : bar.right, height - 8};
    if (m_scrolling == 2) {
        PaintMovingBlocks(canvas, bar, width, height);
        return;
    }
    const std::uint32_t light = xp::Lighten(m_color, 150);
    canvas.DrawGradient(light, m_color, 4, 3, fill.right, 6, false);
    canvas.FillRect(fill, m_color);
    canvas.DrawGradient(m_color, light, 4, height - 10, fill.right, 6, false);
}

void XP_ProgressBar::PaintVerticalBar(cPixelCanvas& canvas, const PixelRect& bar, int width, int height)
{
    if (m_scrolling == 2) {
        PaintMovingBlocks(canvas, bar, width, height);
        return;
    }
    const std::uint32_t light = xp::Lighten(m_color, 150);
    canvas.DrawGradient(light, m_color, 4, bar.top, 4, height, true);
    canvas.FillRect({9, bar.top, width - 8, height}, m_color);
    canvas.DrawGradient(m_color, light, width - 8, bar.top, 4, height, true);
}

void XP_ProgressBar::PaintHorizontalGaps(cPixelCanvas& canvas, const PixelRect& bar, int height)
{
    for (int x = bar.left + kBlock; x <= bar.right; x += kBlock + kGap)
        canvas.FillRect({x + 1, 0, x + 3, height}, kWhite);
}

void XP_ProgressBar::PaintVerticalGaps(cPixelCanvas& canvas, const PixelRect& bar, int width)
{
    for (int y = bar.bottom; y >= bar.top + kBlock; y -= kBlock + kGap)
        canvas.FillRect({0, y - 2, width, y}, kWhite);
}

void XP_ProgressBar::PaintMovingBlocks(cPixelCanvas& canvas, const PixelRect& bar, int width, int height)
{
    // Three blocks, darker from first to last, that slide 45 pixels as the position runs
    // through the range.
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t first = xp::Lighten(m_color, 220 - 40 * i);
        const std::uint32_t second = xp::Lighten(m_color, 200 - 40 * i);
        if (m_orientation == 0) {
            const int x = xp::Round(bar.right + 12 * i - (100.0 - m_percent) / 100.0 * 45);
            canvas.DrawGradient(first, second, x, 3, 9, height - 2, true);
        } else {
            canvas.DrawGradient(first, second, width - 2, bar.top + 12 * i, 2, 9, false);
        }
    }
}

void XP_ProgressBar::PaintFrame(cPixelCanvas& canvas, int width, int height)
{
    canvas.DrawLine(2, 1, width - 2, 1, kFrameShadow);
    canvas.DrawLine(2, height - 2, width - 2, height - 2, kFrameLight);
    canvas.DrawLine(1, 2, 1, height - 2, kFrameShadow);
    canvas.DrawLine(2, 2, 2, height - 2, kFrameLight);
    canvas.DrawLine(2, 2, width - 2, 2, kFrameLight);
    canvas.DrawLine(width - 2, 2, width - 2, height - 2, kFrameLight);
    canvas.FrameRect({0, 0, width, height}, kFrameOutline);
    for (const CornerPixel& corner : kCorners)
        canvas.SetPixel(FromEdge(corner.x, width), FromEdge(corner.y, height), corner.color);
}

void XP_ProgressBar::PaintFlat(cPixelCanvas& canvas, int width, int height)
{
    canvas.FrameRect({0, 0, width, height}, xp::Lighten(m_color, 100));
    canvas.FillRect({1, 1, xp::Round(width * static_cast<double>(m_percent) / 100.0), height - 1}, xp::Lighten(m_color, 180));
}

void XP_ProgressBar::PaintEtched(cPixelCanvas& canvas, int width, int height)
{
    canvas.DrawEdge({0, 0, width, height}, cPixelCanvas::kSunkenOuter | cPixelCanvas::kRaisedInner);
    const int end = xp::Round((width - 4) * static_cast<double>(m_percent) / 100.0);
    canvas.DrawGradient(xp::Lighten(m_color, 140), xp::Lighten(m_color, 200), 2, 2, end, height - 3, true);
}

void XP_ProgressBar::PaintShaded(cPixelCanvas& canvas, int width, int height)
{
    canvas.FrameRect({0, 0, width, height}, xp::Lighten(m_color, 10));
    const int end = xp::Round(width * static_cast<double>(m_percent) / 101.0);
    canvas.DrawGradient(m_color, xp::Lighten(m_color, 100), 2, 2, width - 2, height - 5, false);
    canvas.DrawGradient(xp::Lighten(m_color, 250), m_color, 3, 3, end, height - 6, false);
    canvas.DrawLine(end, 2, end, height - 2, xp::Lighten(m_color, 25));
}

void XP_ProgressBar::PaintDark(cPixelCanvas& canvas, int width, int height)
{
    canvas.FrameRect({0, 0, width, height}, xp::Darken(m_color, 200));
    const int end = xp::Round((width - 5) * static_cast<double>(m_percent) / 100.0);
    canvas.DrawGradient(kBlack, xp::Lighten(xp::Darken(m_color, 100), 10), 2, 2, end, height - 2, true);
}

void XP_ProgressBar::PaintHatched(cPixelCanvas& canvas, int width, int height)
{
    canvas.DrawEdge({0, 0, width, height}, cPixelCanvas::kRaisedOuter | cPixelCanvas::kSunkenInner);
    const PixelRect bar {2, 2, xp::Round(width * static_cast<double>(m_percent) / 101.0), height - 2};
    canvas.FillHatched(bar, m_brushStyle, m_color, xp::Lighten(m_color, 140));
}

void XP_ProgressBar::PaintPicture(cPixelCanvas& canvas, int width, int height)
{
    canvas.DrawEdge({0, 0, width, height}, cPixelCanvas::kSunkenOuter);
    canvas.FillPattern(2, 2, xp::Round(width * static_cast<double>(m_percent) / 101.0), height - 4, m_image);
}

void XP_ProgressBar::PaintGlass(cPixelCanvas& canvas, int width, int height)
{
    const int middle = xp::Round((height - 3) / 2.0);
    const int end = xp::Round((width - 4) * static_cast<double>(m_percent) / 100.0);
    canvas.DrawGradient(kWhite, kSilver, 2, 2, width - 3, middle, false);
    canvas.DrawGradient(xp::Blend(kSilver, kBlack, 255), kSilver, 2, middle, width - 3, middle, false);
    canvas.DrawGradient(xp::Lighten(m_color, 150), xp::Darken(m_color, 180), 2, 2, end, middle, false);
    canvas.DrawGradient(xp::Darken(m_color, 190), m_color, 2, middle, end, middle, false);
    PaintFrame(canvas, width, height);
}

void XP_ProgressBar::PaintCaption(cPixelCanvas& canvas, int width, int height)
{
    if (!m_showText)
        return;
    const QString text = m_scrolling == 2 ? QStringLiteral("Searching..")
                                          : QString::number(m_percent) + QStringLiteral(" %");
    const QSize size = canvas.MeasureText(text, m_font);
    const int left = xp::Round(width / 2.0 - size.width() / 2.0);
    const int top = xp::Round(height / 2.0 - size.height() / 2.0);
    const PixelRect caption {left, top, left + size.width(), top + size.height()};
    // The dark and glass looks draw the part of the caption over the bar a second time, in a
    // light colour; a caption wholly over the bar is drawn only that way.
    const bool overlay = m_scrolling == 6 || m_scrolling == 9;
    const double filled = m_percent / 100.0 * width;
    if (!overlay || filled < caption.right)
        canvas.DrawText(caption, text, m_font, m_scrolling == 6 ? canvas.Translate(kSilver) : kBlack);
    if (overlay && filled >= caption.left) {
        const PixelRect over {left, top, xp::Round(filled), caption.bottom};
        canvas.DrawText(over, text, m_font, m_scrolling == 6 ? xp::Lighten(m_color, 80) : kWhite);
    }
}

}  // namespace brimtor
