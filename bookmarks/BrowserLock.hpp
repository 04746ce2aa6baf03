#pragma once

#include <optional>
#include <string>

// Whether a browser is running, from the lock link it keeps in its folder from start to end,
// read as the browsers themselves read it. A link that names another host means the browser
// runs there (a home folder shared between machines) and would write back what a clean removes.
// A link that names this host counts only while its process lives and is that browser: a crash
// leaves the link behind, and its process number may since have gone to any other program.
namespace brimtor {

inline constexpr const char* kFirefoxRunsHere = "Firefox is running. Close Firefox, then clean again.";

// Why Firefox's profile must not be cleaned now, from its "lock" link ("IP:+PID"): its running
// here (kFirefoxRunsHere) or "Firefox is running on HOST. Close it there, then clean again.";
// nothing when the link is missing or stale. The database's own lock tells about the rest.
std::optional<std::string> FirefoxRunning(const std::string& profileFolder);

// The same for a Chromium-family browser, from its browser folder's `SingletonLock`
// ("HOSTNAME-PID"): "Google Chrome is running. Close it, then clean again." or "Google Chrome is
// running on HOST. Close it there, then clean again.", with the browser's name.
std::optional<std::string> ChromiumRunning(const std::string& browserFolder, const std::string& browserName);

}  // namespace brimtor
