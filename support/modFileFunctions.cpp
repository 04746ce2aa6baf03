#include "support/modFileFunctions.hpp"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "support/Text.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

struct FolderListing {
    std::vector<std::string> files;    // names, sorted
    std::vector<std::string> folders;  // names, sorted
};

bool IsHidden(const std::string& name)
{
    return !name.empty() && name.front() == '.';
}

// Everything visible directly in the folder; an unreadable folder or entry is skipped.
FolderListing ListFolder(const std::string& folder)
{
    FolderListing listing;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsHidden(name))
            continue;
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            // A linked folder may point back up the tree; walking it could never end.
            if (!it->is_symlink(typeError))
                listing.folders.push_back(name);
        }
        else if (!typeError && it->exists(typeError))
            listing.files.push_back(name);
    }
    std::sort(listing.files.begin(), listing.files.end());
    std::sort(listing.folders.begin(), listing.folders.end());
    return listing;
}

void Collect(const std::string& folder, const std::vector<std::string>& patterns, bool recurse,
             std::vector<std::string>& out, std::unordered_set<std::string>& seen)
{
    const std::string base = AddTrailingChar(folder, '/');
    const FolderListing listing = ListFolder(base);
    for (const std::string& pattern : patterns) {
        for (const std::string& name : listing.files) {
            if (!WildcardMatch(name, pattern))
                continue;
            const std::string path = base + name;
            // Only the very same path is a repeat: on Linux "A.url" and "a.url" are two files.
            if (seen.insert(path).second)
                out.push_back(path);
        }
    }
    if (!recurse)
        return;
    for (const std::string& sub : listing.folders)
        Collect(base + sub, patterns, true, out, seen);
}

void CollectFolders(const std::string& folder, std::vector<std::string>& out)
{
    const std::string base = AddTrailingChar(folder, '/');
    for (const std::string& sub : ListFolder(base).folders) {
        out.push_back(base + sub);
        CollectFolders(base + sub, out);
    }
}

}  // namespace

bool WildcardMatch(const std::string& name, const std::string& pattern)
{
    // Iterative match with one backtrack point for the last "*": linear for usual patterns.
    std::size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || ToLowerAscii(pattern[p]) == ToLowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& patterns,
                                   bool recurse)
{
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    Collect(folder, SplitAt(patterns, ';'), recurse, out, seen);
    return out;
}

std::vector<std::string> FindFolders(const std::string& folder)
{
    std::vector<std::string> out;
    CollectFolders(folder, out);
    return out;
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec) && !fs::is_directory(path, ec);
}

bool FolderExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string AddTrailingChar(const std::string& text, char character)
{
    if (!text.empty() && text.back() == character)
        return text;
    return text + character;
}

std::string GetFileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace brimtor
