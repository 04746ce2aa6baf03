#include "support/Text.hpp"

#include <algorithm>
#include <cmath>

namespace brimtor {

char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

static char ToUpperAsciiChar(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c)
{
    if (IsAsciiDigit(c))
        return c - '0';
    const char lower = ToLowerAscii(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

std::string ToLowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = ToLowerAscii(c);
    return out;
}

std::string ToUpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = ToUpperAsciiChar(c);
    return out;
}

bool IEquals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i]))
            return false;
    }
    return true;
}

bool IStartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && IEquals(text.substr(0, prefix.size()), prefix);
}

bool IEndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size()
        && IEquals(text.substr(text.size() - suffix.size()), suffix);
}

std::size_t IFind(std::string_view text, std::string_view needle, std::size_t from)
{
    if (needle.size() > text.size())
        return std::string::npos;
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (IEquals(text.substr(i, needle.size()), needle))
            return i;
    }
    return std::string::npos;
}

static std::vector<std::string> SplitAtEvery(std::string_view text, std::string_view separator)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, end - start));
        start = end + separator.size();
    }
}

std::string_view LineEndOf(std::string_view text)
{
    const std::size_t lf = text.find('\n');
    return lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r') ? "\n" : "\r\n";
}

void LineSplitter::Add(std::string_view piece, std::vector<std::string>& lines)
{
    for (std::size_t lf = piece.find('\n'); lf != std::string_view::npos; lf = piece.find('\n')) {
        m_pending.append(piece.substr(0, lf));
        piece.remove_prefix(lf + 1);
        // The CR may have come with the piece before.
        const bool cr = !m_pending.empty() && m_pending.back() == '\r';
        if (m_end == End::Unknown)
            m_end = cr ? End::CrLf : End::Lf;
        if (m_end == End::CrLf && !cr) {
            m_pending.push_back('\n');
            continue;
        }
        if (cr)
            m_pending.pop_back();
        lines.push_back(std::move(m_pending));
        m_pending.clear();
    }
    m_pending.append(piece);
}

void LineSplitter::Finish(std::vector<std::string>& lines)
{
    lines.push_back(std::move(m_pending));
    m_pending.clear();
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    LineSplitter splitter;
    splitter.Add(text, lines);
    splitter.Finish(lines);
    return lines;
}

std::vector<std::string> SplitAt(std::string_view text, char separator)
{
    return SplitAtEvery(text, std::string_view(&separator, 1));
}

std::string_view TrimSpacesView(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

std::string TrimSpaces(std::string_view text)
{
    return std::string(TrimSpacesView(text));
}

static bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string TrimBlanks(std::string_view text)
{
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlankOrControl);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlankOrControl).base();
    return first < last ? std::string(first, last) : std::string();
}

static bool IsWordSeparator(char c)
{
    switch (c) {
    case '\0': case '\t': case '\n': case '\v': case '\f': case '\r': case ' ':
        return true;
    default:
        return false;
    }
}

std::string ProperCase(std::string_view text)
{
    std::string out(text);
    bool wordStart = true;
    for (char& c : out) {
        if (IsWordSeparator(c)) {
            wordStart = true;
            continue;
        }
        c = wordStart ? ToUpperAsciiChar(c) : ToLowerAscii(c);
        wordStart = false;
    }
    return out;
}

long long RoundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return static_cast<long long>(std::nearbyint(value));
}

}  // namespace brimtor
