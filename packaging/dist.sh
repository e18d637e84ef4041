#!/bin/bash
# Gathers the release archives into one folder, each named with the version, and
# writes their SHA256SUMS:
#   glasswind_VERSION_ARCH.deb      the Debian package
#   glasswind-VERSION-win64.zip     the Windows program (make windows)
#   glasswind-VERSION-web.zip       the browser page in glasswind-web/, for any static host
#   dist.sh VERSION RELEASE_DATE OUT_DIR DEB WINDOWS_ZIP WEB_DIR
set -euo pipefail
[ $# -eq 6 ] || { echo "usage: $0 VERSION RELEASE_DATE OUT_DIR DEB WINDOWS_ZIP WEB_DIR" >&2; exit 2; }
version=$1 day=$2 out=$3 deb=$4 windows_zip=$5 web_dir=$6
for input in "$deb" "$windows_zip" "$web_dir/index.html"; do
  [ -f "$input" ] || { echo "dist: $input is missing (make deb, make windows and make web build it)" >&2; exit 1; }
done
rm -rf "$out"
mkdir -p "$out/web-stage/glasswind-web"
cp "$deb" "$out/"
cp "$windows_zip" "$out/glasswind-$version-win64.zip"
cp -R "$web_dir/." "$out/web-stage/glasswind-web/"
# Every file of the page dated on the release day, not on the day it happened to be built.
(cd "$out/web-stage" && cmake -E tar cf "../glasswind-$version-web.zip" --format=zip --mtime="$day 00:00:00 UTC" glasswind-web)
rm -rf "$out/web-stage"
(cd "$out" && sha256sum -- * >SHA256SUMS)
echo "Release archives in $out:"
(cd "$out" && ls -l --time-style=+ -- *)
