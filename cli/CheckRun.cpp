#include "cli/CheckRun.hpp"

#include <chrono>
#include <cmath>
#include <iostream>

#include <unistd.h>

#include <QEventLoop>
#include <QTimer>

#include "bookmarks/ResultsFilter.hpp"
#include "cli/Console.hpp"
#include "cli/RestoreRun.hpp"
#include "engine/CNetConnect.hpp"
#include "engine/ScanRules.hpp"
#include "engine/TidyRows.hpp"
#include "engine/cParallelScan.hpp"
#include "support/Version.hpp"

namespace brimtor {

namespace {

constexpr int kProgressMs = 200;

// "3 bookmark(s)", "2 folder(s)", or both joined by "and".
std::string Amount(std::int32_t bookmarks, std::int32_t folders)
{
    const std::string some = std::to_string(bookmarks) + " bookmark(s)";
    if (folders == 0)
        return some;
    const std::string inFolders = std::to_string(folders) + " folder(s)";
    return bookmarks == 0 ? inFolders : some + " and " + inFolders;
}

// "1st pass 120/1000  350 links/s", rewritten in place.
void ShowProgress(std::ostream& err, const cParallelScan& scan, std::chrono::steady_clock::time_point start)
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long rate = seconds > 0 ? std::lround(static_cast<double>(scan.RequestsEnded()) / seconds) : 0;
    err << '\r' << PassName(scan.Pass()) << " pass " << scan.Done() << '/' << scan.Total() << "  "
        << rate << " links/s   " << std::flush;
}

}  // namespace

CheckRun::CheckRun(CheckOptions options, std::istream& in, std::ostream& out, std::ostream& err,
                   bool showProgress)
    : m_options(std::move(options)), m_in(in), m_out(out), m_err(err), m_showProgress(showProgress)
{
    m_previousLog = SetErrorLogSink([this](const std::string&, long, const std::string& description) {
        m_notes.push_back(description);
    });
}

CheckRun::~CheckRun()
{
    SetErrorLogSink(std::move(m_previousLog));
}

int CheckRun::Run()
{
    if (!Load())
        return Fail(WhyNotLoadable());
    if (!m_options.noCheck && !m_options.noConnectionCheck && !ConnectionConfirmed())
        return Fail("You must have a valid internet connection to proceed "
                    "(--no-connection-check skips this test)");
    PreScan();
    if (!m_options.noCheck)
        Scan();
    // The window's first fill: the protection rules clear the ticks of bookmarks the check's
    // verdict is not trusted on, whatever view is printed.
    const std::size_t broken = FillView(*m_links.Bookmarks(), "Broken").size();
    m_out << FormatRows(ViewReportRows(m_links, m_options.view), m_options.format) << std::flush;
    const int status = (m_options.noCheck || broken == 0) ? CheckExit::NothingBroken : CheckExit::BrokenFound;
    if (m_options.clean)
        return Clean(status);
    TellNotes();
    return status;
}

bool CheckRun::Load()
{
    m_links.SetSelectedSource(m_options.source);
    m_links.SetTextFile(m_options.file);
    m_links.SetProfileFolder(m_options.profile);
    m_loaded = m_links.Refresh();
    if (!m_loaded.note.empty())
        m_notes.push_back(m_loaded.note);
    // Only a clean writes a bookmark file's lines back. Without one they are a second copy of
    // the file held to the end for nothing; freed now, the output reuses their memory.
    if (!m_options.clean)
        m_links.Source(m_options.source)->ForgoClean();
    return m_links.Bookmarks()->Count() > 0;
}

std::string CheckRun::WhyNotLoadable()
{
    return m_loaded.reason.empty() ? "no bookmarks could be read from " + SourceName() : m_loaded.reason;
}

// A browser source is named by its profile folder: with several installs about, the user must
// see which one was read and cleaned.
std::string CheckRun::SourceName()
{
    const SourceKind& kind = *FindSourceKind(m_options.source);
    if (kind.file)
        return m_options.file;
    const std::string profile = m_links.ChosenSourceWhere();
    if (!profile.empty())
        return "the " + profile;
    return m_options.profile.empty() ? kind.whatItIs : "the profile " + m_options.profile;
}

// The sites named on the command line prove the connection by answering, whatever interfaces
// the machine has; without them the test is the window's own, with the user's TestSites value.
bool CheckRun::ConnectionConfirmed()
{
    if (m_options.testSites.empty())
        return UserConnection().Connected();
    CNetConnect connection;
    connection.SetKnownTestSites(m_options.testSites);
    return connection.ProbeTestSites();
}

