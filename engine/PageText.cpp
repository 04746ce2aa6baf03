#include "engine/PageText.hpp"

#include <algorithm>
#include <iterator>
#include <optional>

#include "support/Text.hpp"
#include "support/Utf8.hpp"

namespace brimtor {

namespace {

// A title or heading longer than this is no notice page's; the rest of it is not kept.
constexpr std::size_t kShortTextBytes = 1024;

// Characters that part words. Beyond ASCII only the punctuation, symbol, private-use (icon fonts)
// and pictograph blocks do; every other character is taken for a letter, so words in any script
// stay words.
bool PartsWords(char32_t c)
{
    if (c < 0x80)
        return !IsAsciiLetter(static_cast<char>(c)) && !IsAsciiDigit(static_cast<char>(c));
    return c <= 0xBF || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x2BFF)
        || (c >= 0x3000 && c <= 0x303F) || (c >= 0xE000 && c <= 0xF8FF) || (c >= 0xFE00 && c <= 0xFE6F)
        || (c >= 0xFF00 && c <= 0xFF20) || (c >= 0xFFF0 && c <= 0xFFFF) || c >= 0x1F000;
}

// Lower case for ASCII and the Latin-1 letters; typographic apostrophes (U+2019 and its kin) read
// as "'", so a typeset "doesn't" is the same word as a typed one.
char32_t Folded(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0x2018 || c == 0x2019 || c == 0x02BC)
        return '\'';
    return c;
}

// Collects characters in words form, up to `limit` bytes.
class WordSink {
public:
    explicit WordSink(std::size_t limit = std::string::npos) : m_limit(limit) {}

    void Add(char32_t c);
    void Part()
    {
        m_parted = true;
        m_apostrophe = false;
    }
    bool Empty() const { return m_text.empty(); }
    std::string Take() { return std::move(m_text); }

private:
    std::string m_text;
    std::size_t m_limit;
    bool m_parted = false;      // a blank is due before the next word character
    bool m_apostrophe = false;  // an apostrophe is due if a word character follows at once
};

// Soft hyphens, zero-width joiners and byte-order marks sit inside words without parting them.
bool IsInvisible(char32_t c) { return c == 0xAD || (c >= 0x200B && c <= 0x200D) || c == 0x2060 || c == 0xFEFF; }

void WordSink::Add(char32_t c)
{
    if (IsInvisible(c))
        return;
    c = Folded(c);
    if (c == '\'' && !m_text.empty() && !m_parted && !m_apostrophe) {
        m_apostrophe = true;  // kept only between two word characters: 'quoted' is no word of its own
        return;
    }
    if (PartsWords(c)) {
        Part();
        return;
    }
    if (m_text.size() >= m_limit)
        return;
    if (m_apostrophe)
        m_text += '\'';
    else if (m_parted && !m_text.empty())
        m_text += ' ';
    m_parted = m_apostrophe = false;
    AppendUtf8(m_text, c);
}

struct NamedEntity {
    std::string_view name;
    char32_t character;
};

// The entities pages use for text; letters with accents beyond these are written as themselves
// in UTF-8 pages, and an unknown name stays as written (its "&" parts words).
constexpr NamedEntity kEntities[] = {
    {"amp", '&'},      {"lt", '<'},       {"gt", '>'},       {"quot", '"'},     {"apos", '\''},
    {"nbsp", 0xA0},    {"copy", 0xA9},    {"reg", 0xAE},     {"trade", 0x2122}, {"hellip", 0x2026},
    {"mdash", 0x2014}, {"ndash", 0x2013}, {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"ldquo", 0x201C},
    {"rdquo", 0x201D}, {"laquo", 0xAB},   {"raquo", 0xBB},   {"middot", 0xB7},  {"bull", 0x2022},
    {"times", 0xD7},   {"euro", 0x20AC},  {"aacute", 0xE1},  {"agrave", 0xE0},  {"acirc", 0xE2},
    {"auml", 0xE4},    {"Auml", 0xC4},    {"ccedil", 0xE7},  {"eacute", 0xE9},  {"Eacute", 0xC9},
    {"egrave", 0xE8},  {"ecirc", 0xEA},   {"iacute", 0xED},  {"ntilde", 0xF1},  {"oacute", 0xF3},
    {"ocirc", 0xF4},   {"ouml", 0xF6},    {"Ouml", 0xD6},    {"uacute", 0xFA},  {"uuml", 0xFC},
    {"Uuml", 0xDC},    {"szlig", 0xDF},   {"shy", 0xAD},     {"zwnj", 0x200C},
};
constexpr std::size_t kLongestEntityName = 6;

