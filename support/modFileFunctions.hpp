#pragma once

#include <string>
#include <vector>

// Small file operations the bookmark sources share.
namespace brimtor {

// Full paths of the files in `folder` matching any of the ";"-separated wildcard patterns
// (case-insensitive, "*" and "?"), hidden files (name starting with ".") left out. Each
// pattern's files come in name order, then, when recursing, every visible sub-folder's files
// depth first. A path matched twice (by two patterns) is listed once, at its first place;
// names differing only in letter case are different files. Whatever cannot be listed is skipped.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& patterns,
                                   bool recurse);

// Full paths of the visible sub-folders below `folder`, in the order FindFiles walks them: name
// order, each followed by the folders inside it. A linked folder is not walked, as there.
std::vector<std::string> FindFolders(const std::string& folder);

// True for an existing path that is not a folder.
bool FileExists(const std::string& path);
// True for an existing folder.
bool FolderExists(const std::string& path);

// The text with `character` appended unless it already ends with it.
std::string AddTrailingChar(const std::string& text, char character);

// The last component of the path: the text after the last separator.
std::string GetFileName(const std::string& path);

// Case-insensitive wildcard match of a whole name: "*" any run, "?" one character.
bool WildcardMatch(const std::string& name, const std::string& pattern);

}  // namespace brimtor
