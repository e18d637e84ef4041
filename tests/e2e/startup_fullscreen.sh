#!/bin/bash
# The question answered "Yes" covers the whole screen (game mode, or a full-screen
# window where the display refuses the mode change); Escape ends it with code 0.
# ctest-labels: e2e
# ctest-timeout: 60
set -u
. "$(dirname "$0")/lib.sh"

start_demo
answer_question_yes
window=$(wait_for_window "$DEMO_TITLE" 15 1280x720) || fail "nothing covered the 1280x720 screen"
read -r id width height x y <<<"$window"
wait_viewable "$id" 15 || fail "the window was never shown"
[ "$x" = 0 ] && [ "$y" = 0 ] || fail "full-screen window at ($x, $y)"
sleep 1
press_key_at Escape 640 360
wait_demo_exit 5
[ "$DEMO_CODE" = 0 ] || fail "Escape gave exit code $DEMO_CODE"
echo "full screen $width x $height; Escape -> exit 0"
