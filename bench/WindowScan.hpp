#pragma once

#include <string>
#include <vector>

#include "engine/cScanDriver.hpp"

class QCoreApplication;

namespace brimtor::bench {

// The process's one application object, made on first use: sockets and timers need it.
QCoreApplication& Application();

// Scans the links once as the window does, in a throw-away home: a text-file source, the scan
// driver on a real event loop (waiting in slices would add its own delays) with `lanes` links at
// a time, the look inside pages or not (bench_scan_look times what it adds), and a scan page that
// shows nothing. Returns the seconds
// from the Scan click to the end.
double TimeWindowScan(const std::vector<std::string>& links, ScanTimings timings, int lanes, bool look = false);

}  // namespace brimtor::bench
