#!/bin/bash
# Writes build/contact-sheet.png: one thumbnail for each row of the shot table,
# taken at the middle of the row and labelled with its time, so the whole demo
# can be seen at a glance.
set -euo pipefail
cd "$(dirname "$0")/.."

render=build/glasswind-render
sheet=build/contact-sheet.png
thumb_size=320x180
columns=6

# Without a desktop, draw on a private Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  exec tests/support/with-xvfb "$0" "$@"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-sheet.XXXXXX")
trap 'rm -rf "$work"' EXIT

rows=$("$render" --shot-table)
total=$(wc -l <<<"$rows")
args=()
while read -r row from to shot; do
  at=$(( (from + to) / 2 ))
  thumb=$(printf '%s/row%02d.png' "$work" "$row")
  printf '\rcontact sheet: row %d of %d' "$row" "$total" >&2
  "$render" --at "$at" --size "$thumb_size" -o "$thumb" >/dev/null 2>"$work/err" || {
    echo >&2; cat "$work/err" >&2; exit 1; }
  args+=(-label "row $row  ${at} ms  shot $shot" "$thumb")
done <<<"$rows"
echo >&2

# The labels use the committed DejaVu face, so no system font is needed.
montage -font tools/content/fonts/DejaVuSans.ttf -pointsize 13 -background '#202020' -fill '#e0e0e0' \
  "${args[@]}" -tile "${columns}x" -geometry "${thumb_size}+6+6" "$work/sheet.png"
mv "$work/sheet.png" "$sheet"
echo "wrote $sheet"
