#include "bookmarks/cIE.hpp"

#include <filesystem>
#include <utility>

#include "bookmarks/cLinkMain.hpp"
#include "support/MessageBox.hpp"
#include "support/Text.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

namespace {

std::string& RuntimeVersion()
{
    static std::string version;
    return version;
}

// The shortcut's file name without its ".url" (the last four characters).
std::string WithoutExtension(const std::string& name)
{
    return name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
}

struct ShortcutPlace {
    std::string name;
    std::string folder;
};

// Name and folder from the path below the Favorites folder: "root" for a file directly in it,
// otherwise the sub-folder path with its trailing separator, e.g. "News/Tech/".
ShortcutPlace DescribeShortcut(const std::string& path, const std::string& favorites)
{
    const std::string below = path.substr(std::min(favorites.size() + 1, path.size()));
    const std::size_t lastSeparator = below.rfind('/');
    return {ProperCase(WithoutExtension(GetFileName(below))),
            lastSeparator == std::string::npos ? "root" : below.substr(0, lastSeparator + 1)};
}

}  // namespace

cIE::cIE()
    : m_isInstalled(FolderExists(GetSpecialFolderPath(CSIDL_FAVORITES)))
{
}

std::string cIE::Version() const
{
    return RuntimeVersion();
}

void cIE::SetRuntimeVersion(std::string version)
{
    RuntimeVersion() = std::move(version);
}

BookmarksPtr cIE::GetBookMarks()
{
    const std::string favorites = GetSpecialFolderPath(CSIDL_FAVORITES);
    try {
        const std::vector<std::string> files
            = favorites.empty() ? std::vector<std::string>() : FindFiles(favorites, "*.url", true);
        if (files.empty()) {
            ShowMessage("No favorites can be located", MsgIcon::Information, MsgButtons::Ok,
                        "Error");
            return nullptr;
        }
        auto collection = std::make_shared<cBookmarks>();
        for (std::size_t i = 0; i < files.size(); ++i) {
            const ShortcutPlace place = DescribeShortcut(files[i], favorites);
            collection->Add(place.name, {}, place.folder, static_cast<std::int32_t>(i + 1),
                            files[i]);
        }
        return collection;
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::string cIE::WhyNotLoadable() const
{
    return m_isInstalled ? std::string() : "there is no Favorites folder to read";
}

CleanOutcome cIE::CleanUpBookmarks()
{
    CleanOutcome outcome;
    outcome.result = CleanResult::Cleaned;
    if (!m_parent)
        return outcome;
    for (const BookmarkPtr& bookmark : *m_parent->Bookmarks()) {
        std::error_code ignored;  // gone, read-only folder or locked: go on with the next
        if (bookmark->Clean) {
            std::filesystem::remove(bookmark->ShortcutPath, ignored);
            ++outcome.removed;
        }
    }
    return outcome;
}

}  // namespace brimtor
