// Loading and rewriting a bookmark HTML file of 10 000, 100 000 and 1 000 000 bookmarks, shaped
// like a browser's export: folders of 50 inside folders of 1 000, every tenth bookmark with a
// description, and a favicon data address (about 1 KB) on every n-th bookmark (icon_every).
// The main shape has one on every tenth (about 290 bytes a bookmark). At 100 000 bookmarks two
// more shapes bound it: none at all, the worst case for memory against file size (short lines,
// the same records), and one on every bookmark (about 1.2 KB a bookmark).
//
// Each case reports, beside its time, the file size and the peak memory the operation added,
// in bytes and as a multiple of the file size (peak_x_file). The load case measures the load
// alone. The rewrite case times the writer (backup copy and rewrite); its peak is that of a
// whole clean through the controller (load, both backup copies, rewrite), the most memory the
// program needs for one file.
//
// Page faults are slow on some virtual machines (tens of microseconds each), enough to swamp
// the work itself. So the timed iterations run on warm memory: freed pages stay in the process
// (no trimming), for every size alike. Each case also reports cold_ms, its first run on pages
// handed back to the system beforehand, as a program's first load meets them.
//
// HOME and the XDG folders point into a temporary folder for the whole run, so the backups
// the rewrite makes never reach the real home.

#include <benchmark/benchmark.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

#include "bookmarks/cLinkMain.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"
#include "support/FileIo.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;
using namespace brimtor;

