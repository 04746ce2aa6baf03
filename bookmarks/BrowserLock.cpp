#include "bookmarks/BrowserLock.hpp"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <optional>

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brimtor {

namespace {

struct LockOwner {
    std::string host;  // as the browser wrote it: a name or an address
    pid_t pid = 0;
};

// The owner a lock link names as host + separator + PID; nothing for no link or another text.
std::optional<LockOwner> ReadLockLink(const std::string& link, const std::string& separator)
{
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(link, error).string();
    const std::size_t mark = target.rfind(separator);
    if (error || mark == std::string::npos)
        return std::nullopt;
    LockOwner owner {target.substr(0, mark)};
    const char* end = target.data() + target.size();
    const auto [stop, failed] = std::from_chars(target.data() + mark + separator.size(), end, owner.pid);
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

// A process of another user still answers, with "not permitted".
bool IsAlive(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

bool FirefoxIsRunning(const std::string& profileFolder)
{
    const std::optional<LockOwner> owner = ReadLockLink(profileFolder + "/lock", ":+");
    return owner && IsThisHostsAddress(owner->host) && IsAlive(owner->pid);
}

bool ChromiumIsRunning(const std::string& browserFolder)
{
    const std::optional<LockOwner> owner = ReadLockLink(browserFolder + "/SingletonLock", "-");
    return owner && owner->host == ThisHostName() && IsAlive(owner->pid);
}

}  // namespace brimtor
