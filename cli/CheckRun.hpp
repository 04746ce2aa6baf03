#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "bookmarks/cLinkMain.hpp"
#include "cli/CheckOptions.hpp"
#include "support/ErrorLog.hpp"

namespace brimtor {

// The exit statuses of brimtor-check.
namespace CheckExit {
constexpr int NothingBroken = 0;
constexpr int BrokenFound = 1;
constexpr int Trouble = 2;  // bad usage, a source that cannot be loaded, checked or written, or a clean that left some
}  // namespace CheckExit

// One headless run: loads the source through cLinkMain, confirms the connection, checks every link
// with cParallelScan, fills the view through the results' own rules, prints its rows and, when
// asked, cleans through the source's own writer. Needs a running QCoreApplication.
//
// Every failure comes back as an outcome with its reason, which the run prints on standard
// error; so do the load's note and, while the run lasts, logged errors. The only question,
// whether to clean, is asked by the run itself.
class CheckRun {
public:
    // `showProgress` writes the scan's progress to `err` as it goes: for a terminal.
    CheckRun(CheckOptions options, std::istream& in, std::ostream& out, std::ostream& err,
             bool showProgress = false);
    ~CheckRun();
    CheckRun(const CheckRun&) = delete;
    CheckRun& operator=(const CheckRun&) = delete;

    // Returns the exit status.
    int Run();

private:
    bool Load();
    std::string WhyNotLoadable();
    std::string SourceName();
    bool ConnectionConfirmed();
    void Scan();
    void PreScan();
    int Clean(int brokenStatus);
    bool CleanConfirmed(const MarkCount& marked);
    // Prints "brimtor-check: reason", with what the program said meanwhile, and returns Trouble.
    int Fail(const std::string& reason);
    void TellNotes();

    CheckOptions m_options;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    bool m_showProgress;
    cLinkMain m_links;
    LoadOutcome m_loaded;
    std::vector<std::string> m_notes;
    ErrorLogSink m_previousLog;
};

// The whole program: parses the arguments, prints usage problems, runs the check.
int CheckMain(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
              std::ostream& err);

}  // namespace brimtor
