#include "bookmarks/BrowserLock.hpp"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <initializer_list>
#include <string_view>

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/FileIo.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

struct LockOwner {
    std::string host;  // as the browser wrote it: a name or an address
    pid_t pid = 0;
};

// The owner a lock link names as host, separator and PID (Firefox puts a "+" before the PID when
// it also holds a lock on the file); nothing for no link or another text.
std::optional<LockOwner> ReadLockLink(const std::string& link, char separator)
{
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(link, error).string();
    const std::size_t mark = target.rfind(separator);
    if (error || mark == std::string::npos)
        return std::nullopt;
    LockOwner owner {target.substr(0, mark)};
    const char* number = target.data() + mark + 1;
    const char* end = target.data() + target.size();
    if (number != end && *number == '+' && separator == ':')
        ++number;
    const auto [stop, failed] = std::from_chars(number, end, owner.pid);
    if (failed != std::errc() || stop != end || owner.pid <= 0)
        return std::nullopt;
    return owner;
}

std::string ThisHostName()
{
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? name : "";
}

// Firefox writes the first address its host name resolves to; a loopback address is ours too.
bool IsThisHostsAddress(const std::string& address)
{
    if (address.rfind("127.", 0) == 0)
        return true;
    const std::string name = ThisHostName();
    addrinfo* found = nullptr;
    if (name.empty() || ::getaddrinfo(name.c_str(), nullptr, nullptr, &found) != 0)
        return false;
    bool mine = false;
    for (const addrinfo* entry = found; entry && !mine; entry = entry->ai_next) {
        char text[NI_MAXHOST] = {};
        mine = ::getnameinfo(entry->ai_addr, entry->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) == 0
            && address == text;
    }
    ::freeaddrinfo(found);
    return mine;
}

// True while the process lives and runs a program whose name starts with one of `programs`: its
// executable's file name, or its command name (all one can see of another user's process). A
// process whose name cannot be read at all is taken at its word.
bool RunsBrowser(pid_t pid, std::initializer_list<std::string_view> programs)
{
    if (::kill(pid, 0) != 0 && errno != EPERM)
        return false;
    const std::string process = "/proc/" + std::to_string(pid);
    std::error_code error;
    const std::string executable = std::filesystem::read_symlink(process + "/exe", error).filename().string();
    const std::optional<std::string> command = ReadFileBytes(process + "/comm");
    if (!command && executable.empty())
        return true;
    for (const std::string_view program : programs) {
        if (IStartsWith(executable, program) || IStartsWith(command.value_or(""), program))
            return true;
    }
    return false;
}

std::string RunningElsewhere(const std::string& browserName, const std::string& host)
{
    return browserName + " is running on " + host + ". Close it there, then clean again.";
}

}  // namespace

std::optional<std::string> FirefoxRunning(const std::string& profileFolder)
{
    const std::optional<LockOwner> owner = ReadLockLink(profileFolder + "/lock", ':');
    if (!owner)
        return std::nullopt;
    if (!IsThisHostsAddress(owner->host))
        return RunningElsewhere("Firefox", owner->host);
    // Its main thread may carry the engine's name rather than the program's.
    if (RunsBrowser(owner->pid, {"firefox", "GeckoMain"}))
        return kFirefoxRunsHere;
    return std::nullopt;
}

std::optional<std::string> ChromiumRunning(const std::string& browserFolder, const std::string& browserName)
{
    const std::optional<LockOwner> owner = ReadLockLink(browserFolder + "/SingletonLock", '-');
    if (!owner)
        return std::nullopt;
    if (owner->host != ThisHostName())
        return RunningElsewhere(browserName, owner->host);
    // Chromium, Google Chrome ("chrome"), Brave, Vivaldi ("vivaldi-bin"), Microsoft Edge.
    if (RunsBrowser(owner->pid, {"chrom", "brave", "vivaldi", "msedge"}))
        return browserName + " is running. Close it, then clean again.";
    return std::nullopt;
}

}  // namespace brimtor
