#!/usr/bin/env bash
# Renders every wizard page and the backup, about and donation windows to docs/screenshots/,
# with the offscreen platform and a throw-away home, so nothing of the user's is read or written.
set -euo pipefail
cd "$(dirname "$0")/.."
make build > /dev/null
cmake --build build --target brimtor-screenshots > /dev/null

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/run" && chmod 700 "$home/run"
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
XDG_RUNTIME_DIR="$home/run" QT_QPA_PLATFORM=offscreen \
  ./build/tools/screenshots/brimtor-screenshots "$PWD/docs/screenshots"
