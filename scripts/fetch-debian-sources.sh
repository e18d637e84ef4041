#!/bin/sh
# Fetches upstream sources that a build compiles itself (the browser build's zlib and
# libpng, the Windows build's libraries): Debian's own source packages, through apt
# with a private list of source indexes, each unpacked into DEST/NAME:
#   scripts/fetch-debian-sources.sh DEST NAME[=SOURCE-PACKAGE]...
# e.g. DEST zlib libpng=libpng1.6. Nothing of the system's apt set-up changes; a
# package already unpacked is not fetched again.
set -eu

dest=${1:?usage: $0 DEST NAME[=SOURCE-PACKAGE]...}
shift
wanted=""
for item in "$@"; do
  name=${item%%=*}
  [ -d "$dest/$name" ] || wanted="$wanted $item"
done
[ -n "$wanted" ] || exit 0

# The Debian mirror the system's own apt lists name (not its security suite).
system_mirror() {
  { grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{ print $2 }'
    grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list | awk '{ print $2 }'; } |
    grep '/debian/*$' | head -n 1
}
mirror=${DEBIAN_SOURCES_MIRROR:-${WEB_SOURCES_MIRROR:-$(system_mirror)}}
[ -n "$mirror" ] || { echo "No Debian mirror in the apt sources: set DEBIAN_SOURCES_MIRROR" >&2; exit 1; }
suite=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-bookworm}")
apt_dir="$dest/apt"
rm -rf "$dest/download"
mkdir -p "$apt_dir/lists/partial" "$dest/download"
echo "deb-src $mirror $suite main" >"$apt_dir/sources.list"
# The sandbox user cannot write into a folder of ours; this user fetches instead.
set -- -o Dir::Etc::SourceList="$(realpath "$apt_dir/sources.list")" -o Dir::Etc::SourceParts=/dev/null \
  -o Dir::State::Lists="$(realpath "$apt_dir/lists")" -o APT::Sandbox::User="$(id -un)" -o Debug::NoLocking=1
echo "Fetching Debian's sources of:$wanted"
apt-get -q "$@" update >/dev/null

for item in $wanted; do
  name=${item%%=*}
  package=${item#*=}
  # Only the upstream tarball is unpacked, so only it is fetched, checked against the
  # hash the source index gives: a mirror that lacks a package's .dsc, Debian patches
  # or signature (mpg123's .asc answers 404, so apt-get source itself fails) does not matter.
  tarball=$(cd "$dest/download" && apt-get -q "$@" source --print-uris "$package" 2>/dev/null |
    sed -n "s/^'\([^']*[.]orig[.]tar[.][a-z0-9]*\)' \([^ ]*\) [0-9]* \([A-Za-z0-9]*:[0-9a-f]*\)$/\1 \2 \3/p")
  [ "$(echo "$tarball" | grep -c .)" = 1 ] ||
    { echo "The source index names no single upstream tarball of $package:" >&2; echo "$tarball" >&2; exit 1; }
  echo "$tarball" | {
    read -r uri file hash
    /usr/lib/apt/apt-helper "$@" download-file "$uri" "$dest/download/$file" "$hash" >/dev/null
    rm -rf "$dest/$name.tmp"
    mkdir -p "$dest/$name.tmp"
    tar -xf "$dest/download/$file" -C "$dest/$name.tmp"
    # A tarball of one top folder gives that folder; a flat one gives its files.
    if [ "$(ls -A "$dest/$name.tmp" | wc -l)" = 1 ] && [ -d "$dest/$name.tmp/$(ls -A "$dest/$name.tmp")" ]; then
      mv "$dest/$name.tmp"/* "$dest/$name"
      rmdir "$dest/$name.tmp"
    else
      mv "$dest/$name.tmp" "$dest/$name"
    fi
  }
done
rm -rf "$dest/download"
