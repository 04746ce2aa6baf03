#include "support/Backup.hpp"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "support/Clock.hpp"
#include "support/FileIo.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;

namespace brimtor {

namespace {

// A copy under way, hidden from the backup window, which lists "Backup_" names only.
std::string TemporaryPattern(const std::string& folder, const BackupOf& what)
{
    return folder + ".Backup_" + what.word + what.extension + ".XXXXXX";
}

void Discard(const std::string& path)
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// The record of where a copy comes from, written and flushed under a hidden name: one line, the
// origin made absolute, since the user may have named a file relative to where they stood.
std::optional<std::string> WriteRecord(const std::string& folder, const BackupOf& what)
{
    std::error_code ec;
    const fs::path origin = fs::absolute(what.origin, ec);
    if (ec)
        return std::nullopt;
    return WriteTemporaryFile(folder + ".Backup_origin.XXXXXX", origin.string() + "\n");
}

// Every backup ends here: the finished, flushed temporary copy takes the first backup name no
// file or folder has, its record the name beside it, and the backup folder that now names them
// is flushed. Whoever renames first owns a name; the others move on to the next. The copy is
// named first: a power cut between the two renames leaves a copy without its record, which can
// still be put back by naming its place, never a record of nothing. A name whose record is taken
// (left by a copy deleted by hand) is given up for the next. On any failure both go.
BackupCopy Publish(const std::string& temporary, const std::string& folder, const BackupOf& what)
{
    const std::optional<std::string> record = WriteRecord(folder, what);
    if (!record) {
        Discard(temporary);
        return std::nullopt;
    }
    const std::string stem = folder + "Backup_" + what.word + "_" + MinuteStamp(AppClock().Now());
    for (int n = 1;; ++n) {
        const std::string name = stem + (n > 1 ? "_" + std::to_string(n) : "") + what.extension;
        if (!RenameNoReplace(temporary, name)) {
            if (errno == EEXIST)
                continue;
            break;
        }
        if (RenameNoReplace(*record, OriginRecordOf(name))) {
            if (FlushToDisk(fs::path(name).parent_path().string()))
                return name;
            Discard(OriginRecordOf(name));
            Discard(name);
            return std::nullopt;
        }
        if (errno != EEXIST || !RenameNoReplace(name, temporary)) {
            Discard(name);
            break;
        }
    }
    Discard(temporary);
    Discard(*record);
    return std::nullopt;
}

// Writes each file at its place inside `folder` and flushes every file and folder to the disk.
bool WriteFlushedTree(const std::string& folder, const std::vector<BackupFile>& files)
{
    for (const BackupFile& file : files) {
        const fs::path below = fs::path(file.relativePath).lexically_normal();
        if (below.empty() || below.is_absolute() || *below.begin() == "..")
            return false;  // a copy never lands outside its folder
        const fs::path path = fs::path(folder) / below;
        const bool folderOnly = file.relativePath.back() == '/';
        if (!MakePrivateFolders((folderOnly ? path : path.parent_path()).string()))
            return false;
        if (!folderOnly && (!WriteFileBytes(path.string(), file.bytes) || !FlushToDisk(path.string())))
            return false;
    }
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec) && !FlushToDisk(it->path().string()))
            return false;
    }
    return !ec && FlushToDisk(folder);
}

}  // namespace

std::string NoBackupReason(const std::string& what)
{
    return "No backup copy of " + what + " could be made, so it was left unchanged";
}

std::string OriginRecordOf(const std::string& copy)
{
    return copy + ".origin";
}

std::optional<std::string> BackupOrigin(const std::string& copy)
{
    std::optional<std::string> line = ReadFileBytes(OriginRecordOf(copy));
    if (line && !line->empty() && line->back() == '\n')
        line->pop_back();
    if (!line || line->empty() || line->front() != '/')
        return std::nullopt;
    return line;
}

BackupCopy MakeBackup(const BackupOf& what, std::string_view bytes)
{
    const std::string folder = BackupFolder();
    if (!MakePrivateFolders(folder))
        return std::nullopt;
    const std::optional<std::string> temporary = WriteTemporaryFile(TemporaryPattern(folder, what), bytes);
    return temporary ? Publish(*temporary, folder, what) : std::nullopt;
}

BackupCopy MakeBackup(const BackupOf& what, const std::vector<BackupFile>& files)
{
    const std::string folder = BackupFolder();
    std::string temporary = TemporaryPattern(folder, what);
    if (!MakePrivateFolders(folder) || ::mkdtemp(temporary.data()) == nullptr)
        return std::nullopt;
    if (WriteFlushedTree(temporary, files))
        return Publish(temporary, folder, what);
    Discard(temporary);  // half a copy would pass for a backup
    return std::nullopt;
}

}  // namespace brimtor
