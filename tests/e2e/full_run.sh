#!/bin/bash
# Left alone, the demo plays to its end and quits by itself with exit code 0,
# a little after 196 seconds.
# ctest-labels: e2e;long
# ctest-timeout: 300
set -u
. "$(dirname "$0")/lib.sh"

start_demo
answer_question_no
wait_for_window "$DEMO_TITLE" 15 800x450 >/dev/null || fail "the demo window did not open"
opened=$(date +%s.%N)

wait_demo_exit 240
ended=$(date +%s.%N)
[ "$DEMO_CODE" = 0 ] || fail "the demo ended with code $DEMO_CODE"
length=$(awk -v a="$opened" -v b="$ended" 'BEGIN { printf "%.2f", b - a }')
# The clock starts just before the window opens and ends on the first frame past 196 s.
awk -v s="$length" 'BEGIN { exit !(s >= 195.5 && s <= 200) }' || fail "the demo ran for $length s"
echo "ran for $length s after its window opened; exit code 0"
