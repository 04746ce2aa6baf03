#!/usr/bin/env bash
# Installs the Debian packages Brimtor needs to build, test and run.
# Safe to run again: it only asks apt for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  openssl ca-certificates
  libgl-dev
  ccache
  # installing like a desktop program: the validators, the icon's PNG sizes, the .deb's dependencies
  desktop-file-utils appstream librsvg2-bin dpkg-dev file
  nlohmann-json3-dev libssl-dev
  libsqlite3-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
