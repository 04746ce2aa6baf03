#include "bookmarks/FirefoxLock.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brimtor {

namespace {

// Firefox writes the first address its host name resolves to; a loopback address is ours too.
bool IsThisHost(const std::string& address)
{
    if (address.rfind("127.", 0) == 0)
        return true;
    char name[256] = {};
    addrinfo* found = nullptr;
    if (::gethostname(name, sizeof name - 1) != 0 || ::getaddrinfo(name, nullptr, nullptr, &found) != 0)
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

bool IsAlive(long pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

bool FirefoxIsRunning(const std::string& profileFolder)
{
    std::error_code ec;
    const std::string target = std::filesystem::read_symlink(profileFolder + "/lock", ec).string();
    const std::size_t mark = target.rfind(":+");
    if (ec || mark == std::string::npos)
        return false;
    char* end = nullptr;
    const long pid = std::strtol(target.c_str() + mark + 2, &end, 10);
    return *end == '\0' && IsThisHost(target.substr(0, mark)) && IsAlive(pid);
}

}  // namespace brimtor
