#!/bin/bash
# With no sound server running and no sound card, the demo shows the "Can't
# initialize device" box after its question, opens no window, and exits 0 once
# the box is dismissed; with no display, it says both on standard error instead.
# SDL's dummy driver still plays it, silently.
# ctest-labels: e2e;audio
# ctest-timeout: 60
set -u
. "$(dirname "$0")/lib.sh"

DUMMY_PLAY_S=6          # past the music's start at 5 s

# A runtime directory with no server in it, and no server address that answers.
nowhere=$(mktemp -d)
trap 'rm -rf "$nowhere"' EXIT
export XDG_RUNTIME_DIR=$nowhere PULSE_SERVER="unix:$nowhere/pulse/native"
unset SDL_AUDIODRIVER DBUS_SESSION_BUS_ADDRESS
[ -d /dev/snd ] && echo "note: this machine has sound devices in /dev/snd; SDL may open one" >&2

expect_refused_start "no server, no device" "" "$nowhere"
echo "no server, no device: the box, no window, exit 0"

# With no display either (as over SSH) neither box can be shown: each says its text
# and what follows from it on standard error, standard output stays empty, and the
# demo still ends with 0.
display=$DISPLAY
unset DISPLAY
start_demo
export DISPLAY=$display
wait_demo_exit 10 || fail "no display: still running 10 s after the start"
[ "$DEMO_CODE" = 0 ] || fail "no display: exit code $DEMO_CODE"
grep -q -x 'NQL-004 "Glasswind": Run in fullscreen mode? No (no message box could be shown: .*)' "$DEMO_ERR" ||
  fail "no display: the question's outcome is not on standard error: $(cat "$DEMO_ERR")"
grep -q -x "Error: Can't initialize device (error code: [0-9]*) (no message box could be shown: .*)" "$DEMO_ERR" ||
  fail "no display: the audio error is not on standard error: $(cat "$DEMO_ERR")"
[ -s "$DEMO_OUT" ] && fail "no display: standard output is not empty: $(cat "$DEMO_OUT")"
echo "no display: $(grep -c 'no message box' "$DEMO_ERR") lines on standard error, exit 0"

# The dummy driver needs neither: the demo plays to past the music's start.
SDL_AUDIODRIVER=dummy start_demo
answer_question_no
window=$(wait_for_window "$DEMO_TITLE" 15 800x450) || fail "dummy: the demo window did not open"
read -r id width height x y <<<"$window"
wait_viewable "$id" 15 || fail "dummy: the window was never shown"
sleep "$DUMMY_PLAY_S"
kill -0 "$DEMO_PID" 2>/dev/null || fail "dummy: the demo ended by itself"
press_key_at Escape $((x + width / 2)) $((y + height / 2))
wait_demo_exit 2 || fail "dummy: still running 2 s after Escape"
[ "$DEMO_CODE" = 0 ] || fail "dummy: Escape gave exit code $DEMO_CODE"
echo "dummy driver: played past the music's start, Escape ended it with exit 0"
