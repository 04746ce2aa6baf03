// How long hostile browser stores take to be refused or read: Chromium files nested 5 000 and
// 10 000 folders deep, a large ordinary Bookmarks file, a profiles.ini and an installs.ini of
// 3 000 sections each, and a places.sqlite whose root sits inside one of its own folders.

#include <string>

#include <benchmark/benchmark.h>

#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "bookmarks/PlacesReader.hpp"
#include "bookmarks/cFirefox.hpp"
#include "tests/common/PlacesFile.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;

namespace {

// Folders nested `depth` deep below the bookmark bar, `children` first as the browser writes
// them, or last.
std::string NestedFolders(int depth, bool childrenFirst)
{
    std::string text = R"({"roots": {"bookmark_bar": )";
    for (int i = 0; i < depth; ++i)
        text += childrenFirst ? R"({"children": [)" : R"({"id": "1", "type": "folder", "children": [)";
    for (int i = 0; i < depth; ++i)
        text += childrenFirst ? R"(], "id": "1", "name": "f", "type": "folder"})" : "]}";
    return text + "}}";
}

void ChromiumNesting(benchmark::State& state)
{
    const std::string text = NestedFolders(static_cast<int>(state.range(0)), state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadChromiumBookmarks(text));
}
BENCHMARK(ChromiumNesting)->Args({5000, 1})->Args({10000, 0})->Unit(benchmark::kMillisecond);

// 100 000 bookmarks in 1 000 folders five deep, laid out as the browser writes them.
void ChromiumLargeFile(benchmark::State& state)
{
    std::string folders;
    int id = 10;
    for (int f = 0; f < 1000; ++f) {
        std::string urls;
        for (int u = 0; u < 100; ++u, ++id)
            urls += std::string(u ? ",\n" : "") + R"({ "date_added": "13350000000000000", "guid": "g", "id": ")"
                    + std::to_string(id) + R"(", "name": "Bookmark", "type": "url", "url": "http://a.example/)"
                    + std::to_string(id) + "\" }";
        std::string folder = urls;
        for (int level = 0; level < 5; ++level)
            folder = R"({ "children": [ )" + folder + R"( ], "id": ")" + std::to_string(++id)
                     + R"(", "name": "Folder", "type": "folder" })";
        folders += (f ? ",\n" : "") + folder;
    }
    const std::string text = R"({ "roots": { "bookmark_bar": { "children": [ )" + folders + " ] } } }";
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadChromiumBookmarks(text));
}
BENCHMARK(ChromiumLargeFile)->Unit(benchmark::kMillisecond);

void ThousandsOfProfileSections(benchmark::State& state)
{
    test::TempHome home;
    std::string profiles, installs;
    for (int i = 0; i < 3000; ++i) {
        profiles += "[Profile" + std::to_string(i) + "]\nPath=p" + std::to_string(i) + "\n";
        installs += "[" + std::to_string(i) + "]\nLocked=1\n";
    }
    home.WriteFile(".mozilla/firefox/profiles.ini", profiles);
    home.WriteFile(".mozilla/firefox/installs.ini", installs + "[Last]\nDefault=p2999\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(cFirefox().ProfileFolder());
}
BENCHMARK(ThousandsOfProfileSections)->Unit(benchmark::kMillisecond);

// 10 000 bookmarks in the menu, and the root moved into a folder of its own.
void PlacesRootCycle(benchmark::State& state)
{
    test::TempHome home;
    const test::PlacesFile places(home / "places.sqlite");
    const std::int64_t folder = places.Add(test::PlacesFile::kMenu, "Loop");
    places.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
                "INSERT INTO moz_bookmarks (type, parent, position, title, guid) "
                "SELECT 1, 2, i, 'b', 'g' || i FROM n");
    places.Exec("UPDATE moz_bookmarks SET parent = " + std::to_string(folder) + " WHERE id = 1");
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPlaces(places.Path()));
}
BENCHMARK(PlacesRootCycle)->Unit(benchmark::kMillisecond);

}  // namespace
