#pragma once

#include <string>

#include "bookmarks/RestoreOutcome.hpp"

namespace brimtor {

struct RestoreKind;

// One backup copy to put back where it came from, as safely as a clean: refused while the
// browser that owns the target runs (in the words a clean uses), the target as it is now backed
// up first as a backup of its own, and then replaced in one step, keeping its owner and mode.
// The copy's name tells what it holds and so how it goes back; its record (support/Backup.hpp)
// tells where. A copy made before records were kept has no target until one is named.
class BackupRestore {
public:
    explicit BackupRestore(std::string backup);

    // The name is one this program gives its backups ("Backup_Chromium_….json").
    bool Known() const { return m_kind != nullptr; }
    // Where it goes back: the file its copy was taken from (for a Firefox database the profile's
    // places.sqlite), or a Favorites backup's Favorites folder; empty when that is not known.
    const std::string& Target() const { return m_target; }
    void SetTarget(std::string target) { m_target = std::move(target); }
    // The target is a folder rather than a file.
    bool TargetIsFolder() const;
    // The target as the user knows it: "~/links.txt", "the Firefox profile ~/.mozilla/firefox/x".
    std::string TargetWords() const;
    // What the user is asked before it goes back.
    std::string Question() const;

    // Puts the backup back; without a known name or a target nothing is done and it says why.
    RestoreOutcome Restore() const;

private:
    std::string m_backup;
    const RestoreKind* m_kind = nullptr;
    std::string m_target;
};

}  // namespace brimtor
