#include "bookmarks/BackupRestore.hpp"

#include <filesystem>
#include <optional>
#include <string_view>

#include "bookmarks/BrowserLock.hpp"
#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "bookmarks/ChromiumProfile.hpp"
#include "bookmarks/FavoritesRestore.hpp"
#include "bookmarks/PlacesRestore.hpp"
#include "bookmarks/TextFileSource.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"
#include "support/Backup.hpp"
#include "support/FileIo.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"

namespace fs = std::filesystem;

namespace brimtor {

// What a backup of one kind holds and how it goes back.
struct RestoreKind {
    const char* word;       // its name's: "Backup_" word "_" stamp extension
    const char* extension;  // none for a folder
    RestoreOutcome (*restore)(const RestoreKind& kind, const std::string& backup, const std::string& target);
    // A backup that replaces its target whole: its bookmarks, read as its source reads them, which
    // also tells a copy that holds none; and why its target must stay now (its browser runs).
    LoadOutcome (*read)(const std::string& backup) = nullptr;
    std::optional<std::string> (*running)(const std::string& target) = nullptr;
    // The target as the user knows it.
    std::string (*words)(const std::string& target) = nullptr;
};

namespace {

std::string FolderOf(const std::string& path)
{
    return fs::path(path).parent_path().string();
}

LoadOutcome ReadBookmarkFile(const std::string& backup)
{
    return cNetscapeBookmarkFile().Load(backup);
}

// A bookmark file the user named is backed up as a text file too: then its entries count.
LoadOutcome ReadTextBackup(const std::string& backup)
{
    LoadOutcome asBookmarkFile = ReadBookmarkFile(backup);
    if (asBookmarkFile.bookmarks && asBookmarkFile.bookmarks->Count() > 0)
        return asBookmarkFile;
    const SourceLocation where {backup, {}};
    return TextFileSource(where).GetBookMarks();
}

LoadOutcome ReadChromiumBackup(const std::string& backup)
{
    const std::optional<std::string> bytes = ReadFileBytes(backup);
    if (!bytes)
        return {nullptr, "cannot open " + backup, {}};
    LoadOutcome read = ReadChromiumBookmarks(*bytes);
    if (!read.bookmarks)
        read.reason = backup + " " + read.reason;
    return read;
}

std::optional<std::string> FirefoxOwns(const std::string& target)
{
    return FirefoxRunning(FolderOf(target));
}

std::optional<std::string> ChromiumOwns(const std::string& target)
{
    const ChromiumProfile profile = ChromiumProfileAt(FolderOf(target));
    return ChromiumRunning(profile.browserFolder, profile.browserName);
}

std::string FirefoxProfileWords(const std::string& target)
{
    return "the Firefox profile " + TildeForHome(FolderOf(target));
}

std::string ChromiumProfileWords(const std::string& target)
{
    return "the " + ChromiumProfileAt(FolderOf(target)).Description();
}

// A copy of the target as it is now, as a backup of the same kind; "" when there is no target.
Outcome<std::string> SaveCurrent(const RestoreKind& kind, const std::string& target)
{
    const std::optional<std::string> current = ReadFileBytes(target);
    std::error_code ec;
    if (!current && !fs::exists(target, ec))
        return std::string();
    const BackupCopy copy = current ? MakeBackup({target, kind.word, kind.extension}, *current) : std::nullopt;
    if (!copy)
        return Failure {NoBackupReason(target)};
    return *copy;
}

RestoreOutcome RestoreFile(const RestoreKind& kind, const std::string& backup, const std::string& target)
{
    const LoadOutcome held = kind.read(backup);
    if (!held.bookmarks)
        return Failure {held.reason.empty() ? backup + " holds no bookmarks that can be read" : held.reason};
    if (const std::optional<std::string> running = kind.running ? kind.running(target) : std::nullopt)
        return Failure {*running};
    const std::optional<std::string> bytes = ReadFileBytes(backup);
    if (!bytes)
        return Failure {"cannot open " + backup};
    const Outcome<std::string> saved = SaveCurrent(kind, target);
    if (!saved)
        return Failure {saved.Reason()};
    const Outcome<> replaced = ReplaceFileAtomically(target, *bytes);
    if (!replaced)
        return Failure {replaced.Reason()};
    return Restored {held.bookmarks->Count(), {}, *saved};
}

const RestoreKind kKinds[] = {
    {.word = "TextFile", .extension = ".txt", .restore = RestoreFile, .read = ReadTextBackup, .words = TildeForHome},
    {.word = "User", .extension = ".html", .restore = RestoreFile, .read = ReadBookmarkFile, .words = TildeForHome},
    {.word = "Netscape", .extension = ".html", .restore = RestoreFile, .read = ReadBookmarkFile, .words = TildeForHome},
    {.word = "Firefox", .extension = ".html", .restore = RestoreFile, .read = ReadBookmarkFile,
     .running = FirefoxOwns, .words = TildeForHome},
    {.word = "Firefox", .extension = ".sqlite",
     .restore = [](const RestoreKind&, const std::string& backup, const std::string& target) {
         return RestorePlaces(backup, target);
     },
     .words = FirefoxProfileWords},
    {.word = "Chromium", .extension = ".json", .restore = RestoreFile, .read = ReadChromiumBackup,
     .running = ChromiumOwns, .words = ChromiumProfileWords},
    {.word = "Favorites", .extension = "",
     .restore = [](const RestoreKind&, const std::string& backup, const std::string& target) {
         return RestoreFavorites(backup, target);
     },
     .words = TildeForHome},
};

const RestoreKind* KindNamed(const std::string& backup)
{
    const std::string name = GetFileName(backup);
    const bool folder = FolderExists(backup);
    for (const RestoreKind& kind : kKinds) {
        const std::string prefix = std::string("Backup_") + kind.word + "_";
        const std::string_view extension = kind.extension;
        if (folder == extension.empty() && name.size() > prefix.size() + extension.size()
            && name.starts_with(prefix) && name.ends_with(extension))
            return &kind;
    }
    return nullptr;
}

}  // namespace

BackupRestore::BackupRestore(std::string backup)
    : m_backup(std::move(backup))
{
    while (m_backup.size() > 1 && m_backup.back() == '/')
        m_backup.pop_back();  // a folder named with its separator
    m_kind = KindNamed(m_backup);
    m_target = BackupOrigin(m_backup).value_or("");
}

bool BackupRestore::TargetIsFolder() const
{
    return m_kind && *m_kind->extension == '\0';
}

std::string BackupRestore::TargetWords() const
{
    return m_kind ? m_kind->words(m_target) : TildeForHome(m_target);
}

std::string BackupRestore::Question() const
{
    return "Put this backup back? The bookmarks it holds replace those in " + TargetWords()
         + "; the current ones are backed up first.";
}

RestoreOutcome BackupRestore::Restore() const
{
    if (!m_kind)
        return Failure {"its name is not one this program gives its backups"};
    if (m_target.empty())
        return Failure {"it does not record where it was taken from"};
    return m_kind->restore(*m_kind, m_backup, m_target);
}

}  // namespace brimtor
