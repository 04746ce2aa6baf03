#include "bookmarks/BookmarkFileLine.hpp"

#include <array>

#include "support/Text.hpp"

namespace brimtor {

namespace {

struct Tag {
    std::string_view text;
    LinePartKind kind;  // of a part it starts; a <DT> is told apart by what follows it
};

constexpr std::array<Tag, 5> kTags {{
    {"<DT>", LinePartKind::Other},
    {"<DD>", LinePartKind::Description},
    {"<HR>", LinePartKind::Other},
    {"<DL>", LinePartKind::ListStart},
    {"</DL>", LinePartKind::ListEnd},
}};

// The first tag at or after `from`: its position and kind; the line's length when there is none.
LinePart NextTag(std::string_view line, std::size_t from)
{
    for (std::size_t at = line.find('<', from); at != std::string_view::npos; at = line.find('<', at + 1)) {
        const std::string_view rest = line.substr(at);
        for (const Tag& tag : kTags) {
            if (!IStartsWith(rest, tag.text))
                continue;
            LinePartKind kind = tag.kind;
            if (tag.text == "<DT>" && IStartsWith(rest.substr(4), "<A"))
                kind = LinePartKind::Bookmark;
            else if (tag.text == "<DT>" && IStartsWith(rest.substr(4), "<H"))
                kind = LinePartKind::Folder;
            return {kind, at, at + tag.text.size()};
        }
    }
    return {LinePartKind::Other, line.size(), line.size()};
}

// Just past the ">" that closes the tag starting at `from`, passing over quoted values; the
// line's length when it does not close.
std::size_t PastTag(std::string_view line, std::size_t from)
{
    bool quoted = false;
    for (std::size_t at = line.find_first_of("\">", from); at != std::string_view::npos;
         at = line.find_first_of("\">", at + 1)) {
        if (line[at] == '"')
            quoted = !quoted;
        else if (!quoted)
            return at + 1;
    }
    return line.size();
}

}  // namespace

void SplitLineParts(std::string_view line, std::vector<LinePart>& parts)
{
    parts.clear();
    LinePart next = NextTag(line, 0);
    while (next.start < line.size()) {
        LinePart part = next;
        // An entry's own tag comes whole before the search for the next part goes on.
        const bool entry = part.kind == LinePartKind::Bookmark || part.kind == LinePartKind::Folder;
        next = NextTag(line, entry ? PastTag(line, part.end) : part.end);
        part.end = next.start;
        parts.push_back(part);
    }
}

}  // namespace brimtor
