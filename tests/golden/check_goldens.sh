#!/bin/sh
# Draws every golden moment with glasswind-render and compares it with its reference.
#   check_goldens.sh COMPARE_BIN OUT_DIR RENDER_COMMAND...    (from the repository root)
# RENDER_COMMAND is the render tool, or a command that runs it (wine glasswind-render.exe).
# The new frames go to OUT_DIR/new, a reference | new | difference sheet for each
# frame that differs to OUT_DIR/sheets.
set -eu
compare=$1 out=$2
shift 2
golden=tests/golden
rm -rf "$out/new" "$out/sheets"
mkdir -p "$out/new"
nice -n 10 "$@" --moments "$golden/moments.txt" --size 320x180 -o "$out/new" 2>"$out/render.log" || {
  cat "$out/render.log" >&2; exit 1; }
if ! "$compare" "$golden/frames" "$out/new" "$out/sheets"; then
  echo "Golden frames differ: look at the sheets in $out/sheets (reference | new | difference)." >&2
  echo "Only after a deliberate visual change, once the sheets have been looked at: make goldens" >&2
  exit 1
fi
