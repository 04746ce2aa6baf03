#include "support/FileIo.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>
#include <fcntl.h>

namespace fs = std::filesystem;

namespace brimtor {

namespace {

// More than any bookmark store or settings file holds; reading it would only fill the memory.
constexpr std::size_t kMaxReadBytes = std::size_t(256) << 20;

// Closes the descriptor on every way out.
struct OpenFile {
    int fd;
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

// Opens the file for reading when it is a regular file (links followed) of a sane size, or says
// why not.
static Outcome<> OpenRegular(const std::string& path, OpenFile& file)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes; a regular file
    // reads as it always does.
    file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file.fd < 0)
        return Failure {"cannot open " + path + ": " + std::strerror(errno)};
    // What the name leads to, links followed: a FIFO, a device such as /dev/zero or a folder
    // would block, never end or make no sense as bytes.
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Failure {path + " is not a regular file"};
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxReadBytes)
        return Failure {path + " is larger than 256 MiB"};
    return {};
}

Outcome<> ReadRegularFileInChunks(const std::string& path, const std::function<bool(std::string_view)>& take)
{
    OpenFile file {-1};
    if (const Outcome<> opened = OpenRegular(path, file); !opened)
        return Failure {opened.Reason()};
    std::vector<char> chunk(std::size_t(1) << 20);
    std::size_t total = 0;
    for (;;) {
        const ssize_t n = ::read(file.fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failure {"cannot read " + path + ": " + std::strerror(errno)};
        // The size was checked at the open; a file that grows past it meanwhile is refused too.
        total += static_cast<std::size_t>(n);
        if (total > kMaxReadBytes)
            return Failure {path + " is larger than 256 MiB"};
        if (n == 0 || !take(std::string_view(chunk.data(), static_cast<std::size_t>(n))))
            return {};
    }
}

Outcome<std::string> ReadRegularFile(const std::string& path)
{
    std::string bytes;
    const Outcome<> read = ReadRegularFileInChunks(path, [&bytes](std::string_view chunk) {
        bytes.append(chunk);
        return true;
    });
    if (!read)
        return Failure {read.Reason()};
    return bytes;
}

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    Outcome<std::string> read = ReadRegularFile(path);
    return read ? std::optional<std::string>(std::move(*read)) : std::nullopt;
}

// Writes everything to an open descriptor, retrying short writes.
static bool WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

static DiskWatcher& Watcher()
{
    static DiskWatcher watcher;
    return watcher;
}

DiskWatcher SetDiskWatcher(DiskWatcher watcher)
{
    std::swap(Watcher(), watcher);
    return watcher;
}

static void Tell(DiskStep::Kind kind, const std::string& path, const std::string& newPath = {})
{
    if (Watcher())
        Watcher()(DiskStep {kind, path, newPath});
}

// A file system that cannot flush a folder (EINVAL) has no other way to make it durable.
static bool Flush(int fd, const std::string& path)
{
    if (::fsync(fd) != 0 && errno != EINVAL)
        return false;
    Tell(DiskStep::Flush, path);
    return true;
}

// The folder that holds the file ("." for a bare name).
static std::string FolderOf(const std::string& path)
{
    const std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

static bool WriteOpened(const std::string& path, int flags, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0600);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes);
    return (::close(fd) == 0) && written;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    return WriteOpened(path, O_TRUNC, bytes);
}

bool AppendFileBytes(const std::string& path, const std::string& bytes)
{
    return WriteOpened(path, O_APPEND, bytes);
}

static std::string ErrnoText(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// Creates a private file from the pattern, writes the bytes, lets `finish` give the file its
// owner and mode, and flushes it: its name, or why not, with no file left behind.
static Outcome<std::string> WriteTemporary(std::string pattern, std::string_view bytes,
                                           const std::function<bool(int)>& finish)
{
    // Its name is random: the user knows the file it stands beside, the pattern less its letters.
    const std::string beside = pattern.substr(0, pattern.rfind('.'));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return Failure {ErrnoText("Cannot create a temporary file beside", beside)};
    const bool written = WriteAll(fd, bytes) && finish(fd) && Flush(fd, pattern);
    if (::close(fd) == 0 && written)
        return pattern;
    const Failure failure {ErrnoText("Cannot write", pattern)};
    ::unlink(pattern.c_str());
    return failure;
}

std::optional<std::string> WriteTemporaryFile(std::string pattern, std::string_view bytes)
{
    Outcome<std::string> written = WriteTemporary(std::move(pattern), bytes, [](int) { return true; });
    return written ? std::optional<std::string>(std::move(*written)) : std::nullopt;
}

// True when the user took the write permission away: root can write such a file anyway, but
// a bookmark file marked read-only must not be rewritten behind the user's back.
static bool IsReadOnly(const std::string& path, const struct stat& info)
{
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

Outcome<> ReplaceFileAtomically(const std::string& path, const std::string& bytes)
{
    std::error_code ec;
    std::string target = path;
    if (fs::is_symlink(path, ec)) {
        const fs::path resolved = fs::canonical(path, ec);
        if (ec)
            return Failure {"Cannot follow the link " + path + ": " + ec.message()};
        target = resolved.string();
    }

    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        return Failure {"Cannot replace " + target + ": it is a folder"};
    if (exists && IsReadOnly(target, info))
        return Failure {"Cannot replace " + target + ": the file is read-only"};

    // The owner first: changing it may clear the set-id bits the mode then puts back.
    const auto keepOwnerAndMode = [&](int fd) {
        if (!exists)
            return true;
        const bool owned = (info.st_uid == ::geteuid() && info.st_gid == ::getegid())
                           || ::fchown(fd, info.st_uid, info.st_gid) == 0;
        return owned && ::fchmod(fd, info.st_mode & 07777) == 0;
    };
    const Outcome<std::string> temp = WriteTemporary(target + ".XXXXXX", bytes, keepOwnerAndMode);
    if (!temp)
        return Failure {temp.Reason()};
    if (::rename(temp->c_str(), target.c_str()) != 0) {
        const Failure failure {ErrnoText("Cannot replace", target)};
        ::unlink(temp->c_str());
        return failure;
    }
    Tell(DiskStep::Rename, *temp, target);
    // The new file is in place either way; flushing its folder only keeps the rename from being
    // lost with a power cut, so a failure here is no failure of the replace.
    FlushToDisk(FolderOf(target));
    return {};
}

bool RenameNoReplace(const std::string& from, const std::string& to)
{
    bool renamed = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
    if (!renamed && (errno == EINVAL || errno == ENOSYS)) {
        struct stat info {};
        if (::lstat(from.c_str(), &info) != 0)
            return false;
        if (S_ISDIR(info.st_mode)) {
            renamed = ::mkdir(to.c_str(), 0700) == 0 && ::rename(from.c_str(), to.c_str()) == 0;
            if (!renamed && errno != EEXIST)
                ::rmdir(to.c_str());
        } else {
            renamed = ::link(from.c_str(), to.c_str()) == 0;
            if (renamed)
                ::unlink(from.c_str());
        }
    }
    if (renamed)
        Tell(DiskStep::Rename, from, to);
    return renamed;
}

bool FlushToDisk(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool flushed = Flush(fd, path);
    ::close(fd);
    return flushed;
}

bool MakePrivateFolders(const std::string& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return true;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && parent != fs::path(path) && !MakePrivateFolders(parent.string()))
        return false;
    return ::mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && fs::is_directory(path, ec));
}


}  // namespace brimtor
