#!/bin/bash
# The question answered "No" opens the 800x450 window centred on the screen;
# Escape ends the demo at once with exit code 0.
# ctest-labels: e2e
# ctest-timeout: 60
set -u
. "$(dirname "$0")/lib.sh"

start_demo
answer_question_no

window=$(wait_for_window "$DEMO_TITLE" 15 800x450) || fail "the demo window did not open"
read -r id width height x y <<<"$window"
wait_viewable "$id" 15 || fail "the window was never shown"
[ "$x" = 240 ] && [ "$y" = 135 ] || fail "window at ($x, $y), expected (240, 135) on 1280x720"

sleep 1
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended on its own after a second"
press_key_at a 640 360
press_key_at Return 640 360
sleep 0.3
kill -0 "$DEMO_PID" 2>/dev/null || fail "a key other than Escape ended the demo"

press_key_at Escape 640 360
wait_demo_exit 5
[ "$DEMO_CODE" = 0 ] || fail "Escape gave exit code $DEMO_CODE"

lines=$(wc -l <"$DEMO_OUT")
[ "$lines" -le 1 ] || fail "the demo printed $lines lines"
echo "window $width x $height at ($x, $y); Escape -> exit 0; output: $(cat "$DEMO_OUT")"
