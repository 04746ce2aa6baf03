#!/usr/bin/env bash
# Times brimtor-check end to end, process start included, with its own defaults (32 links at
# once, 50 ms between two requests to one server, the look inside pages) and a 10 s cut-off, on
# the loopback imitation of the web (bench/WebImitation.hpp: 1 000 links on 200 servers at
# 127.0.1.x, 2 silent, 8 refusing, 6 answering after over a second), three times, then three
# times with --no-look, against the lower bound of the check without the look: one cut-off plus
# the busiest server's own queue asked two at a time. Targets: within 2x without the look, which
# may add at most 60 %.
#
# Usage: bench/web_benchmark.sh [BUILD_DIR]   (default build-bench, configured RelWithDebInfo)
# The links, $HOME and the outputs live in a temporary folder that is removed at the end; the
# imitation stops itself after 15 minutes if this script is killed.
set -euo pipefail

. "$(dirname "$0")/bench_setup.sh" "${1:-}" cli/brimtor-check bench/web_imitation

"$build/bench/web_imitation" "$work/links.txt" 10 900 > "$work/mix" &
server_pid=$!
for _ in $(seq 200); do grep -q '^lower bound' "$work/mix" 2> /dev/null && break; sleep 0.01; done
cat "$work/mix"
bound=$(sed -n 's/^lower bound at a 10 s cut-off: \([0-9.]*\) s$/\1/p' "$work/mix")

for look in "" --no-look; do
  for run in 1 2 3; do
    start=$(date +%s%N)
    "$build/cli/brimtor-check" --source text "$work/links.txt" --no-connection-check --timeout 10 \
      --format csv --view all $look > "$work/out" 2> /dev/null || true
    end=$(date +%s%N)
    awk -v a="$start" -v b="$end" -v bound="$bound" -v run="$run ${look:-(the look)}" \
      'BEGIN { s = (b - a) / 1e9; printf "run %s: %.2f s wall, %.2fx the lower bound\n", run, s, s / bound }'
  done
done
echo "codes: $(cut -d, -f6 "$work/out" | tail -n +2 | sort -n | uniq -c | awk '{ printf "%s×%s ", $1, $2 }')"
echo "unasked after a silent link: $(grep -c 'did not answer an earlier link either' "$work/out" || true)"
