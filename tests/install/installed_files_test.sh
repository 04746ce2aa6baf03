#!/usr/bin/env bash
set -euo pipefail
build=$1 source=$2 id=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
cd "$prefix"
for f in bin/brimtor bin/brimtor-check share/icons/hicolor/scalable/apps/$id.svg share/man/man1/brimtor-check.1; do
  test -s "$f" || { echo "not installed: $f"; exit 1; }
done
for size in 48 128; do
  file "share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size"
done
desktop-file-validate "share/applications/$id.desktop"
appstreamcli validate --no-net "share/metainfo/$id.metainfo.xml"
test -z "$(groff -man -ww -z share/man/man1/brimtor-check.1 2>&1)"
for image in $(grep -o 'docs/screenshots/[^<]*' "share/metainfo/$id.metainfo.xml"); do
  test -f "$source/$image" || { echo "no such screenshot: $image"; exit 1; }
done
echo "installed files valid"
