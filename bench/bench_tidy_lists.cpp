// How long finding the duplicates and the empty folders takes in a large collection: 100 000
// bookmarks, one in ten a later copy of another (in another letter case, or with the default
// port written out), in 2 000 folders of which 100 are empty and 100 hold only duplicates.

#include <string>

#include <benchmark/benchmark.h>

#include "bookmarks/TidyLists.hpp"

using namespace brimtor;

namespace {

constexpr int kBookmarks = 100000;
constexpr int kFolders = 2000;

struct Collection {
    BookmarksPtr bookmarks = std::make_shared<cBookmarks>();
    FoldersPtr folders = std::make_shared<cFolders>();
};

Collection LargeCollection()
{
    Collection c;
    // Half the folders inside others, all of which hold pages.
    for (int f = 1; f <= kFolders; ++f)
        c.folders->push_back({"Folder " + std::to_string(f), "root", f, f > 1100 ? f - 900 : 0});
    int pages = 0;
    for (int i = 0; i < kBookmarks; ++i) {
        const bool copy = i % 10 == 9;
        // The first 100 folders hold nothing, the next 100 only copies, the others a page each in turn.
        const int folder = copy ? 101 + (i / 10) % 100 : 201 + pages++ % (kFolders - 200);
        const int page = copy ? i - 9 : i;
        const std::string url = (copy ? "http://WWW.Site" : "http://www.site") + std::to_string(page % 500)
                                + (copy ? ".example:80/page/" : ".example/page/") + std::to_string(page);
        c.bookmarks->Add("Bookmark", url, "root", i + 1)->FolderID = folder;
    }
    return c;
}

void FindBothLists(benchmark::State& state)
{
    const Collection c = LargeCollection();
    for (auto _ : state) {
        TidyLists lists(c.bookmarks, c.folders);
        benchmark::DoNotOptimize(lists.Duplicates().size());
        benchmark::DoNotOptimize(lists.EmptyFolders().size());
    }
    TidyLists lists(c.bookmarks, c.folders);
    state.counters["duplicates"] = static_cast<double>(lists.Duplicates().size());
    state.counters["empty"] = static_cast<double>(lists.EmptyFolders().size());
}
BENCHMARK(FindBothLists)->Unit(benchmark::kMillisecond);

}  // namespace
