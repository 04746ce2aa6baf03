#include "app/Twips.hpp"

#include <cmath>

#include <QWidget>

namespace brimtor {

static double Dpi(const QWidget* widget)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return dpi > 0 ? dpi : 96;
}

int TwipsToPixels(const QWidget* widget, int twips)
{
    return static_cast<int>(std::lround(twips * Dpi(widget) / 1440.0));
}

int PixelsToTwips(const QWidget* widget, int pixels)
{
    return static_cast<int>(std::lround(pixels * 1440.0 / Dpi(widget)));
}

}  // namespace brimtor
