#pragma once

class QWidget;

// Lengths in the window rules are twips (1/1440 inch); the screen works in pixels.
namespace brimtor {

// Pixels for the twips at the widget's logical DPI (15 twips a pixel at 96 DPI).
int TwipsToPixels(const QWidget* widget, int twips);
int PixelsToTwips(const QWidget* widget, int pixels);

}  // namespace brimtor
