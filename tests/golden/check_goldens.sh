#!/bin/sh
# Draws every golden moment with glasswind-render and compares it with its reference.
#   check_goldens.sh RENDER_BIN COMPARE_BIN OUT_DIR    (from the repository root)
# The new frames go to OUT_DIR/new, a reference | new | difference sheet for each
# frame that differs to OUT_DIR/sheets.
set -eu
render=$1 compare=$2 out=$3
golden=tests/golden
rm -rf "$out/new" "$out/sheets"
mkdir -p "$out/new"
nice -n 10 "$render" --moments "$golden/moments.txt" --size 320x180 -o "$out/new" 2>"$out/render.log" || {
  cat "$out/render.log" >&2; exit 1; }
if ! "$compare" "$golden/frames" "$out/new" "$out/sheets"; then
  echo "Golden frames differ: look at the sheets in $out/sheets (reference | new | difference)." >&2
  echo "Only after a deliberate visual change, once the sheets have been looked at: make goldens" >&2
  exit 1
fi
