// Loading and rewriting a bookmark HTML file of 10 000, 100 000 and 1 000 000 bookmarks, shaped
// like a browser's export: folders of 50 inside folders of 1 000, every other bookmark with a
// favicon data address, every tenth with a description. A second shape without any favicons
// is the worst case for memory against file size (small lines, the same records).
//
// Each case reports, beside its time, the file size and the peak memory the operation added,
// in bytes and as a multiple of the file size (peak_x_file). The load case measures the load
// alone; the rewrite case measures a whole clean (load, then backup and rewrite).
//
// HOME and the XDG folders point into a temporary folder for the whole run, so the backups
// the rewrite makes never reach the real home.

#include <benchmark/benchmark.h>

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
std::string GenerateExport(int bookmarks, bool icons)
{
    const std::string path = Home().Path() + "/export-" + std::to_string(bookmarks)
        + (icons ? "-icons" : "-plain") + ".html";
    if (fs::exists(path))
        return path;
    std::ofstream out(path, std::ios::binary);
    out << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
           "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks Menu</H1>\r\n\r\n<DL><p>\r\n";
    for (int n = 0; n < bookmarks; ++n) {
        if (n % 1000 == 0)
            out << "    <DT><H3 ADD_DATE=\"1500000000\">Topic " << n / 1000 << "</H3>\r\n    <DL><p>\r\n";
        if (n % 50 == 0)
            out << "        <DT><H3>Group " << n / 50 << "</H3>\r\n        <DL><p>\r\n";
        out << BookmarkLine(n, icons && n % 2 == 0);
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

// Runs the step and returns how far it raised the resident memory above what it was before.
template <typename Step>
double PeakBytesOf(Step step)
{
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the present size
    const long before = ProcStatusKb("VmRSS:");
    step();
    return static_cast<double>(ProcStatusKb("VmHWM:") - before) * 1024.0;
}

std::unique_ptr<cLinkMain> Load(const std::string& path)
{
    auto links = std::make_unique<cLinkMain>();
    links->SetSelectedBrowser(SourceCode::BookmarkFile);
    links->SetTextFile(path);
    links->Refresh();
    return links;
}

// Marks one bookmark in a hundred for removal, as a scan of a well-kept file would.
void MarkSome(cLinkMain& links)
{
    int n = 0;
    for (const BookmarkPtr& bookmark : *links.Bookmarks())
        bookmark->Clean = (n++ % 100 == 0);
}

void ReportSize(benchmark::State& state, const std::string& path, double peak)
{
    const auto size = static_cast<double>(fs::file_size(path));
    state.counters["file_MB"] = size / 1e6;
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_x_file"] = peak / size;
}

void BM_LoadBookmarkFile(benchmark::State& state)
{
    const std::string path = GenerateExport(static_cast<int>(state.range(0)), state.range(1) != 0);
    const double peak = PeakBytesOf([&] { benchmark::DoNotOptimize(Load(path)); });
    for (auto _ : state) {
        auto links = Load(path);
        benchmark::DoNotOptimize(links->Bookmarks()->Count());
        state.PauseTiming();
        links.reset();
        state.ResumeTiming();
    }
    ReportSize(state, path, peak);
}

// Backup copy, then the atomic rewrite without the marked bookmarks (the writer's whole job).
void BM_RewriteBookmarkFile(benchmark::State& state)
{
    const std::string original = GenerateExport(static_cast<int>(state.range(0)), state.range(1) != 0);
    const std::string target = Home().Path() + "/target.html";
    fs::copy_file(original, target, fs::copy_options::overwrite_existing);
    const double peak = PeakBytesOf([&] {
        auto links = Load(target);
        MarkSome(*links);
        benchmark::DoNotOptimize(links->CreateNetscapeBookmarkFile());
    });

    auto links = Load(original);
    MarkSome(*links);
    cNetscapeBookmarkFile writer;
    writer.SetBookmarkFile(target);
    writer.SetWhichBrowser(3);
    writer.SetBookmarkFileContents(links->BookmarkFileContents());
    writer.SetBookmarks(links->Bookmarks());
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(BackupFolder());
        fs::copy_file(original, target, fs::copy_options::overwrite_existing);
        state.ResumeTiming();
        if (!writer.CreateBookMarkFile())
            state.SkipWithError("rewrite failed");
    }
    ReportSize(state, original, peak);
}

}  // namespace

BENCHMARK(BM_LoadBookmarkFile)
    ->ArgNames({"bookmarks", "icons"})
    ->Args({10000, 1})->Args({100000, 1})->Args({1000000, 1})->Args({100000, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RewriteBookmarkFile)
    ->ArgNames({"bookmarks", "icons"})
    ->Args({10000, 1})->Args({100000, 1})->Args({1000000, 1})->Args({100000, 0})
    ->Unit(benchmark::kMillisecond);
