#!/bin/bash
# With data/glasswind.mp3 moved away, the "Can't play file" box comes up after
# the question, no demo window ever opens, and dismissing the box ends the
# process with exit code 0.
# ctest-labels: e2e
# ctest-timeout: 60
set -u
. "$(dirname "$0")/lib.sh"

ERROR_TITLE=Error

# A copy of the run-time layout with everything but the music.
layout=$(mktemp -d)
trap 'rm -rf "$layout"' EXIT
mkdir "$layout/data"
if [ -d "$SOURCE_DIR/data" ]; then cp -R "$SOURCE_DIR/data/." "$layout/data/"; fi
rm -f "$layout/data/glasswind.mp3"

start_demo "$layout"

# Watches for a window of the demo's size with its title for as long as the process lives.
seen="$layout/demo-windows"
: >"$seen"
(
  while kill -0 "$DEMO_PID" 2>/dev/null; do
    windows_named "$DEMO_TITLE" | awk '$2 == 800 && $3 == 450' >>"$seen"
    sleep 0.05
  done
) &
watcher=$!

answer_question_no
box=$(wait_for_window "$ERROR_TITLE" 15) || fail "the error box did not appear"
read -r box_id box_w box_h box_x box_y <<<"$box"

# The box is modal: the process waits for it.
sleep 1
kill -0 "$DEMO_PID" 2>/dev/null || fail "the process ended before the box was dismissed"

press_key_at Return $((box_x + box_w / 2)) $((box_y + box_h / 2))
wait_demo_exit 5
code=$DEMO_CODE
wait "$watcher"
[ "$code" = 0 ] || fail "dismissing the box gave exit code $code"
[ -s "$seen" ] && fail "a demo window opened: $(head -n 1 "$seen")"
echo "error box ${box_w}x${box_h} (window $box_id); no demo window; exit code 0"