namespace {

class TemporaryHome {
public:
    TemporaryHome()
    {
        std::string pattern = (fs::temp_directory_path() / "brimtor-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
        ::setenv("HOME", m_path.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_path + "/.config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_path + "/.local/share").c_str(), 1);
    }
    ~TemporaryHome()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

const TemporaryHome& Home()
{
    static const TemporaryHome home;
    return home;
}

// Keeps freed memory in the process, up to the largest block malloc will take from its heap.
const bool kWarmMemory = [] {
    ::mallopt(M_TRIM_THRESHOLD, INT_MAX);
    ::mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    return true;
}();

std::string BookmarkLine(int n, bool withIcon)
{
    std::string line = "        <DT><A HREF=\"https://www.example-site-" + std::to_string(n % 997)
        + ".com/articles/2019/06/some-longer-path-" + std::to_string(n)
        + ".html\" ADD_DATE=\"" + std::to_string(1500000000 + n) + "\" LAST_MODIFIED=\""
        + std::to_string(1500000000 + n) + "\"";
    if (withIcon) {
        line += " ICON_URI=\"https://www.example-site-" + std::to_string(n % 997)
            + ".com/favicon.ico\" ICON=\"data:image/png;base64,"
            + std::string(800, static_cast<char>('A' + n % 26)) + "==\"";
    }
    return line + ">Article " + std::to_string(n) + " - Example Site</A>\r\n";
}

// Writes the export to a file and returns its path.
std::string GenerateExport(int bookmarks, int iconEvery)
{
    const std::string path = Home().Path() + "/export-" + std::to_string(bookmarks) + "-"
        + std::to_string(iconEvery) + ".html";
    if (fs::exists(path))
        return path;
    std::ofstream out(path, std::ios::binary);
    out << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
           "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks Menu</H1>\r\n\r\n<DL><p>\r\n";
    for (int n = 0; n < bookmarks; ++n) {
        if (n % 1000 == 0)
            out << "    <DT><H3 ADD_DATE=\"1500000000\">Topic " << n / 1000
                << "</H3>\r\n    <DL><p>\r\n";
        if (n % 50 == 0)
            out << "        <DT><H3>Group " << n / 50 << "</H3>\r\n        <DL><p>\r\n";
        out << BookmarkLine(n, iconEvery > 0 && n % iconEvery == 0);
        if (n % 10 == 0)
            out << "        <DD>Notes on article " << n << ", kept for later\r\n";
        if (n % 50 == 49 || n == bookmarks - 1)
            out << "        </DL><p>\r\n";
        if (n % 1000 == 999 || n == bookmarks - 1)
            out << "    </DL><p>\r\n";
    }
    out << "</DL><p>\r\n";
    return path;
}

long ProcStatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == field) {
            long kb = 0;
            status >> kb;
            return kb;
        }
    }
    return 0;
}

struct ColdRun {
    double milliseconds = 0;
    double peakBytes = 0;  // how far the step raised the resident memory
};

// Runs the step once on memory handed back to the system first.
template <typename Step>
ColdRun RunCold(Step step)
{
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the present size
    const long before = ProcStatusKb("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return {took.count(), static_cast<double>(ProcStatusKb("VmHWM:") - before) * 1024.0};
}

std::unique_ptr<cLinkMain> Load(const std::string& path)
{
    auto links = std::make_unique<cLinkMain>();
    links->SetSelectedSource(SourceCode::BookmarkFile);
    links->SetTextFile(path);
    links->Refresh();
    return links;
}

// Marks one bookmark in a hundred for removal, as a scan of a well-kept file would.
void MarkSome(const cBookmarks& bookmarks)
{
    int n = 0;
    for (const BookmarkPtr& bookmark : bookmarks)
        bookmark->Clean = (n++ % 100 == 0);
}

void Report(benchmark::State& state, const std::string& path, const ColdRun& cold)
{
    const auto size = static_cast<double>(fs::file_size(path));
    state.counters["file_MB"] = size / 1e6;
    state.counters["cold_ms"] = cold.milliseconds;
    state.counters["peak_MB"] = cold.peakBytes / 1e6;
    state.counters["peak_x_file"] = cold.peakBytes / size;
}

void BM_LoadBookmarkFile(benchmark::State& state)
{
    const std::string path =
        GenerateExport(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const ColdRun cold = RunCold([&] { benchmark::DoNotOptimize(Load(path)); });
    for (auto _ : state) {
        auto links = Load(path);
        benchmark::DoNotOptimize(links->Bookmarks()->Count());
        state.PauseTiming();
        links.reset();
        state.ResumeTiming();
    }
    Report(state, path, cold);
}

// Backup copy, then the atomic rewrite without the marked bookmarks (the writer's whole job).
void BM_RewriteBookmarkFile(benchmark::State& state)
{
    const std::string original =
        GenerateExport(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const std::string target = Home().Path() + "/target.html";
    const auto freshTarget = [&] {
        fs::remove_all(BackupFolder());
        fs::copy_file(original, target, fs::copy_options::overwrite_existing);
    };
    // The peak of a whole clean through the controller: load, both backups, rewrite.
    freshTarget();
    const double peak = RunCold([&] {
        auto links = Load(target);
        MarkSome(*links->Bookmarks());
        benchmark::DoNotOptimize(links->CleanChosenSource());
    }).peakBytes;

    // The writer keeps the lines it read; a copy of the file is then written in its place.
    freshTarget();
    cNetscapeBookmarkFile writer;
    writer.SetBookmarkFile(target);
    const BookmarksPtr bookmarks = writer.BookmarkFileToCollection();
    MarkSome(*bookmarks);
    writer.SetWhichBrowser(3);
    writer.SetBookmarks(bookmarks);
    ColdRun cold = RunCold([&] { benchmark::DoNotOptimize(writer.CreateBookMarkFile()); });
    cold.peakBytes = peak;
    for (auto _ : state) {
        state.PauseTiming();
        freshTarget();
        state.ResumeTiming();
        if (writer.CreateBookMarkFile().result != CleanResult::Cleaned)
            state.SkipWithError("rewrite failed");
    }
    Report(state, original, cold);
}

void Shapes(benchmark::internal::Benchmark* bench)
{
    bench->ArgNames({"bookmarks", "icon_every"});
    for (const long bookmarks : {10000L, 100000L, 1000000L})
        bench->Args({bookmarks, 10});
    bench->Args({100000, 0})->Args({100000, 1});
    bench->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LoadBookmarkFile)->Apply(Shapes);
BENCHMARK(BM_RewriteBookmarkFile)->Apply(Shapes);
