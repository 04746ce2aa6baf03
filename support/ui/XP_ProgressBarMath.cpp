#include "support/ui/XP_ProgressBarMath.hpp"

#include <algorithm>
#include <limits>

#include "support/NumberedError.hpp"
#include "support/Text.hpp"

namespace brimtor::xp {

namespace {

constexpr const char* kSource = "XP_ProgressBar: Value";

std::int32_t Red(std::uint32_t c) { return static_cast<std::int32_t>(c & 0xFF); }
std::int32_t Green(std::uint32_t c) { return static_cast<std::int32_t>((c >> 8) & 0xFF); }
std::int32_t Blue(std::uint32_t c) { return static_cast<std::int32_t>((c >> 16) & 0xFF); }

std::uint32_t Rgb(std::int32_t red, std::int32_t green, std::int32_t blue)
{
    return static_cast<std::uint32_t>(red + green * 256 + blue * 65536);
}

bool FitsInt32(double value)
{
    return value >= std::numeric_limits<std::int32_t>::min()
        && value <= std::numeric_limits<std::int32_t>::max();
}

// Rounds a computed position; a result beyond 32 bits is the caller's overflow.
std::int32_t RoundChecked(double value)
{
    const double rounded = static_cast<double>(RoundHalfEven(value));
    if (!FitsInt32(rounded))
        throw NumberedError(kOverflow, kSource, "Overflow");
    return static_cast<std::int32_t>(rounded);
}

std::int32_t LightenChannel(std::int32_t channel, std::int32_t amount)
{
    return std::min(255, channel * (255 - amount) / 255 + amount);
}

std::int32_t BlendChannel(std::int32_t first, std::int32_t second, std::int32_t amount)
{
    return Round(second * (255.0 - amount) / 255.0 + first * static_cast<double>(amount) / 255.0);
}

std::int32_t GradientChannel(std::int32_t from, std::int32_t to, std::int32_t lines, std::int32_t line)
{
    // A gradient of no lines has no step: the division fails and is passed over.
    const float step = lines == 0 ? 0.0f : static_cast<float>(static_cast<double>(to - from) / lines);
    return std::clamp(Round(from + static_cast<double>(step) * line), 0, 255);
}

double Fraction(std::int32_t percent)
{
    return std::max(0.0, percent / 98.0);
}

}  // namespace

std::int32_t Round(double value)
{
    // Pixel positions of absurd percentages saturate instead of wrapping.
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(RoundHalfEven(std::clamp(value, kLowest, kHighest)));
}

std::uint32_t Lighten(std::uint32_t color, std::int32_t amount)
{
    return Rgb(LightenChannel(Red(color), amount), LightenChannel(Green(color), amount),
               LightenChannel(Blue(color), amount));
}

std::uint32_t Blend(std::uint32_t first, std::uint32_t second, std::int32_t amount)
{
    return Rgb(BlendChannel(Red(first), Red(second), amount),
               BlendChannel(Green(first), Green(second), amount),
               BlendChannel(Blue(first), Blue(second), amount));
}

std::uint32_t Darken(std::uint32_t color, std::int32_t amount)
{
    return Blend(color, 0, amount);
}

std::uint32_t GradientColor(std::uint32_t from, std::uint32_t to, std::int32_t lines, std::int32_t line)
{
    return Rgb(GradientChannel(Red(from), Red(to), lines, line),
               GradientChannel(Green(from), Green(to), lines, line),
               GradientChannel(Blue(from), Blue(to), lines, line));
}

std::int32_t PercentFromValue(std::int32_t value, std::int32_t min, std::int32_t max)
{
    const std::int64_t scaled = static_cast<std::int64_t>(value) * 100;
    if (!FitsInt32(static_cast<double>(scaled)))
        throw NumberedError(kOverflow, kSource, "Overflow");
    if (max == 0)
        throw NumberedError(kDivisionByZero, kSource, "Division by zero");
    return RoundChecked(static_cast<double>(scaled) / max + min);
}

std::int32_t ValueFromPercent(std::int32_t percent, std::int32_t min, std::int32_t max)
{
    const double divisor = min >= 1 ? min : 1;
    return RoundChecked(percent / 100.0 * max / divisor);
}

std::int32_t BarRight(std::int32_t width, std::int32_t percent, std::int32_t step)
{
    const std::int32_t x = Round((width - 3) * Fraction(percent) + 3);
    return std::max(3, x - (x - 3) % step);
}

std::int32_t BarTop(std::int32_t height, std::int32_t percent, std::int32_t step)
{
    const std::int32_t y = Round(height * (1.0 - Fraction(percent)));
    return std::min(height, y - (y - height) % step);
}

}  // namespace brimtor::xp
