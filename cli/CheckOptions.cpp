#include "cli/CheckOptions.hpp"

#include <charconv>
#include <functional>
#include <map>
#include <optional>

#include "bookmarks/cLinkMain.hpp"
#include "engine/UriReference.hpp"
#include "engine/cHttpExchange.hpp"
#include "support/MainSettings.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

std::optional<int> WholeNumber(const std::string& text, int low, int high)
{
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> SourceNamed(const std::string& word)
{
    for (const SourceKind& kind : SourceKinds()) {
        if (IEquals(word, kind.commandWord) || word == std::to_string(kind.code))
            return kind.code;
    }
    return std::nullopt;
}

// The results view's word for the command's.
std::optional<std::string> ViewNamed(const std::string& word)
{
    static const char* const kViews[][2] = {{"broken", "Broken"}, {"redirect", "Redirect"}, {"all", "All"},
                                            {"duplicates", "Duplicates"}, {"empty-folders", "Empty Folders"}};
    for (const auto& view : kViews) {
        if (IEquals(word, view[0]))
            return view[1];
    }
    return std::nullopt;
}

std::optional<OutputFormat> FormatNamed(const std::string& word)
{
    if (IEquals(word, "table"))
        return OutputFormat::Table;
    if (IEquals(word, "csv"))
        return OutputFormat::Csv;
    if (IEquals(word, "json"))
        return OutputFormat::Json;
    return std::nullopt;
}

// [USER[:PASSWORD]@]HOST:PORT, the port a number from 1 to 65535.
std::optional<ProxySettings> ProxyNamed(const std::string& text)
{
    const UserInfo userInfo = UserInfo::Split(text);
    const std::string hostPort(userInfo.hostPort);
    const std::size_t colon = hostPort.rfind(':');
    if (colon == std::string::npos || colon == 0 || !WholeNumber(hostPort.substr(colon + 1), 1, 65535)
        || (userInfo.present && userInfo.info.empty()))
        return std::nullopt;
    ProxySettings proxy {true, hostPort.substr(0, colon), hostPort.substr(colon + 1)};
    proxy.user = userInfo.user;
    proxy.password = userInfo.password;
    return proxy;
}

using ValueReader = std::function<bool(CheckOptions&, const std::string&)>;

// Each option that takes a value, with what it does to the options; false for a bad value.
const std::map<std::string, ValueReader>& ValueOptions()
{
    static const std::map<std::string, ValueReader> options {
        {"--source", [](CheckOptions& o, const std::string& v) {
             const auto code = SourceNamed(v);
             o.source = code.value_or(SourceCode::None);
             return code.has_value();
         }},
        {"--profile", [](CheckOptions& o, const std::string& v) {
             o.profile = v;
             return !v.empty();
         }},
        {"--timeout", [](CheckOptions& o, const std::string& v) {
             const auto seconds = WholeNumber(v, 1, 86400);
             o.timeoutSeconds = seconds.value_or(0);
             return seconds.has_value();
         }},
        {"--proxy", [](CheckOptions& o, const std::string& v) {
             const auto proxy = ProxyNamed(v);
             o.proxy = proxy.value_or(ProxySettings {});
             return proxy.has_value();
         }},
        {"--test-sites", [](CheckOptions& o, const std::string& v) {
             o.testSites = SplitSiteList(v);
             return !o.testSites.empty();
         }},
        {"--view", [](CheckOptions& o, const std::string& v) {
             const auto view = ViewNamed(v);
             o.view = view.value_or("");
             return view.has_value();
         }},
        {"--format", [](CheckOptions& o, const std::string& v) {
             const auto format = FormatNamed(v);
             o.format = format.value_or(OutputFormat::Table);
             return format.has_value();
         }},
        {"--jobs", [](CheckOptions& o, const std::string& v) {
             const auto jobs = WholeNumber(v, 1, 1024);
             o.jobs = jobs.value_or(0);
             return jobs.has_value();
         }},
        {"--restore", [](CheckOptions& o, const std::string& v) {
             o.restore = v;
             return !v.empty();
         }},
        {"--pace", [](CheckOptions& o, const std::string& v) {
             const auto pace = WholeNumber(v, 0, 3600000);
             o.paceMs = pace.value_or(0);
             return pace.has_value();
         }},
    };
    return options;
}

bool* FlagOption(CheckOptions& options, const std::string& name)
{
    if (name == "--no-check")
        return &options.noCheck;
    if (name == "--no-look")
        return &options.noLook;
    if (name == "--no-connection-check")
        return &options.noConnectionCheck;
    if (name == "--clean")
        return &options.clean;
    if (name == "--yes" || name == "-y")
        return &options.yes;
    if (name == "--help" || name == "-h")
        return &options.help;
    if (name == "--version")
        return &options.version;
    return nullptr;
}

// The rules between options, once all are read.
std::string Inconsistency(const CheckOptions& options)
{
    const SourceKind* kind = FindSourceKind(options.source);
    const bool fileSource = kind && kind->file;
    if (!options.restore.empty()) {
        const bool more = kind || !options.file.empty() || !options.profile.empty() || options.clean;
        return more ? "--restore puts a backup back; it takes no --source, FILE, --profile or --clean" : "";
    }
    if (!kind)
        return "--source is required (favorites, firefox, netscape, chromium, html or text)";
    if (fileSource && options.file.empty())
        return "the html and text sources need a FILE";
    if (!fileSource && !options.file.empty())
        return "a FILE is only read by the html and text sources";
    if (fileSource && !options.profile.empty())
        return "--profile names a browser's profile folder; the html and text sources read a FILE";
    if (options.clean && options.noCheck && TidyViewOf(options.view) == TidyView::None)
        return "--clean needs a check; it cannot be combined with --no-check";
    return {};
}

}  // namespace

