#!/bin/sh
# Draws golden moments in one headless browser from the browser build and compares each
# canvas with its native reference, allowing for the other rasteriser's edges.
#   check_web_goldens.sh WEB_DIR COMPARE_BIN OUT_DIR [EVERY [BROWSER]]    (from the repository root)
# EVERY (default 1) takes every EVERY-th moment only, for a quicker run of the same check;
# BROWSER is chromium (the default) or firefox. The frames go to OUT_DIR/new, a
# reference | browser | difference sheet for each frame that differs to OUT_DIR/sheets.
# Skips (77) without a browser build, the browser or puppeteer-core.
set -eu
web=$1 compare=$2 out=$3 every=${4:-1} browser=${5:-chromium}
web_tests=$(dirname "$0")
golden=tests/golden
size=320x180
. "$web_tests/browsers.sh"
web_require "$web" "$browser"
rm -rf "$out/new" "$out/sheets" "$out/reference"
mkdir -p "$out/new" "$out/reference"
# The moments taken, and their references beside them.
sed 's/#.*//; /^[[:space:]]*$/d' "$golden/moments.txt" | awk -v n="$every" '(NR - 1) % n == 0' >"$out/moments.txt"
while read -r ms; do
  name=$(printf '%06d.png' "$ms")
  ln -s "$(pwd)/$golden/frames/$name" "$out/reference/$name"
done <"$out/moments.txt"
web_run "$browser" nice -n 10 node "$web_tests/golden_web.js" "$browser" "$web" "$out/moments.txt" "$size" "$out/new" \
  >"$out/browser.log" 2>&1 || { cat "$out/browser.log" >&2; exit 1; }
grep '^drew' "$out/browser.log"
if ! "$compare" "$out/reference" "$out/new" "$out/sheets" --other-rasteriser; then
  echo "Browser frames differ: look at the sheets in $out/sheets (reference | browser | difference)." >&2
  exit 1
fi
