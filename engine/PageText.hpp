#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What a page says, read from the first bytes of its body for the look inside pages that answer.
// Every text here is in "words" form: lower case, letters and digits (an apostrophe inside a word
// stays), everything else - tags, punctuation, symbols, blanks - one blank between words. Phrase
// tables and addresses go through the same form, so "Page not found!" and "page-not-found"
// compare equal.
namespace brimtor {

// How much of a body the look reads; a longer body is read up to here.
constexpr std::size_t kLookBodyBytes = 64 * 1024;

struct PageText {
    std::string title;    // the first <title>
    std::string heading;  // the first h1 or h2 that holds any words
    std::string text;     // every visible word of the body, the heading's included
};

// Reads an HTML page (or plain text) from the raw bytes of its body. Scripts, styles, templates,
// comments and drawings (svg, math) are left out; entities are decoded (the common named ones and
// every numeric one); bytes are UTF-8 where they are well formed and Latin-1 elsewhere, whatever
// character set `contentType` names. Of `contentType` only the type counts: a body whose type is
// neither HTML (or XML, or none) nor text reads as no words at all.
//
// The body is untrusted: the work is one pass over at most kLookBodyBytes, whatever the nesting,
// and an unclosed tag, comment, quote or script ends the reading at the end of the body.
PageText ReadPage(std::string_view body, std::string_view contentType = {});

// Plain text (an address's path, a phrase) in words form; no tags or entities are read.
std::string MatchingWords(std::string_view bytes);

}  // namespace brimtor
