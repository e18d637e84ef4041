#!/bin/sh
# Draws every golden moment in headless Chromium from the browser build and compares
# each canvas with its native reference, allowing for the other rasteriser's edges.
#   check_web_goldens.sh WEB_DIR COMPARE_BIN OUT_DIR [EVERY]    (from the repository root)
# EVERY (default 1) takes every EVERY-th moment only, for a quicker run of the same check.
# The frames go to OUT_DIR/new, a reference | browser | difference sheet for each frame
# that differs to OUT_DIR/sheets. Skips (77) without a browser build, Chromium or playwright-core.
set -eu
web=$1 compare=$2 out=$3 every=${4:-1}
here=$(dirname "$0")
golden=tests/golden
size=320x180
skip() { echo "skipped: $1" >&2; exit 77; }
[ -f "$web/glasswind.wasm" ] || skip "no browser build in $web (make web)"
[ -x /usr/bin/chromium ] || skip "no /usr/bin/chromium (make test-web installs it)"
[ -d "$here/node_modules/playwright-core" ] || skip "no playwright-core (make test-web runs npm ci in $here)"
rm -rf "$out/new" "$out/sheets" "$out/reference"
mkdir -p "$out/new" "$out/reference"
# The moments taken, and their references beside them.
sed 's/#.*//; /^[[:space:]]*$/d' "$golden/moments.txt" | awk -v n="$every" '(NR - 1) % n == 0' >"$out/moments.txt"
while read -r ms; do
  name=$(printf '%06d.png' "$ms")
  ln -s "$(pwd)/$golden/frames/$name" "$out/reference/$name"
done <"$out/moments.txt"
nice -n 10 node "$here/golden_web.js" "$web" "$out/moments.txt" "$size" "$out/new" >"$out/browser.log" 2>&1 || {
  cat "$out/browser.log" >&2; exit 1; }
grep '^drew' "$out/browser.log"
if ! "$compare" "$out/reference" "$out/new" "$out/sheets" --other-rasteriser; then
  echo "Browser frames differ: look at the sheets in $out/sheets (reference | browser | difference)." >&2
  exit 1
fi
