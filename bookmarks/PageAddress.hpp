#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brimtor {

// The address of a web bookmark (http, https, ftp) written the one way every address of the same
// page is: scheme and host in lower case, the scheme's default port (80, 443, 21) left out, an
// empty path written "/". Everything else stays as it is, the fragment too (a web app routes its
// pages by it), so two bookmarks are the same page exactly when these are equal; http and https
// stay apart. Nothing for an address of any other kind or without a host.
std::optional<std::string> PageAddress(std::string_view url);

}  // namespace brimtor
