#include "bookmarks/PrivateCopy.hpp"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileIo.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

// Each copy's folder: this prefix, the process id, a unique suffix.
const std::string kPrefix = "places-";

// PrivateCopyFolder(), made when missing, once it is sure to be a folder of this user's that
// nobody else can enter.
std::string OwnFolder()
{
    const std::string folder = PrivateCopyFolder();
    struct stat info {};
    if (!MakePrivateFolders(folder) || ::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)
        || info.st_uid != ::geteuid() || ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0))
        throw std::runtime_error(folder + " is no private folder of this user's");
    return folder;
}

void CopyRegularFile(const std::string& from, const std::string& to)
{
    std::error_code ec;
    if (!fs::is_regular_file(from, ec))
        throw std::runtime_error(from + " is not a regular file");
    fs::copy_file(from, to);
}

}  // namespace

PrivateCopy::PrivateCopy(const std::string& databasePath)
{
    std::string folder = OwnFolder() + "/" + kPrefix + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr)
        throw fs::filesystem_error("Cannot make a private folder", folder,
                                   std::error_code(errno, std::generic_category()));
    m_folder = folder;
    m_copy = m_folder + "/" + fs::path(databasePath).filename().string();
    try {
        CopyRegularFile(databasePath, m_copy);
        for (const char* log : {"-wal", "-journal"}) {
            std::error_code ec;
            if (fs::exists(fs::symlink_status(databasePath + log, ec)))
                CopyRegularFile(databasePath + log, m_copy + log);
        }
    } catch (...) {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
        throw;
    }
}

PrivateCopy::~PrivateCopy()
{
    std::error_code ec;
    fs::remove_all(m_folder, ec);
}

void RemoveStaleCopies()
{
    std::vector<fs::path> stale;
    std::error_code ec;
    for (fs::directory_iterator it(PrivateCopyFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(kPrefix, 0) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + kPrefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            stale.push_back(it->path());
    }
    for (const fs::path& folder : stale)
        fs::remove_all(folder, ec);
}

}  // namespace brimtor
