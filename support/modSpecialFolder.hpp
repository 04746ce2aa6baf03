#pragma once

#include <string>

// Where the program finds the user's folders and keeps its own files.
namespace brimtor {

// Folder ids the bookmark sources ask for: the Favorites folder, and the home folder below
// which the browsers keep their profiles.
constexpr int CSIDL_FAVORITES = 6;
constexpr int kHomeFolderId = 26;

// The path of a special folder: 6 gives $HOME/Favorites, 26 gives $HOME. Empty text for any
// other id or when HOME is not set. The folder need not exist.
std::string GetSpecialFolderPath(int folderId);

// The path as a user reads it, with "~" for the home folder: "~/.mozilla/firefox/x.default".
std::string TildeForHome(const std::string& path);

// $XDG_CONFIG_HOME (default ~/.config): where desktop programs keep their settings.
std::string UserConfigHome();

// $XDG_CONFIG_HOME/brimtor (default ~/.config/brimtor): the settings hive lives below it.
std::string ConfigFolder();

// $XDG_DATA_HOME/brimtor (default ~/.local/share/brimtor): backups and the error log.
std::string DataFolder();

// DataFolder()/Backups/, with the trailing separator.
std::string BackupFolder();

// $XDG_RUNTIME_DIR/brimtor (DataFolder()/copies without a runtime folder): where a private copy
// of a browser's store lives while it is read. The runtime folder is the user's alone and goes
// with the session.
std::string PrivateCopyFolder();

}  // namespace brimtor
