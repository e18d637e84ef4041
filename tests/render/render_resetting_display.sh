#!/bin/bash
# Renders in a row on an X server that resets whenever its last client leaves,
# as Xvfb without -noreset and some kiosk and remote desktops do. Each render
# must keep a connection open until GLUT has its own, or GLUT's open can land
# in the reset and fail ("failed to open display", about 1 run in 12 before).
set -u
renders=30

if [ "${1:-}" != --on-resetting-server ]; then
  exec "$SOURCE_DIR/tests/support/with-xvfb" --reset bash "$0" --on-resetting-server
fi

out=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-reset.XXXXXX")
trap 'rm -rf "$out"' EXIT
failed=0
for i in $(seq 1 "$renders"); do
  if ! "$RENDER_BIN" --at 61880 --size 64x36 -o "$out/frame.png" >"$out/log" 2>&1; then
    failed=$((failed + 1))
    echo "render $i: $(tail -n 1 "$out/log")" >&2
  fi
done
echo "$renders renders on a resetting server, $failed failed"
[ "$failed" -eq 0 ]
