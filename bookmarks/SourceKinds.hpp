#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

// The source codes: the index of the source option in the wizard and the stored setting.
namespace SourceCode {
constexpr std::int32_t None = -1;
constexpr std::int32_t Favorites = 0;
constexpr std::int32_t Firefox = 1;
constexpr std::int32_t Netscape = 2;
constexpr std::int32_t TextFile = 3;
constexpr std::int32_t BookmarkFile = 4;
constexpr std::int32_t Chromium = 5;
}  // namespace SourceCode

// How the user names the file of a source that reads a file of their choice: the box and the
// browse button beside its option, and the file chooser that button opens.
struct FileChoice {
    const char* boxName;      // the box's objectName ("txtFile")
    const char* browseName;   // the browse button's ("cmdBrowse")
    const char* what;         // for a screen reader: "Text file"
    const char* description;  // "A text file with one link per line"
    const char* dialogTitle;  // "Select a file: "
    const char* defaultExt;   // "txt"
    const char* filter;       // "Text files (*.txt,*.csv)|*.txt;*.csv"
    bool typingNamesFile;     // typing in the box names the file, not only the browse button
};

// Everything the program knows about one kind of source, in one row: the controller makes the
// source from it, the window builds its option (and its file box) from it, the command line
// names it from it.
struct SourceKind {
    std::int32_t code;
    const char* caption;      // the window's option
    const char* commandWord;  // brimtor-check --source WORD
    const char* whatItIs;     // for messages: "the Favorites", "the default Firefox profile"
    const FileChoice* file;   // how the user names its file; nullptr when the source finds its own
    std::unique_ptr<BookmarkSource> (*make)(const SourceLocation& where);
};

// Every kind, in code order from 0: the codes are the rows' positions.
const std::vector<SourceKind>& SourceKinds();

// The kind with that code in the table, or nullptr.
const SourceKind* FindSourceKind(std::int32_t code, const std::vector<SourceKind>& kinds = SourceKinds());

}  // namespace brimtor
