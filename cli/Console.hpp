#pragma once

#include <iosfwd>
#include <string>

// How brimtor-check talks on the terminal.
namespace brimtor {

// Starts every line the command writes on standard error.
inline constexpr const char* kProgram = "brimtor-check: ";

bool IsTerminal(int descriptor);

// Writes the question followed by " [y/N] " and reads one line: true for "y" or "yes", in any case.
bool AnsweredYes(const std::string& question, std::istream& in, std::ostream& err);

}  // namespace brimtor