void CheckRun::Scan()
{
    ParallelScanSettings settings;
    settings.jobs = m_options.jobs;
    settings.lanePaceMs = 0;  // the command is polite per server; its lanes need no rest
    settings.serverPaceMs = m_options.paceMs;
    settings.timeoutTickMs = TimeoutTickMs(m_options.timeoutSeconds);
    settings.proxy = m_options.proxy;
    settings.look = !m_options.noLook;
    cParallelScan scan(m_links.Bookmarks(), settings);
    QEventLoop loop;
    QObject::connect(&scan, &cParallelScan::ScanCompleted, &loop, &QEventLoop::quit);
    QTimer progress;
    const auto start = std::chrono::steady_clock::now();
    if (m_showProgress) {
        QObject::connect(&progress, &QTimer::timeout, [&] { ShowProgress(m_err, scan, start); });
        progress.start(kProgressMs);
    }
    scan.Start();
    if (!scan.Completed())
        loop.exec();
    if (m_showProgress) {
        ShowProgress(m_err, scan, start);
        m_err << '\n';
    }
}

// The Favorites' addresses are in their shortcut files, which only the pre-scan reads.
void CheckRun::PreScan()
{
    if (m_options.source != SourceCode::Favorites)
        return;
    for (const BookmarkPtr& bookmark : *m_links.Bookmarks())
        ReadShortcutAddress(*bookmark);
}

int CheckRun::Clean(int brokenStatus)
{
    const TidyView shown = TidyViewOf(m_options.view);
    const MarkCount marked = m_links.Tidying().CountFor(shown);
    if (marked.bookmarks + marked.folders == 0) {
        m_err << kProgram << "nothing to clean\n";
        TellNotes();
        return brokenStatus;
    }
    if (!CleanConfirmed(marked)) {
        m_err << kProgram << "nothing was cleaned\n";
        return brokenStatus;
    }
    const CleanOutcome outcome = m_links.CleanChosenSource(shown);
    if (outcome.result != CleanResult::Cleaned)
        return Fail(SourceName() + " was left as it was" + (outcome.reason.empty() ? "" : ": " + outcome.reason));
    for (const std::string& backup : outcome.backups)
        m_err << kProgram << "backup " << backup << '\n';
    for (const std::string& failure : outcome.failures)
        m_err << kProgram << "not removed: " << failure << '\n';
    m_err << kProgram << "removed " << Amount(outcome.removed, outcome.removedFolders) << " from " << SourceName()
          << '\n';
    TellNotes();
    // A script must not take a half-done clean for a done one.
    return outcome.failures.empty() ? CheckExit::BrokenFound : CheckExit::Trouble;
}

bool CheckRun::CleanConfirmed(const MarkCount& marked)
{
    return m_options.yes
        || AnsweredYes("Remove " + Amount(marked.bookmarks, marked.folders) + " from " + SourceName()
                           + " after a backup? This cannot be undone.",
                       m_in, m_err);
}

int CheckRun::Fail(const std::string& reason)
{
    m_err << kProgram << reason;
    for (const std::string& note : m_notes)
        m_err << " (" << note << ")";
    m_err << '\n';
    m_notes.clear();
    return CheckExit::Trouble;
}

void CheckRun::TellNotes()
{
    for (const std::string& note : m_notes)
        m_err << kProgram << note << '\n';
    m_notes.clear();
}

int CheckMain(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err)
{
    const ParsedArguments parsed = ParseCheckArguments(arguments);
    if (parsed.options.help) {
        out << CheckUsage();
        return CheckExit::NothingBroken;
    }
    if (parsed.options.version) {
        out << "brimtor-check " << kVersionText << '\n';
        return CheckExit::NothingBroken;
    }
    if (!parsed.error.empty()) {
        err << kProgram << parsed.error << " (--help lists the options)\n";
        return CheckExit::Trouble;
    }
    // Without a terminal nobody can answer the question: refuse before any work.
    const bool restore = !parsed.options.restore.empty();
    if ((parsed.options.clean || restore) && !parsed.options.yes && !IsTerminal(STDIN_FILENO)) {
        err << kProgram << (restore ? "--restore" : "--clean") << " needs --yes when standard input is not a terminal\n";
        return CheckExit::Trouble;
    }
    if (restore)
        return RunRestore(parsed.options.restore, parsed.options.yes, in, err) ? CheckExit::NothingBroken
                                                                                : CheckExit::Trouble;
    return CheckRun(parsed.options, in, out, err, IsTerminal(STDERR_FILENO)).Run();
}

}  // namespace brimtor
