#!/usr/bin/env bash
# Times brimtor-check end to end, process start included, against a loopback server:
#   - 1 000 links that all answer 200 at once, with --jobs 64 --pace 0;
#   - 1 000 links of mixed behaviour (200, 404, 301 with Location, 405 to HEAD but 200 to GET,
#     500, 204, refused) with --jobs 64 --pace 0, best of three, and its peak memory;
#   - 10 000 links of the same mix, for how the time grows;
#   - --no-check on a 100 000-bookmark file (loading and printing only).
# If linkchecker happens to be installed it is timed on the same 1 000-link file for comparison.
#
# Usage: bench/scan_benchmark.sh [BUILD_DIR]   (default build-bench, configured RelWithDebInfo)
# Every file, the server and $HOME live in a temporary folder that is removed at the end.
set -euo pipefail

. "$(dirname "$0")/bench_setup.sh" "${1:-}" cli/brimtor-check
check=$build/cli/brimtor-check
c++ -O2 -std=c++20 "$root/bench/scan_server.cpp" -o "$work/scan_server"

"$work/scan_server" > "$work/port" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.01; done
port=$(head -1 "$work/port")
refused=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

make_file() { python3 "$root/bench/make_bookmarks.py" "$@"; }
make_file 1000 "$port" 0 "$work/fast1000.html" ok
make_file 1000 "$port" "$refused" "$work/links1000.html"
make_file 10000 "$port" "$refused" "$work/links10000.html"
make_file 100000 0 0 "$work/links100000.html"

now_ns() { date +%s%N; }
# Runs the command once; sets $seconds (wall, process start included) and $peak_kb.
measure() {
  local start end
  start=$(now_ns)
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f %M -o "$work/rss" "$@" > "$work/out" 2> /dev/null || true
    peak_kb=$(tail -1 "$work/rss")
  else
    "$@" > "$work/out" 2> /dev/null || true
    peak_kb=?
  fi
  end=$(now_ns)
  seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
}
# The fastest of three runs; sets $best and $best_kb.
best_of_three() {
  best= best_kb=
  for _ in 1 2 3; do
    measure "$@"
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$seconds best_kb=$peak_kb
    fi
  done
}
outcomes() { cut -d, -f6 "$work/out" | tail -n +2 | sort -n | uniq -c | awk '{ printf "%s×%s ", $1, $2 }'; }

scan=(--source html --no-connection-check --jobs 64 --pace 0 --format csv --view all)
measure "$check" "${scan[@]}" "$work/links1000.html"  # warm the page cache and the loader
best_of_three "$check" "${scan[@]}" "$work/fast1000.html"
echo "1 000 links answering 200, --jobs 64 --pace 0:   ${best} s wall, peak ${best_kb} KB"
best_of_three "$check" "${scan[@]}" "$work/links1000.html"
t1000=$best
echo "1 000 links of mixed behaviour, --jobs 64 --pace 0:   ${t1000} s wall, peak ${best_kb} KB"
echo "    codes: $(outcomes)"

best_of_three "$check" "${scan[@]}" "$work/links10000.html"
t10000=$best
echo "10 000 links of mixed behaviour, --jobs 64 --pace 0: ${t10000} s wall, peak ${best_kb} KB" \
     "($(awk -v a="$t10000" -v b="$t1000" 'BEGIN { printf "%.1f", a / b }')× the 1 000-link time)"

size=$(du -k "$work/links100000.html" | cut -f1)
best_of_three "$check" --source html --no-check --format csv "$work/links100000.html"
echo "100 000 bookmarks (${size} KB), --no-check: ${best} s wall, peak ${best_kb} KB"

if command -v linkchecker > /dev/null; then
  measure linkchecker --check-extern --recursion-level=1 --no-status "$work/links1000.html"
  echo "linkchecker, same 1 000-link file: ${seconds} s wall (brimtor-check: ${t1000} s)"
else
  echo "linkchecker is not installed: no comparison run"
fi
