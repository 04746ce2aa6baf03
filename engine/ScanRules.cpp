#include "engine/ScanRules.hpp"

#include "bookmarks/ReadShortcutUrl.hpp"
#include "bookmarks/Verdict.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

namespace {

bool Always(const cBookmark&)
{
    return true;
}

bool AnsweredBadly(const cBookmark& bookmark)
{
    return ClassOfCode(bookmark.ResponseCode) == CodeClass::Broken;
}

constexpr ScanPass kPasses[] = {{"HEAD ", Always}, {"GET ", AnsweredBadly}, {"GET ", AnsweredAlive, true}};

}  // namespace

std::span<const ScanPass> ScanPasses()
{
    return kPasses;
}

std::string PassName(int pass)
{
    static const char* const names[] = {"1st", "2nd", "3rd"};
    return names[pass - 1];
}

std::string RequestAddress(const std::string& url)
{
    // A fragment names a place in the page (or a route of a web app on its own port); the page
    // itself is everything before it, port and query included.
    return url.substr(0, url.find('#'));
}

void ReadShortcutAddress(cBookmark& bookmark)
{
    bookmark.url = ReadShortcutUrl(bookmark.ShortcutPath);
}

}  // namespace brimtor
