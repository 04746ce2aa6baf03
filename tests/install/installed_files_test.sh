#!/usr/bin/env bash
set -euo pipefail
build=$1 source=$2 id=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
cd "$prefix"
test -x bin/brimtor -a -x bin/brimtor-check -a -s share/icons/hicolor/scalable/apps/$id.svg
file share/icons/hicolor/{48x48,128x128}/apps/$id.png | grep -c "PNG image data, \(48 x 48\|128 x 128\)" | grep -qx 2
desktop-file-validate "share/applications/$id.desktop"
appstreamcli validate --no-net "share/metainfo/$id.metainfo.xml"
test -z "$(groff -man -ww -z share/man/man1/brimtor-check.1 2>&1)"
for image in $(grep -o 'docs/screenshots/[^<]*' "share/metainfo/$id.metainfo.xml"); do
  test -f "$source/$image"
done
