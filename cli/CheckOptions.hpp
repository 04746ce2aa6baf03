#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/CheckOutput.hpp"
#include "engine/RequestDestination.hpp"

// What a brimtor-check command line asks for. Nothing is remembered between runs: every run is
// described completely by its arguments.
namespace brimtor {

struct CheckOptions {
    std::int32_t source = -1;      // a SourceCode
    std::string file;              // the text or bookmark HTML file of sources 3 and 4
    std::string profile;           // a browser profile folder instead of the default one
    int timeoutSeconds = 41;       // the window's cut-off
    ProxySettings proxy;           // useProxy set by --proxy, with the user and password it names
    std::vector<std::string> testSites;
    bool noConnectionCheck = false;
    std::string view;              // the results view's word: "Broken" by default, "All" with --no-check
    OutputFormat format = OutputFormat::Table;
    bool noCheck = false;
    bool noLook = false;           // skip the look inside pages that answer, and its probes
    bool clean = false;
    std::string restore;           // a backup to put back instead of a check
    bool yes = false;
    int jobs = 32;
    int paceMs = 50;               // between two request starts to the same server
    bool help = false;
    bool version = false;
};

struct ParsedArguments {
    CheckOptions options;
    std::string error;  // empty when the arguments are usable
};

// Reads the arguments after the program name. Options take their value as the next argument or
// after "="; the one argument that is not an option is the FILE.
ParsedArguments ParseCheckArguments(const std::vector<std::string>& arguments);

// The --help text.
std::string CheckUsage();

// The interval of one time-out tick for a cut-off of `seconds`: a link is still cut off on the
// 41st tick, so 41 seconds gives the window's one-second tick.
int TimeoutTickMs(int seconds);

}  // namespace brimtor
