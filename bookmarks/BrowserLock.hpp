#pragma once

#include <string>

// Whether a browser is running, from the lock link it keeps in its folder from start to end. A
// stale link left by a crash, or one from another host, says nothing.
namespace brimtor {

// True when the profile's "lock" link, which a running Firefox keeps as "IP:+PID", names a
// process alive on this host (the database's own lock tells about the rest).
bool FirefoxIsRunning(const std::string& profileFolder);

// True while the browser folder's `SingletonLock`, a link to "HOSTNAME-PID" that a
// Chromium-family browser keeps, names a live process on this machine.
bool ChromiumIsRunning(const std::string& browserFolder);

}  // namespace brimtor
