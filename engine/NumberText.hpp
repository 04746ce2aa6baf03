#pragma once

#include <optional>
#include <string_view>

// Readers for numbers written as text in server answers and in the proxy port box. Both take an
// optional sign, digits with one decimal point, and an exponent introduced by E or D, and never
// depend on the user's locale.
namespace brimtor {

// The number at the start of the text, or 0 when there is none. Blanks, tabs and line feeds are
// passed over wherever they stand ("1 2" reads 12); the number ends at the first other character
// that cannot continue it. Results beyond the range of a double are infinite.
double LeadingNumber(std::string_view text);

// The text read as one number with nothing but blanks around it, or nothing when it is not one.
std::optional<double> WholeNumber(std::string_view text);

}  // namespace brimtor
