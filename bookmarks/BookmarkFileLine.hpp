#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The parts of one line of a bookmark HTML file that its reader and writer act on. A part starts
// at one of the tags <DT>, <DD>, <HR>, <DL> and </DL> (in any letter case), wherever it stands in
// the line, and runs up to the next of them or to the line's end. Browsers put several on one
// line: Firefox writes a separator as "<HR>" with the next entry right after it, and a hand-made
// file may hold "<DT><A …>…</A><DT><A …>…</A></DL><p>". Blanks before a tag, spaces or tabs,
// belong to no part.
namespace brimtor {

enum class LinePartKind {
    Folder,       // <DT><H…
    Bookmark,     // <DT><A…
    Description,  // <DD>
    ListStart,    // <DL>
    ListEnd,      // </DL>
    Other,        // a separator (<HR>), or a <DT> that holds neither
};

struct LinePart {
    LinePartKind kind;
    std::size_t start;  // of its tag
    std::size_t end;    // of the part: where the next part's tag starts, or the line's length
};

// The parts of the line in their order, into `parts` (emptied first, so a caller walking many
// lines reuses its room). A quoted attribute value of a folder's or a bookmark's own tag may
// hold anything: no part starts inside it.
void SplitLineParts(std::string_view line, std::vector<LinePart>& parts);

}  // namespace brimtor