// A numeric reference "&#233;" or "&#xE9;" (the ";" may be missing, as browsers allow) at the
// start of `at`; a number that is no character reads as U+FFFD.
std::optional<DecodedCharacter> NumericEntity(std::string_view at)
{
    std::size_t i = 2;
    const bool hex = i < at.size() && (at[i] == 'x' || at[i] == 'X');
    i += hex ? 1 : 0;
    const int base = hex ? 16 : 10;
    const auto digit = [base](char c) {
        const int value = HexDigitValue(c);
        return value < base ? value : -1;
    };
    const std::size_t first = i;
    char32_t value = 0;
    for (; i < at.size() && digit(at[i]) >= 0; ++i) {
        // Eight digits already lie beyond U+10FFFF; later ones only lengthen the reference.
        if (i - first < 8)
            value = value * static_cast<char32_t>(base) + static_cast<char32_t>(digit(at[i]));
        else
            value = 0x110000;
    }
    if (i == first)
        return std::nullopt;
    if (i < at.size() && at[i] == ';')
        ++i;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        value = 0xFFFD;
    return DecodedCharacter{value, i};
}

// The entity at the start of `at` (which starts with "&"), or nothing when there is none.
std::optional<DecodedCharacter> Entity(std::string_view at)
{
    if (at.size() > 1 && at[1] == '#')
        return NumericEntity(at);
    const std::size_t semicolon = at.substr(0, kLongestEntityName + 2).find(';');
    if (semicolon == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = at.substr(1, semicolon - 1);
    const auto known = std::find_if(std::begin(kEntities), std::end(kEntities),
                                    [&](const NamedEntity& entity) { return entity.name == name; });
    if (known == std::end(kEntities))
        return std::nullopt;
    return DecodedCharacter{known->character, semicolon + 1};
}

// Elements whose content is never shown as the page's text: code, style, inert templates, and
// drawings whose own titles would pass for the page's.
constexpr std::string_view kSkippedElements[] = {"script", "style", "template", "svg", "math"};

// Elements that sit inside a line of text: they do not part the words around them, so
// "<b>4</b><i>04</i>" still reads "404".
constexpr std::string_view kInlineElements[] = {
    "a",    "abbr", "b",     "bdi",  "bdo", "big",   "cite",  "code",   "data",   "del", "dfn",
    "em",   "font", "i",     "ins",  "kbd", "mark",  "q",     "s",      "samp",   "small", "span",
    "strike", "strong", "sub", "sup", "time", "tt",  "u",     "var",    "wbr"};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::string_view (&names)[N])
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

bool IsHeading(std::string_view name) { return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6'; }

// One pass over the page. Nothing is nested on the call stack: the state is a handful of flags,
// so a hostile page's depth costs nothing, and every search for an end moves the position past
// what it searched (or to the end of the body when the end never comes).
class PageReader {
public:
    explicit PageReader(std::string_view html) : m_in(html) {}

    PageText Read();

private:
    char32_t NextCharacter(std::size_t end);
    void ReadMarkup();
    std::size_t TagEnd(std::size_t from) const;
    void SkipPast(std::string_view end, std::size_t from);
    void StartTag(std::string_view name);
    void EndTag(std::string_view name);
    void ReadTitle();
    void Add(char32_t c);
    void Part();

    std::string_view m_in;
    std::size_t m_pos = 0;
    WordSink m_title{kShortTextBytes};
    WordSink m_heading{kShortTextBytes};
    WordSink m_text;
    bool m_inHeading = false;
    bool m_headingRead = false;
};

PageText PageReader::Read()
{
    while (m_pos < m_in.size()) {
        if (m_in[m_pos] == '<')
            ReadMarkup();
        else
            Add(NextCharacter(m_in.size()));
    }
    return {m_title.Take(), m_heading.Take(), m_text.Take()};
}

// The character at the position, an entity or text, read no further than `end`.
char32_t PageReader::NextCharacter(std::size_t end)
{
    const std::string_view rest = m_in.substr(0, end);
    if (rest[m_pos] == '&') {
        const std::optional<DecodedCharacter> entity = Entity(rest.substr(m_pos));
        const DecodedCharacter read = entity.value_or(DecodedCharacter{'&', 1});
        m_pos += read.length;
        return read.character;
    }
    const DecodedCharacter read = DecodeUtf8OrLatin1(rest, m_pos);
    m_pos += read.length;
    return read.character;
}

void PageReader::ReadMarkup()
{
    const std::string_view rest = m_in.substr(m_pos);
    if (rest.substr(0, 4) == "<!--") {
        Part();
        SkipPast("-->", m_pos + 4);
        return;
    }
    if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) {
        Part();
        SkipPast(">", m_pos + 2);
        return;
    }
    const bool closing = rest.size() > 1 && rest[1] == '/';
    const std::size_t nameStart = m_pos + (closing ? 2 : 1);
    if (nameStart >= m_in.size() || !IsAsciiLetter(m_in[nameStart])) {
        Add(static_cast<unsigned char>(m_in[m_pos++]));  // a "<" in text, such as "a < b"
        return;
    }
    const std::size_t nameEnd = std::min(m_in.find_first_of(" \t\n\r\f/>", nameStart), m_in.size());
    // A name longer than any element's is no element this reader acts on.
    const std::string name = nameEnd - nameStart <= 10 ? ToLowerAscii(m_in.substr(nameStart, nameEnd - nameStart)) : "";
    m_pos = TagEnd(nameEnd);
    if (!IsOneOf(name, kInlineElements))
        Part();
    if (closing)
        EndTag(name);
    else
        StartTag(name);
}