ParsedArguments ParseCheckArguments(const std::vector<std::string>& arguments)
{
    ParsedArguments parsed;
    CheckOptions& options = parsed.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (bool* flag = FlagOption(options, name); flag && !value) {
            *flag = true;
        } else if (const auto reader = ValueOptions().find(name); reader != ValueOptions().end()) {
            if (!value && i + 1 >= arguments.size())
                return {options, name + " needs a value"};
            const std::string text = value ? *value : arguments[++i];
            if (!reader->second(options, text))
                return {options, "bad value for " + name + ": \"" + text + "\""};
        } else if (name.size() > 1 && name.front() == '-') {
            return {options, "unknown option " + arguments[i]};
        } else if (options.file.empty()) {
            options.file = name;
        } else {
            return {options, "only one FILE may be given"};
        }
    }
    if (options.view.empty())
        options.view = options.noCheck ? "All" : "Broken";
    if (!options.help && !options.version)
        parsed.error = Inconsistency(options);
    return parsed;
}

std::string CheckUsage()
{
    return "Usage: brimtor-check --source favorites|firefox|netscape|chromium|html|text [FILE] [options]\n"
           "       brimtor-check --restore BACKUP [--yes]\n"
           "\n"
           "Checks every link of one bookmark source and prints the bookmarks of a view.\n"
           "\n"
           "  --source NAME           favorites, firefox, netscape, chromium, html or text (or 0-5);\n"
           "                          html and text read FILE\n"
           "  --profile DIR           read this browser profile folder instead of the default one\n"
           "  --view broken|redirect|all   rows to print (default broken; all with --no-check)\n"
           "  --view duplicates|empty-folders   later copies of a page, or empty folders; these\n"
           "                          need no check, and --clean then removes what they list\n"
           "  --format table|csv|json      output format (default table)\n"
           "  --no-check              print the source's bookmarks without checking them\n"
           "  --no-look               skip the look inside the pages that answer, which finds parked\n"
           "                          domains, \"not found\" pages, links sent home (looks_dead)\n"
           "  --clean                 remove the ticked bookmarks from the source, after a backup;\n"
           "                          asks first unless --yes is given\n"
           "  --restore BACKUP        put a backup back where it was taken from, after a backup\n"
           "                          of what is there now; asks first unless --yes is given\n"
           "  --yes, -y               clean or restore without asking\n"
           "  --jobs N                links under way at once (default 32; at most 2 per server)\n"
           "  --pace MS               least time between two requests to one server (default 50)\n"
           "  --timeout SECONDS       cut a link off after this long (default 41)\n"
           "  --proxy HOST:PORT       send every request through this proxy; USER:PASSWORD@HOST:PORT\n"
           "                          for a proxy that asks who you are\n"
           "  --test-sites URL[;URL]  sites that prove the connection before the check\n"
           "  --no-connection-check   skip the connection test\n"
           "  --version               print the version and exit\n"
           "  --help, -h              this text\n"
           "\n"
           "Exit status: 0 nothing broken, 1 broken links found (or cleaned), 2 bad usage or a\n"
           "source that cannot be loaded or written. --restore: 0 put back, 2 refused or failed.\n";
}

int TimeoutTickMs(int seconds)
{
    constexpr int ticks = cHttpExchange::kTimeoutTicksLimit + 1;
    return (seconds * 1000 + ticks / 2) / ticks;
}

}  // namespace brimtor
