#!/bin/bash
# The sanitizer build of glasswind-render draws the whole timeline at 10 fps and
# 320x180 with no AddressSanitizer or UndefinedBehaviorSanitizer report.
set -u
. "$(dirname "$0")/sanitize_env.sh"
: "${SANITIZE_BIN:=build/sanitize}"
TIMELINE_MS=196000
FPS=10
SIZE=320x180
EXPECTED_FRAMES=1960 # 196 s at 10 frames a second

frames=$(mktemp -d)
messages=$(mktemp)
trap 'rm -rf "$frames" "$messages"' EXIT
started=$(date +%s)
env LD_PRELOAD="$(sanitized_preload)" "$SANITIZE_BIN/glasswind-render" --from 0 --to "$TIMELINE_MS" --fps "$FPS" --size "$SIZE" \
  -o "$frames" 2>"$messages"
code=$?
drawn=$(find "$frames" -name '*.png' | wc -l)
no_report "$messages" || { echo "FAIL: a sanitizer report while drawing" >&2; exit 1; }
[ "$code" = 0 ] || { echo "FAIL: exit code $code"; head -c 2000 "$messages" >&2; exit 1; }
[ "$drawn" = "$EXPECTED_FRAMES" ] || { echo "FAIL: $drawn frames drawn, expected $EXPECTED_FRAMES" >&2; exit 1; }
echo "$drawn frames at $SIZE in $(( $(date +%s) - started )) s, no sanitizer report"
