# Sourced by the benchmark scripts: a release build of the targets named, a temporary folder
# for the files, $HOME and the server, and a clean-up that stops the server and removes it all.
# Sets root, build (the first argument, default build-bench), work and server_pid, and $HOME
# (made) and the XDG folders inside work: nothing may read or write the real home.
# Usage: . bench/bench_setup.sh BUILD_DIR PROGRAM...   (PROGRAM as under the build: cli/brimtor-check)

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-}; build=${build:-$root/build-bench}
shift || true
work=$(mktemp -d)
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

for program in "$@"; do
  if [ ! -x "$build/$program" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
    cmake --build "$build" --target "${@##*/}" > /dev/null
    break
  fi
done

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"
