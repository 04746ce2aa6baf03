#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Reading and writing UTF-8 one character at a time. Text from the network is read as UTF-8
// wherever its bytes are well formed and as Latin-1 elsewhere, one character at a time, so a page
// that mixes the two (an old Latin-1 template around UTF-8 content, a body cut in the middle of a
// character) still reads as words.
namespace brimtor {

// Length of the well-formed UTF-8 sequence starting at `i` (no overlongs, no surrogates, nothing
// beyond U+10FFFF); 0 when the bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t i);

// The character at `i` and the number of bytes it takes: a well-formed UTF-8 sequence, else the
// one byte read as Latin-1. `i` must be inside `bytes`.
struct DecodedCharacter {
    char32_t character;
    std::size_t length;
};
DecodedCharacter DecodeUtf8OrLatin1(std::string_view bytes, std::size_t i);

// How many characters the bytes hold, read as DecodeUtf8OrLatin1 reads them: what a column of
// text takes on a terminal, where bytes would over-count every accented letter.
std::size_t CharacterCount(std::string_view bytes);

// Appends the UTF-8 form of a character up to U+10FFFF.
void AppendUtf8(std::string& text, char32_t character);

}  // namespace brimtor
