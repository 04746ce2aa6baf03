#pragma once

#include <functional>
#include <string>

// Hands a web address, a mailto: address or a file to the desktop's default program. The
// application installs the real opener; tests install a recorder.
namespace brimtor {

using ShellHandler = std::function<bool(const std::string& target)>;

// True when the desktop accepted the target. With no handler installed nothing is opened.
bool OpenWithShell(const std::string& target);

// Installs the handler and returns the one it replaced.
ShellHandler SetShellHandler(ShellHandler handler);

}  // namespace brimtor
