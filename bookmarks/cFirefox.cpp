#include "bookmarks/cFirefox.hpp"

#include <string>

#include "bookmarks/PlacesCleaner.hpp"
#include "support/ErrorLog.hpp"
#include "support/modFileFunctions.hpp"

namespace brimtor {

static const BrowserProfileTraits kFirefox {"SOFTWARE\\Mozilla\\Mozilla Firefox\\",
                                            {"/.mozilla/firefox/", "/snap/firefox/common/.mozilla/firefox/",
                                             "/.var/app/org.mozilla.firefox/.mozilla/firefox/"},
                                            1, "cFirefox", "Firefox", true};

static const char* const kPlaces = "/places.sqlite";

cFirefox::cFirefox()
    : cBrowserProfile(kFirefox)
{
}

bool cFirefox::IsInstalled() const
{
    const std::string folder = ProfileFolder();
    return FileExists(folder + kPlaces) || FileExists(folder + "/bookmarks.html");
}

std::string cFirefox::FoundWhere() const
{
    return IsInstalled() ? "Firefox, profile " + ProfileFolder() : std::string();
}

BookmarksPtr cFirefox::GetBookMarks()
{
    DefaultProfile();
    const std::string folder = ProfileFolder();
    m_placesFolder.clear();
    m_places = {};
    if (FileExists(folder + kPlaces)) {
        m_placesFolder = folder;
        m_places = ReadPlaces(folder + kPlaces);
        return m_places.bookmarks;
    }
    BookmarksPtr bookmarks;
    LogFailure(std::string(kFirefox.className) + ": GetBookMarks", [&] { bookmarks = LoadBookmarks(); });
    return bookmarks;
}

std::string cFirefox::WhyNotLoadable() const
{
    return m_places.whyNot.empty() ? cBrowserProfile::WhyNotLoadable() : m_places.whyNot;
}

CleanOutcome cFirefox::CleanUpBookmarks()
{
    if (m_placesFolder.empty())
        return cBrowserProfile::CleanUpBookmarks();
    if (!m_places.bookmarks)
        return {CleanResult::Cleaned, 0, {}, {}};
    return CleanPlaces(m_placesFolder, *m_places.bookmarks, m_places.rows);
}

}  // namespace brimtor
