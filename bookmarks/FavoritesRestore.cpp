#include "bookmarks/FavoritesRestore.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <unistd.h>

#include "support/FileIo.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

// The files of the backup, by their paths below it, in name order, and its folders, each with a
// "/" after it: a folder taken out empty is recorded so.
Outcome<std::vector<std::string>> ShortcutsIn(const std::string& backup)
{
    std::vector<std::string> below;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(backup, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string path = it->path().lexically_relative(backup).string();
        if (it->is_directory(ec))
            below.push_back(path + "/");
        else if (it->is_regular_file(ec))
            below.push_back(path);
    }
    if (ec)
        return Failure {"cannot read " + backup + ": " + ec.message()};
    std::sort(below.begin(), below.end());
    return below;
}

// Writes the shortcut under a name of its own beside its place, then gives it its place unless
// something has taken it, even meanwhile.
Outcome<> PutBack(const std::string& path, const std::string& bytes)
{
    const fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::optional<std::string> temporary = ec ? std::nullopt : WriteTemporaryFile(path + ".XXXXXX", bytes);
    if (!temporary)
        return Failure {"it cannot be written in " + folder.string()};
    if (RenameNoReplace(*temporary, path)) {
        FlushToDisk(folder.string());
        return {};
    }
    const int error = errno;
    ::unlink(temporary->c_str());
    return Failure {error == EEXIST ? "a shortcut is there now; it was kept" : std::strerror(error)};
}

}  // namespace

RestoreOutcome RestoreFavorites(const std::string& backup, const std::string& favorites)
{
    const Outcome<std::vector<std::string>> shortcuts = ShortcutsIn(backup);
    if (!shortcuts)
        return Failure {shortcuts.Reason()};
    Restored restored;
    for (const std::string& below : *shortcuts) {
        if (below.back() == '/') {
            std::error_code ec;
            fs::create_directories(favorites + "/" + below, ec);
            if (ec)
                restored.notRestored.push_back(below + ": " + ec.message());
            continue;
        }
        const std::optional<std::string> bytes = ReadFileBytes(backup + "/" + below);
        const Outcome<> put = bytes ? PutBack(favorites + "/" + below, *bytes) : Failure {"its copy cannot be read"};
        if (put)
            ++restored.bookmarks;
        else
            restored.notRestored.push_back(below + ": " + put.Reason());
    }
    return restored;
}

}  // namespace brimtor
