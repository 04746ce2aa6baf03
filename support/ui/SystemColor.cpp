#include "support/ui/SystemColor.hpp"

#include <array>

namespace brimtor {

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    bool defined;
};

// The desktop colour numbers 0 … 30 and the palette entry that plays the same part. Number 25
// has never named a colour.
constexpr std::array<SystemRole, 31> kRoles {{
    {QPalette::Active, QPalette::Button, true},           // 0 scroll bar
    {QPalette::Active, QPalette::Dark, true},             // 1 desktop
    {QPalette::Active, QPalette::Highlight, true},        // 2 active caption
    {QPalette::Active, QPalette::Mid, true},              // 3 inactive caption
    {QPalette::Active, QPalette::Window, true},           // 4 menu
    {QPalette::Active, QPalette::Base, true},             // 5 window
    {QPalette::Active, QPalette::Shadow, true},           // 6 window frame
    {QPalette::Active, QPalette::WindowText, true},       // 7 menu text
    {QPalette::Active, QPalette::Text, true},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText, true},  // 9 caption text
    {QPalette::Active, QPalette::Button, true},           // 10 active border
    {QPalette::Active, QPalette::Button, true},           // 11 inactive border
    {QPalette::Active, QPalette::Mid, true},              // 12 application workspace
    {QPalette::Active, QPalette::Highlight, true},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText, true},  // 14 highlighted text
    {QPalette::Active, QPalette::Button, true},           // 15 button face
    {QPalette::Active, QPalette::Dark, true},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text, true},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText, true},       // 18 button text
    {QPalette::Active, QPalette::WindowText, true},       // 19 inactive caption text
    {QPalette::Active, QPalette::Light, true},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow, true},           // 21 dark 3D shadow
    {QPalette::Active, QPalette::Midlight, true},         // 22 3D light
    {QPalette::Active, QPalette::ToolTipText, true},      // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase, true},      // 24 tooltip background
    {QPalette::Active, QPalette::NoRole, false},          // 25 unused
    {QPalette::Active, QPalette::Link, true},             // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight, true},        // 27 active caption gradient
    {QPalette::Active, QPalette::Mid, true},              // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight, true},        // 29 menu highlight
    {QPalette::Active, QPalette::Window, true},           // 30 menu bar
}};

bool Names(std::uint32_t index)
{
    return index < kRoles.size() && kRoles[index].defined;
}

}  // namespace

std::uint32_t SysColor(std::uint32_t index, const QPalette& palette)
{
    if (!Names(index))
        return 0;
    return FromQColor(palette.color(kRoles[index].group, kRoles[index].role));
}

std::uint32_t TranslateColor(std::uint32_t color, const QPalette& palette)
{
    if ((color & kSystemColorFlag) == 0)
        return color;
    return SysColor(color & ~kSystemColorFlag, palette);
}

std::optional<std::uint32_t> TranslateColorStrict(std::uint32_t color, const QPalette& palette)
{
    const std::uint32_t topByte = color >> 24;
    if (topByte == 0)
        return color;
    if (topByte == (kSystemColorFlag >> 24) && Names(color & ~kSystemColorFlag))
        return SysColor(color & ~kSystemColorFlag, palette);
    return std::nullopt;
}

QColor ToQColor(std::uint32_t color)
{
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8)
        | (static_cast<std::uint32_t>(rgb.blue()) << 16);
}

}  // namespace brimtor
