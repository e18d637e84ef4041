#!/bin/bash
# Ctrl-C (SIGINT), kill (SIGTERM) and a closed terminal (SIGHUP) end the demo
# within a second from each state: the question box, the loading card and the
# music, with the exit code a shell expects (128 + the signal) and no window left.
# ctest-labels: e2e
# ctest-timeout: 180
set -u
. "$(dirname "$0")/lib.sh"

MUSIC_PLAYS_AFTER=6 # seconds after the window opens: the music starts at 5

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
    expect_stopped_by "$signal" "the $state"
    echo "SIG$signal during the $state: exit $DEMO_CODE after $DEMO_EXIT_MS ms"
  done
done
