#!/bin/bash
# Ctrl-C (SIGINT), kill (SIGTERM) and a closed terminal (SIGHUP) end the demo
# within a second from each state: the question box, the loading card and the
# music, with the exit code a shell expects (128 + the signal) and no window left.
# ctest-labels: e2e
# ctest-timeout: 180
set -u
. "$(dirname "$0")/lib.sh"

MUSIC_PLAYS_AFTER=6 # seconds after the window opens: the music starts at 5
declare -A SIGNAL_CODE=([INT]=130 [TERM]=143 [HUP]=129)

# Brings a fresh demo to the state $1; prints nothing, fails when it cannot.
reach_state() {
  start_demo
  if [ "$1" = question ]; then
    box=$(wait_for_window "$DEMO_TITLE" 15 "$QUESTION_BOX_SIZE") || fail "the question box did not appear"
    wait_viewable "${box%% *}" 10 || fail "the question box was never shown"
    return
  fi
  answer_question no
  window=$(wait_for_window "$DEMO_TITLE" 15 800x450) || fail "the demo window did not open"
  wait_viewable "${window%% *}" 15 || fail "the window was never shown"
  case "$1" in
    card) sleep 1 ;;
    music) sleep "$MUSIC_PLAYS_AFTER" ;;
  esac
}

for state in question card music; do
  for signal in INT TERM HUP; do
    reach_state "$state"
    kill -s "$signal" "$DEMO_PID"
    wait_demo_exit "$PROMPT_EXIT_LIMIT" || fail "SIG$signal during the $state: still running $PROMPT_EXIT_LIMIT s later"
    [ "$DEMO_CODE" = "${SIGNAL_CODE[$signal]}" ] ||
      fail "SIG$signal during the $state: exit code $DEMO_CODE, expected ${SIGNAL_CODE[$signal]}"
    sleep 0.3
    left=$(windows_named "$DEMO_TITLE" | wc -l)
    [ "$left" = 0 ] || { show_desktop >&2; fail "SIG$signal during the $state: $left window(s) left"; }
    echo "SIG$signal during the $state: exit $DEMO_CODE after $DEMO_EXIT_MS ms"
  done
done