// The position after the ">" that ends a tag whose attributes start at `from`. A ">" inside a
// quoted attribute value does not end it; an unclosed quote or tag runs to the end of the body.
std::size_t PageReader::TagEnd(std::size_t from) const
{
    std::size_t i = from;
    while (i < m_in.size() && m_in[i] != '>') {
        if (m_in[i] == '=') {
            i = m_in.find_first_not_of(" \t\n\r\f", i + 1);
            if (i == std::string_view::npos)
                return m_in.size();
            if (m_in[i] == '"' || m_in[i] == '\'') {
                const std::size_t close = m_in.find(m_in[i], i + 1);
                if (close == std::string_view::npos)
                    return m_in.size();
                i = close;
            } else {
                continue;
            }
        }
        ++i;
    }
    return std::min(i + 1, m_in.size());
}

void PageReader::SkipPast(std::string_view end, std::size_t from)
{
    const std::size_t found = IFind(m_in, end, std::min(from, m_in.size()));
    m_pos = found == std::string_view::npos ? m_in.size() : found + end.size();
}

void PageReader::StartTag(std::string_view name)
{
    if (name == "title") {
        ReadTitle();
    } else if (IsOneOf(name, kSkippedElements)) {
        const std::size_t end = IFind(m_in, std::string("</") + std::string(name), m_pos);
        m_pos = end == std::string_view::npos ? m_in.size() : TagEnd(end + 2 + name.size());
    } else if ((name == "h1" || name == "h2") && !m_headingRead) {
        m_inHeading = true;
    }
}

void PageReader::EndTag(std::string_view name)
{
    if (m_inHeading && IsHeading(name)) {
        m_inHeading = false;
        m_headingRead = !m_heading.Empty();
    }
}

// A title's text holds no tags: everything up to "</title" is text, entities included.
void PageReader::ReadTitle()
{
    const std::size_t end = std::min(IFind(m_in, "</title", m_pos), m_in.size());
    const bool wanted = m_title.Empty();
    while (wanted && m_pos < end)
        m_title.Add(NextCharacter(end));
    m_title.Part();
    m_pos = end == m_in.size() ? end : TagEnd(end + 7);
}

void PageReader::Add(char32_t c)
{
    m_text.Add(c);
    if (m_inHeading)
        m_heading.Add(c);
}

void PageReader::Part()
{
    m_text.Part();
    m_heading.Part();
}

enum class BodyKind { Html, PlainText, Other };

BodyKind KindOf(std::string_view contentType)
{
    const std::string type = TrimBlanks(contentType.substr(0, contentType.find(';')));
    if (type.empty() || IFind(type, "html") != std::string::npos || IFind(type, "xml") != std::string::npos)
        return BodyKind::Html;
    return IStartsWith(type, "text/") ? BodyKind::PlainText : BodyKind::Other;
}

}  // namespace

std::string MatchingWords(std::string_view bytes)
{
    WordSink words;
    for (std::size_t i = 0; i < bytes.size();) {
        const DecodedCharacter read = DecodeUtf8OrLatin1(bytes, i);
        words.Add(read.character);
        i += read.length;
    }
    return words.Take();
}

PageText ReadPage(std::string_view body, std::string_view contentType)
{
    body = body.substr(0, kLookBodyBytes);
    switch (KindOf(contentType)) {
    case BodyKind::Html: return PageReader(body).Read();
    case BodyKind::PlainText: return {{}, {}, MatchingWords(body)};
    case BodyKind::Other: break;
    }
    return {};
}

}  // namespace brimtor
