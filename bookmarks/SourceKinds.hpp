#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

class cLinkMain;

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

// Everything the program knows about one kind of source, in one row: the controller makes the
// source from it, the window builds its option from it, the command line names it from it.
struct SourceKind {
    std::int32_t code;
    const char* caption;      // the window's option
    const char* commandWord;  // brimtor-check --source WORD
    const char* whatItIs;     // for messages: "the Favorites", "the default Firefox profile"
    bool namedFile;           // the user names the file (text file, bookmark HTML file)
    std::unique_ptr<BookmarkSource> (*make)(cLinkMain& parent);
};

// Every kind, in code order from 0: the codes are the rows' positions.
const std::vector<SourceKind>& SourceKinds();

// The kind with that code, or nullptr.
const SourceKind* FindSourceKind(std::int32_t code);

}  // namespace brimtor
