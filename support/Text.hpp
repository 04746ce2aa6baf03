#pragma once

#include <string>
#include <string_view>
#include <vector>

// Byte-text helpers shared by every layer. Text is kept as the bytes it came in; only ASCII
// letters are folded, so names in any 8-bit code page compare the way the user typed them.
namespace brimtor {

char ToLowerAscii(char c);
bool IsAsciiLetter(char c);
bool IsAsciiDigit(char c);
std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);
// The value of a hex digit (either letter case), or -1 for any other character.
int HexDigitValue(char c);

// Equality and search without regard to ASCII letter case.
bool IEquals(std::string_view a, std::string_view b);
bool IStartsWith(std::string_view text, std::string_view prefix);
bool IEndsWith(std::string_view text, std::string_view suffix);
// Position of the first match at or after `from`, or std::string::npos.
std::size_t IFind(std::string_view text, std::string_view needle, std::size_t from = 0);

// The line end of a user's file: that of its first line, CR LF or a lone LF; CR LF for a text
// without any, the way such a file has always been written back.
std::string_view LineEndOf(std::string_view text);

// Splits a file into lines at its line end (LineEndOf), a piece of the file at a time. In a CR LF
// file only CR LF ends a line, so a lone LF or CR stays inside its line as such files have always
// been read. In an LF file every LF ends a line and a CR right before it belongs to the line
// end; a lone CR stays. Joined again with LineEndOf, the lines of a CR LF file or of an LF file
// give back its very bytes (a mixed file takes the line end of its first line).
class LineSplitter {
public:
    // Adds the lines this piece of the file completes.
    void Add(std::string_view piece, std::vector<std::string>& lines);
    // Adds the text after the last line end as the last line (empty when the file ends with
    // its line end).
    void Finish(std::vector<std::string>& lines);

private:
    enum class End { Unknown, Lf, CrLf };
    std::string m_pending;  // the unfinished line, a CR at its end included
    End m_end = End::Unknown;
};

// A whole file split the same way: "a\r\n" gives {"a", ""}, "a\nb" gives {"a", "b"}, "" gives
// {""}.
std::vector<std::string> SplitLines(std::string_view text);

// Splits at every `separator`, keeping every piece: "a;" gives {"a", ""} and "" gives {""}.
std::vector<std::string> SplitAt(std::string_view text, char separator);

// Removes blanks (code 32 only) at both ends; tabs and other control characters stay.
std::string TrimSpaces(std::string_view text);
// The same, as a view into the text.
std::string_view TrimSpacesView(std::string_view text);

// Removes, at both ends, every character whose 8-bit code is 32 or less (blanks and control
// characters, as left around an address by a hand-edited shortcut file).
std::string TrimBlanks(std::string_view text);

// First letter of every word upper case, every other letter lower case. Words are separated
// by NUL, tab, LF, vertical tab, form feed, CR and space.
std::string ProperCase(std::string_view text);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
long long RoundHalfEven(double value);

}  // namespace brimtor
