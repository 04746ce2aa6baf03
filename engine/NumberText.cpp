#include "engine/NumberText.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "support/Text.hpp"

namespace brimtor {

namespace {

// Walks a number's characters, optionally passing over the blanks, tabs and line feeds that a
// leading-number reader ignores anywhere.
class NumberScanner {
public:
    NumberScanner(std::string_view text, bool skipWhiteInside) : m_text(text), m_skip(skipWhiteInside) {}

    // Reads sign, mantissa and exponent; false when no digit was found.
    bool Scan()
    {
        if (Accept('-'))
            m_negative = true;
        else
            Accept('+');
        ReadDigits(m_integer);
        if (Accept('.'))
            ReadDigits(m_fraction);
        if (m_integer.empty() && m_fraction.empty())
            return false;
        ReadExponent();
        return true;
    }

    std::size_t End() { SkipWhite(); return m_pos; }

    double Value() const
    {
        const std::string mantissa = (m_integer.empty() ? "0" : m_integer) + "." + m_fraction + "0";
        const std::string text = mantissa + "e" + std::to_string(m_exponent);
        double value = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc::result_out_of_range)
            value = Overflows() ? std::numeric_limits<double>::infinity() : 0.0;
        return m_negative ? -value : value;
    }

private:
    void SkipWhite()
    {
        while (m_skip && m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n'))
            ++m_pos;
    }

    char Peek()
    {
        SkipWhite();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }

    bool Accept(char wanted)
    {
        if (Peek() != wanted)
            return false;
        ++m_pos;
        return true;
    }

    void ReadDigits(std::string& into)
    {
        while (IsAsciiDigit(Peek()))
            into += m_text[m_pos++];
    }

    // An exponent letter counts only when digits follow it; otherwise the number ends before it.
    void ReadExponent()
    {
        const std::size_t mark = m_pos;
        const char letter = Peek();
        if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') {
            m_pos = mark;
            return;
        }
        ++m_pos;
        bool negative = false;
        if (Accept('-'))
            negative = true;
        else
            Accept('+');
        std::string digits;
        ReadDigits(digits);
        if (digits.empty()) {
            m_pos = mark;
            return;
        }
        m_exponent = ClampedExponent(digits, negative);
    }

    // Exponents of any length are valid text; beyond a million the result is 0 or infinite anyway.
    static long ClampedExponent(const std::string& digits, bool negative)
    {
        constexpr long kLimit = 1000000;
        long value = 0;
        for (char c : digits) {
            value = value * 10 + (c - '0');
            if (value > kLimit) {
                value = kLimit;
                break;
            }
        }
        return negative ? -value : value;
    }

    // Whether an out-of-range result is too large rather than too small: the decimal magnitude
    // of the mantissa's first significant digit plus the exponent.
    bool Overflows() const
    {
        const std::size_t firstInteger = m_integer.find_first_not_of('0');
        long magnitude = 0;
        if (firstInteger != std::string::npos) {
            magnitude = static_cast<long>(m_integer.size() - firstInteger);
        } else {
            const std::size_t firstFraction = m_fraction.find_first_not_of('0');
            magnitude = firstFraction == std::string::npos ? 0 : -static_cast<long>(firstFraction);
        }
        return magnitude + m_exponent > 0;
    }

    std::string_view m_text;
    bool m_skip;
    std::size_t m_pos = 0;
    bool m_negative = false;
    std::string m_integer;
    std::string m_fraction;
    long m_exponent = 0;
};

}  // namespace

double LeadingNumber(std::string_view text)
{
    NumberScanner scanner(text, true);
    return scanner.Scan() ? scanner.Value() : 0.0;
}

std::optional<double> WholeNumber(std::string_view text)
{
    const std::string_view number = TrimSpacesView(text);
    if (number.empty())
        return std::nullopt;
    NumberScanner scanner(number, false);
    if (!scanner.Scan() || scanner.End() != number.size())
        return std::nullopt;
    return scanner.Value();
}

}  // namespace brimtor
