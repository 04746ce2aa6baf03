#pragma once

#include <string>

namespace brimtor {

// True when the profile's "lock" link, which a running Firefox keeps as "IP:+PID", names a
// process alive on this host. A stale link left by a crash, or one from another host, says
// nothing: the database's own lock tells about those.
bool FirefoxIsRunning(const std::string& profileFolder);

}  // namespace brimtor
