#pragma once

#include "bookmarks/BookmarkSource.hpp"

namespace brimtor {

class cLinkMain;

// The two sources whose file the user names (the controller's TextFile): a text file of links
// and a bookmark HTML file. The controller keeps what their loads read, so they are thin: each
// hands its steps to the controller's own loader and writer.
class TextFileSource : public BookmarkSource {
public:
    explicit TextFileSource(cLinkMain& parent) : m_parent(parent) {}

    bool IsInstalled() const override { return true; }
    BookmarksPtr GetBookMarks() override;
    std::string WhyNotLoadable() const override;
    CleanOutcome CleanUpBookmarks() override;

protected:
    cLinkMain& m_parent;
};

class BookmarkFileSource : public TextFileSource {
public:
    using TextFileSource::TextFileSource;

    BookmarksPtr GetBookMarks() override;
    CleanOutcome CleanUpBookmarks() override;
};

}  // namespace brimtor
