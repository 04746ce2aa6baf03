#pragma once

#include <cstdint>

// The arithmetic behind the drawn progress bar, apart from any drawing so that every rounding
// and every raised error can be checked on its own. Colours are RGB values 0x00BBGGRR; system
// colour names must be translated before they come here.
namespace brimtor::xp {

// Numbers of the arithmetic errors that setting or reading the position raises.
inline constexpr long kOverflow = 6;
inline constexpr long kDivisionByZero = 11;

// Moves every channel towards white: channel * (255 - amount) / 255 + amount (whole-number
// division), at most 255.
std::uint32_t Lighten(std::uint32_t color, std::int32_t amount);

// Mixes `second * (255 - amount) / 255 + first * amount / 255` per channel, halves to even.
std::uint32_t Blend(std::uint32_t first, std::uint32_t second, std::int32_t amount);

// Scales every channel of `color` by amount / 255: a blend with black.
std::uint32_t Darken(std::uint32_t color, std::int32_t amount);

// Colour of line `line` (0 … lines) of a gradient from `from` to `to` drawn as lines + 1 lines.
// The step per line is kept in single precision; with lines 0 there is no step at all and the
// one line gets `from`.
std::uint32_t GradientColor(std::uint32_t from, std::uint32_t to, std::int32_t lines, std::int32_t line);

// The percentage kept for `value`: round(value * 100 / max + min), value * 100 first as a 32-bit
// number. Throws NumberedError kDivisionByZero when max is 0 and kOverflow when a number leaves
// the 32-bit range.
std::int32_t PercentFromValue(std::int32_t value, std::int32_t min, std::int32_t max);

// The position shown for `percent`: round(percent / 100 * max / d), d being min when min is 1
// or more, else 1. Throws NumberedError kOverflow when the result leaves the 32-bit range.
std::int32_t ValueFromPercent(std::int32_t percent, std::int32_t min, std::int32_t max);

// Right edge of a horizontal bar in a client `width` pixels wide: a whole number of `step`s
// from x = 3, never left of 3. The bar reaches the far end a little before 100 %.
std::int32_t BarRight(std::int32_t width, std::int32_t percent, std::int32_t step);

// Top edge of a vertical bar in a client `height` pixels high: a whole number of `step`s up from
// the bottom, never below it.
std::int32_t BarTop(std::int32_t height, std::int32_t percent, std::int32_t step);

// Nearest whole number of a pixel computation, halves to even, held within 32 bits.
std::int32_t Round(double value);

}  // namespace brimtor::xp
