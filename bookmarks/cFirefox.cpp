#include "bookmarks/cFirefox.hpp"

#include <string>

#include "bookmarks/PlacesCleaner.hpp"
#include "support/modFileFunctions.hpp"

namespace brimtor {

static const BrowserProfileTraits kFirefox {"SOFTWARE\\Mozilla\\Mozilla Firefox\\",
                                            {"/.mozilla/firefox/", "/snap/firefox/common/.mozilla/firefox/",
                                             "/.var/app/org.mozilla.firefox/.mozilla/firefox/"},
                                            1, "Firefox", true, {"places.sqlite", "bookmarks.html"}};

static const char* const kPlaces = "/places.sqlite";

cFirefox::cFirefox(const SourceLocation& where)
    : cBrowserProfile(kFirefox, where)
{
}

bool cFirefox::IsInstalled() const
{
    const std::string folder = ProfileFolder();
    return FileExists(folder + kPlaces) || FileExists(folder + "/bookmarks.html");
}

LoadOutcome cFirefox::GetBookMarks()
{
    const std::string folder = ChooseProfile();
    m_placesFolder.clear();
    m_places = {};
    if (!FileExists(folder + kPlaces))
        return LoadBookmarks();
    m_placesFolder = folder;
    m_places = ReadPlaces(folder + kPlaces);
    return m_places;
}

CleanOutcome cFirefox::CleanUpBookmarks()
{
    if (m_placesFolder.empty())
        return cBrowserProfile::CleanUpBookmarks();
    if (!m_places.bookmarks)
        return {};
    return CleanPlaces(m_placesFolder, m_places);
}

}  // namespace brimtor
