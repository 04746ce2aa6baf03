#pragma once

#include "bookmarks/PlacesReader.hpp"
#include "bookmarks/cBrowserProfile.hpp"

namespace brimtor {

// Source 1: the bookmarks of the default Firefox profile, found below ~/.mozilla/firefox/, or
// for the snap and flatpak builds below ~/snap/firefox/common/.mozilla/firefox/ and
// ~/.var/app/org.mozilla.firefox/.mozilla/firefox/ (of these, the one whose default profile's
// store changed last). Firefox keeps them in the profile's places.sqlite; an old profile
// without one still has its bookmarks.html.
class cFirefox : public cBrowserProfile {
public:
    explicit cFirefox(const SourceLocation& where = kNoLocation);

    // The profile holds places.sqlite or bookmarks.html.
    bool IsInstalled() const override;

    LoadOutcome GetBookMarks() override;

    // Cleans the store the last load read.
    CleanOutcome CleanUpBookmarks() override;

private:
    // The profile whose places.sqlite the last load read; empty when it read bookmarks.html.
    std::string m_placesFolder;
    PlacesLoad m_places;
};

}  // namespace brimtor
