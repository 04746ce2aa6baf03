#pragma once

#include <string>

namespace brimtor {

// The address held by an Internet shortcut (".url") file: its URL= address, or its BASEURL=
// address when the URL= address carries a fragment or is missing. Empty text when neither can
// be read, including when the file cannot be opened.
std::string ReadShortcutUrl(const std::string& path);

}  // namespace brimtor
