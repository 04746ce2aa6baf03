#pragma once

#include <cstdint>
#include <optional>

#include <QColor>
#include <QPalette>

// Colours travel through the program as 32-bit values 0x00BBGGRR. A value with the top bit set
// (0x80000000 + n) names the desktop's colour number n (13 is the selection highlight, 15 the
// face of a button, …); these helpers resolve such names from a Qt palette, so the bar and the
// colour chooser follow the user's theme.
namespace brimtor {

inline constexpr std::uint32_t kSystemColorFlag = 0x80000000u;

// The RGB value of system colour number `index`, or 0 (black) for a number that names nothing.
std::uint32_t SysColor(std::uint32_t index, const QPalette& palette);

// `color` itself when its top bit is clear, else the system colour it names.
std::uint32_t TranslateColor(std::uint32_t color, const QPalette& palette);

// Like TranslateColor, but refuses what is not a colour: a system colour number that names
// nothing, or a value whose top byte is neither 0 nor the system flag.
std::optional<std::uint32_t> TranslateColorStrict(std::uint32_t color, const QPalette& palette);

QColor ToQColor(std::uint32_t color);
std::uint32_t FromQColor(const QColor& color);

}  // namespace brimtor
