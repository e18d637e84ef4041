#!/bin/bash
# make install with DESTDIR and the prefix /usr, as the package has it: exactly the files
# of installed_files.txt with their modes, the menu entry, AppStream file and manual
# pages passing their validators, icons of the sizes their folders name, and one version.
set -u
: "${SOURCE_DIR:?}" "${BUILD_DIR:?}" "${VERSION:?}"
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli man; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make test installs it)"; exit 77; }
done
DESTDIR=$work/root cmake --install "$BUILD_DIR" --prefix /usr --strip >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: the install failed (is the build complete? make install builds it)"; exit 1; }
usr=$work/root/usr

# The files and their modes, nothing more and nothing less, and no link or empty folder.
grep -v '^#' "$here/installed_files.txt" | sort -k2 >"$work/expected"
(cd "$usr" && find . -type f -printf '%m %P\n' | sort -k2) >"$work/found"
diff "$work/expected" "$work/found" >"$work/diff" || fail "the install differs from installed_files.txt (< expected, > installed): $(cat "$work/diff")"
[ -z "$(find "$work/root" ! -type f ! -type d)" ] || fail "the install holds something that is neither file nor folder"
[ -z "$(find "$work/root" -type d -empty)" ] || fail "the install leaves empty folders: $(find "$work/root" -type d -empty)"

# Each validator, exit 0 and what it said.
desktop=$usr/share/applications/org.nql004.glasswind.desktop
metainfo=$usr/share/metainfo/org.nql004.glasswind.metainfo.xml
while read -r name command; do
  eval "$command" >"$work/said" 2>&1 || fail "$name: $(cat "$work/said")"
done <<EOF_CHECKS
desktop-file-validate desktop-file-validate "$desktop"
appstreamcli appstreamcli validate --no-net "$metainfo"
man(6) [ -z "\$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$usr/share/man/man6/glasswind.6.gz" 2>&1 >/dev/null)" ]
man(1) [ -z "\$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$usr/share/man/man1/glasswind-render.1.gz" 2>&1 >/dev/null)" ]
EOF_CHECKS

# The menu entry starts the launcher in the folder that holds data/.
while read -r key value; do
  grep -qx "$key=$value" "$desktop" || fail "the menu entry lacks $key=$value"
done <<'EOF_ENTRY'
Exec /usr/games/glasswind
Path /usr/share/games/glasswind
Icon glasswind
Categories Game;
Type Application
EOF_ENTRY

# Each icon is as large as its folder says: width and height are the big-endian words at bytes 16 and 20.
for icon in "$usr"/share/icons/hicolor/*/apps/glasswind.png; do
  side=$(basename "$(dirname "$(dirname "$icon")")")
  size=$(od -An -tu1 -j16 -N8 "$icon" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }')
  [ "$size" = "$side" ] || fail "the icon in $side is $size"
done

# The render tool's manual page names every option its --help does.
man_text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$usr/share/man/man1/glasswind-render.1.gz" 2>/dev/null)
for option in $("$usr/bin/glasswind-render" --help | grep -o -E '^  --?[a-z-]+'); do
  grep -q -e "^ *$option\b" <<<"$man_text" || fail "glasswind-render(1) does not describe $option"
done

# One version: the tool's, the AppStream release's, the changelog's and the manual pages'.
while read -r what got; do
  [ "$got" = "$VERSION" ] || fail "$what says '$got', not $VERSION"
done <<EOF_VERSIONS
glasswind-render $("$usr/bin/glasswind-render" --version | sed -n 's/^glasswind-render //p')
AppStream $(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo")
changelog $(gzip -dc "$usr/share/doc/glasswind/changelog.gz" | sed -n '1s/^glasswind (\([^)]*\)).*/\1/p')
glasswind(6) $(gzip -dc "$usr/share/man/man6/glasswind.6.gz" | sed -n 's/^\.TH .*"glasswind \([^"]*\)".*/\1/p')
glasswind-render(1) $(gzip -dc "$usr/share/man/man1/glasswind-render.1.gz" | sed -n 's/^\.TH .*"glasswind\\-render \([^"]*\)".*/\1/p')
EOF_VERSIONS

[ "$failures" -eq 0 ] || exit 1
echo "$(wc -l <"$work/found") files installed as listed; the validators pass; version $VERSION throughout"
