#!/bin/bash
# make dist's folder from this build tree: the three archives named with the version
# and their SHA256SUMS; the package holding exactly the files of installed_files.txt,
# owned by root, with its dependencies and no lintian error or warning; each zip
# unpacking to what the README says it holds, the data byte for byte the tree's.
set -u
: "${SOURCE_DIR:?}" "${BUILD_DIR:?}" "${VERSION:?}" "${RELEASE_WINDOWS_ZIP:?}" "${RELEASE_WEB_DIR:?}"
here=$(cd "$(dirname "$0")" && pwd)
for part in "$RELEASE_WINDOWS_ZIP:make windows" "$RELEASE_WEB_DIR/index.html:make web"; do
  [ -f "${part%%:*}" ] || { echo "SKIP: ${part%%:*} is missing (${part#*:} builds it; make test does)"; exit 77; }
done
for tool in lintian dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make test installs it)"; exit 77; }
done
work=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-dist.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --build "$BUILD_DIR" --target dist >"$work/dist.log" 2>&1 || { cat "$work/dist.log"; echo "FAIL: make dist's target failed"; exit 1; }
dist=$BUILD_DIR/dist
deb=glasswind_${VERSION}_$(dpkg --print-architecture).deb
printf '%s\n' SHA256SUMS "$deb" "glasswind-$VERSION-web.zip" "glasswind-$VERSION-win64.zip" | sort >"$work/names"
[ "$(ls "$dist" | sort)" = "$(cat "$work/names")" ] || fail "build/dist holds $(ls "$dist" | tr '\n' ' ')"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "an archive does not match SHA256SUMS"
[ "$(wc -l <"$dist/SHA256SUMS")" = 3 ] || fail "SHA256SUMS does not list the three archives"

# The package: the install's files and modes under /usr, every one owned by root.
dpkg-deb -x "$dist/$deb" "$work/deb"
grep -v '^#' "$here/installed_files.txt" | sed 's| | usr/|' | sort -k2 >"$work/expected"
(cd "$work/deb" && find . -type f -printf '%m %P\n' | sort -k2) >"$work/found"
diff "$work/expected" "$work/found" >"$work/diff" || fail "the package's files differ from the install's: $(cat "$work/diff")"
owners=$(dpkg-deb -c "$dist/$deb" | awk '{ print $2 }' | sort -u)
[ "$owners" = root/root ] || fail "the package's files are owned by $owners"
while read -r field value; do
  got=$(dpkg-deb -f "$dist/$deb" "$field")
  [ "$got" = "$value" ] || fail "the package's $field is '$got', not '$value'"
done <<EOF_FIELDS
Package glasswind
Version $VERSION
Section games
Recommends zenity | kdialog
EOF_FIELDS
# dpkg-shlibdeps names the library packages the two programs link (Debian 13 renamed
# some with a t64 suffix).
depends=$(dpkg-deb -f "$dist/$deb" Depends)
for library in libc6 libstdc++6 libglut3.12 libglu1-mesa libsdl2-2.0-0 libsndfile1 libopenmpt0 libpng16-16 libpulse0 libx11-6 libxrandr2; do
  grep -q -E "(^|, )$(sed 's/[+.]/\\&/g' <<<"$library")(t64)?( |,|$)" <<<"$depends" || fail "Depends does not name $library: $depends"
done
lintian --fail-on error,warning "$dist/$deb" >"$work/lintian" 2>&1 || fail "lintian: $(grep -v 'root privileges' "$work/lintian")"

# Each zip: one folder holding the program's files and data/, the data the tree's own.
data=$(grep -o 'share/games/glasswind/data/.*' "$here/installed_files.txt" | sed 's|share/games/glasswind/||')
while read -r zip folder files; do
  mkdir "$work/$folder"
  (cd "$work/$folder" && cmake -E tar xf "$dist/$zip") || { fail "$zip does not unpack"; continue; }
  expected=$(printf '%s\n' $files $data | sed "s|^|$folder/|" | sort)
  found=$(cd "$work/$folder" && find . -type f -printf '%P\n' | sort)
  [ "$found" = "$expected" ] || fail "$zip holds: $(echo $found)"
  for file in $data; do
    cmp -s "$work/$folder/$folder/$file" "$SOURCE_DIR/$file" || fail "$zip's $file is not the tree's"
  done
done <<EOF_ZIPS
glasswind-$VERSION-win64.zip glasswind-win64 glasswind.exe glasswind-render.exe README.txt
glasswind-$VERSION-web.zip glasswind-web index.html page.js glasswind.js glasswind.wasm
EOF_ZIPS

[ "$failures" -eq 0 ] || exit 1
echo "Depends: $depends"
(cd "$dist" && ls -l --time-style=+ -- *)
