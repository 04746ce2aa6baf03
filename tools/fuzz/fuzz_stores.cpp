// One fuzzing run: loads the bookmarks of one browser source from the home folder it is started
// in (HOME and the XDG folders point into a throw-away folder holding a mutated store), ticks
// every other bookmark, cleans, and checks what the clean did. A crash, a hang or a sanitizer
// report is the fuzzing script's to see; this program checks what they cannot:
//   - a clean that succeeded removed exactly the ticked bookmarks, no other;
//   - a clean that was refused left the store as it was (Chromium's bytes, Firefox's rows);
//   - a rewritten Chromium file is not much larger than the file it replaced.
// Exit status 0: all held; 3: one did not (said on standard error); 2: bad usage.

#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "bookmarks/ChromiumProfile.hpp"
#include "bookmarks/SqliteDatabase.hpp"
#include "bookmarks/cFirefox.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "support/FileIo.hpp"

using namespace brimtor;

namespace {

using Counts = std::map<std::string, int>;

int Broken(const std::string& what)
{
    std::cerr << "fuzz_stores: " << what << '\n';
    return 3;
}

// "name|address" of each ticked bookmark, counted.
Counts Tick(cBookmarks& bookmarks)
{
    Counts ticked;
    bool tick = false;
    for (const BookmarkPtr& bookmark : bookmarks) {
        bookmark->Clean = tick;
        if (tick)
            ++ticked[bookmark->ShortcutName + "|" + bookmark->url];
        tick = !tick;
    }
    return ticked;
}

// "title|address" of every bookmark row of the database, counted; empty when it cannot be read.
// Opened as Firefox opens it, so a journal a crash left is rolled back first.
Counts PlacesRows(const std::string& path)
{
    Counts rows;
    try {
        SqliteDatabase db(path, SqliteDatabase::Access::ReadWrite);
        SqliteDatabase::Statement query(db, "SELECT b.title, p.url FROM moz_bookmarks b "
                                            "LEFT JOIN moz_places p ON p.id = b.fk WHERE b.type = 1");
        while (query.Step())
            ++rows[(query.Text(0).empty() ? query.Text(1) : query.Text(0)) + "|" + query.Text(1)];
    } catch (const std::exception&) {
    }
    return rows;
}

Counts Difference(Counts before, const Counts& after)
{
    for (const auto& [row, count] : after) {
        if ((before[row] -= count) == 0)
            before.erase(row);
    }
    return before;
}

int CheckFirefox(cLinkMain& links, const Counts& ticked)
{
    const auto* firefox = dynamic_cast<cFirefox*>(links.Source(SourceCode::Firefox));
    const std::string places = firefox->ProfileFolder() + "/places.sqlite";
    const Counts before = PlacesRows(places);
    const CleanOutcome outcome = links.CleanChosenSource();
    const Counts removed = Difference(before, PlacesRows(places));
    if (outcome.result != CleanResult::Cleaned)
        return removed.empty() ? 0 : Broken("a refused clean changed places.sqlite: " + outcome.reason);
    if (removed != ticked)
        return Broken("the clean removed other bookmarks than the ticked ones");
    return 0;
}

int CheckChromium(cLinkMain& links)
{
    const std::string file = FindChromiumProfile()->BookmarksFile();
    const std::string before = ReadFileBytes(file).value_or("");
    const LoadOutcome read = ReadChromiumBookmarks(before);
    const CleanOutcome outcome = links.CleanChosenSource();
    const std::string after = ReadFileBytes(file).value_or("");
    if (outcome.result != CleanResult::Cleaned)
        return after == before ? 0 : Broken("a refused clean changed Bookmarks: " + outcome.reason);
    if (after.size() > 2 * before.size() + 1024)
        return Broken("the rewrite grew from " + std::to_string(before.size()) + " to " + std::to_string(after.size()));
    const LoadOutcome reread = ReadChromiumBookmarks(after);
    if (!reread.bookmarks)
        return Broken("the rewrite cannot be read: " + reread.reason);
    // Every url node, listed or left out, is still there but the removed ones.
    const std::int32_t nodes = read.bookmarks->Count() + read.leftOut;
    if (reread.bookmarks->Count() + reread.leftOut + outcome.removed != nodes)
        return Broken("the rewrite holds " + std::to_string(reread.bookmarks->Count() + reread.leftOut)
                      + " bookmarks, not " + std::to_string(nodes - outcome.removed));
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::string kind = argc == 2 ? argv[1] : "";
    if (kind != "firefox" && kind != "chromium") {
        std::cerr << "usage: fuzz_stores firefox|chromium  (in a home holding the store)\n";
        return 2;
    }
    cLinkMain links;
    links.SetSelectedSource(kind == "firefox" ? SourceCode::Firefox : SourceCode::Chromium);
    const LoadOutcome loaded = links.Refresh();
    if (!loaded.bookmarks)
        return 0;
    const Counts ticked = Tick(*loaded.bookmarks);
    return kind == "firefox" ? CheckFirefox(links, ticked) : CheckChromium(links);
}
