#!/bin/sh
# Fetches the sources of zlib and libpng that the browser build compiles with
# emscripten (which has no system libraries of its own): Debian's own source
# packages, through apt with a private list of source indexes, unpacked into
#   DEST/zlib and DEST/libpng          (scripts/fetch-web-sources.sh DEST)
# Nothing of the system's apt set-up changes. Already there, it does nothing.
set -eu

dest=${1:?usage: $0 DEST}
[ -f "$dest/zlib/inflate.c" ] && [ -f "$dest/libpng/pngread.c" ] && exit 0

# The Debian mirror the system's own apt lists name (not its security suite).
system_mirror() {
  { grep -hs '^URIs:' /etc/apt/sources.list.d/*.sources | awk '{ print $2 }'
    grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list | awk '{ print $2 }'; } |
    grep '/debian/*$' | head -n 1
}
mirror=${WEB_SOURCES_MIRROR:-$(system_mirror)}
[ -n "$mirror" ] || { echo "No Debian mirror in the apt sources: set WEB_SOURCES_MIRROR" >&2; exit 1; }
suite=$(. /etc/os-release 2>/dev/null && echo "${VERSION_CODENAME:-bookworm}")
apt_dir="$dest/apt"
rm -rf "$dest/download"
mkdir -p "$apt_dir/lists/partial" "$dest/download"
echo "deb-src $mirror $suite main" >"$apt_dir/sources.list"
# The sandbox user cannot write into a folder of ours; this user fetches instead.
set -- -o Dir::Etc::SourceList="$(realpath "$apt_dir/sources.list")" -o Dir::Etc::SourceParts=/dev/null \
  -o Dir::State::Lists="$(realpath "$apt_dir/lists")" -o APT::Sandbox::User="$(id -un)" -o Debug::NoLocking=1
echo "Fetching the zlib and libpng sources for the browser build (about 3 MB)"
apt-get -q "$@" update >/dev/null
# Only the upstream tarballs are unpacked, so only they are fetched, each checked
# against the hash the source index gives: a mirror that lacks a package's .dsc or
# Debian patches (as Debian 13's did for its zlib and libpng updates) does not matter.
tarballs=$(cd "$dest/download" && apt-get -q "$@" source --print-uris zlib libpng1.6 |
  sed -n "s/^'\([^']*[.]orig[.]tar[.][a-z0-9]*\)' \([^ ]*\) [0-9]* \([A-Za-z0-9]*:[0-9a-f]*\)$/\1 \2 \3/p")
[ "$(echo "$tarballs" | grep -c .)" = 2 ] ||
  { echo "The source index names no upstream tarball of zlib and libpng:" >&2; echo "$tarballs" >&2; exit 1; }
echo "$tarballs" | while read -r uri file hash; do
  /usr/lib/apt/apt-helper "$@" download-file "$uri" "$dest/download/$file" "$hash" >/dev/null
done

unpack() { # NAME TARBALL
  rm -rf "$dest/$1" "$dest/$1.tmp"
  mkdir -p "$dest/$1.tmp"
  tar -xf "$2" -C "$dest/$1.tmp"
  mv "$dest/$1.tmp"/* "$dest/$1"
  rmdir "$dest/$1.tmp"
}
unpack zlib "$(ls "$dest"/download/zlib_*.orig.tar.*)"
unpack libpng "$(ls "$dest"/download/libpng1.6_*.orig.tar.*)"
