#!/bin/bash
# A desktop of two 1280x720 monitors side by side (a 2560x720 X screen): the
# window is centred on the primary monitor and full screen covers it alone; with
# no RandR the whole screen counts as one monitor, as before. Each case gets its
# own Xvfb; the last one runs a window manager, as a desktop has.
# ctest-labels: e2e
# ctest-timeout: 180
set -u
. "$(dirname "$0")/lib.sh"

XVFB="$SOURCE_DIR/tests/support/with-xvfb"
MONITOR=1280/340x720/190

# One case, on the Xvfb this script was started under: sets the monitors up,
# answers the question, and checks where the demo's window lies.
run_case() {
  primary=$1 answer=$2 want=$3 wm=${4:-}
  case "$primary" in
    left) xrandr --setmonitor '*LEFT' "$MONITOR+0+0" none && xrandr --setmonitor RIGHT "$MONITOR+1280+0" none ;;
    right) xrandr --setmonitor LEFT "$MONITOR+0+0" none && xrandr --setmonitor '*RIGHT' "$MONITOR+1280+0" none ;;
    none) ;;
  esac >/dev/null || fail "xrandr could not set the monitors up"
  [ -n "$wm" ] && start_window_manager
  start_demo
  answer_question "$answer"
  # A window manager frames the window first and makes it full screen after.
  deadline=$(( $(date +%s) + 15 ))
  while :; do
    window=$(windows_named "$DEMO_TITLE" | awk -v box="$QUESTION_BOX_SIZE" '$2 "x" $3 != box' | head -n 1)
    read -r id width height x y <<<"${window:-none 0 0 0 0}"
    [ "${width}x${height}+$x+$y" = "$want" ] && break
    [ "$(date +%s)" -le "$deadline" ] || { show_desktop >&2
      fail "$primary/$answer${wm:+ under $wm}: window ${width}x${height}+$x+$y, expected $want"; }
    sleep 0.1
  done
  wait_viewable "$id" 15 || { show_desktop >&2; fail "$primary/$answer: the window was never shown"; }
  sleep 0.5
  press_key_at Escape $((x + width / 2)) $((y + height / 2))
  wait_demo_exit 5
  [ "$DEMO_CODE" = 0 ] || fail "$primary/$answer: Escape gave exit code $DEMO_CODE"
  [ -n "$wm" ] && kill "$WM_PID" 2>/dev/null
  echo "primary $primary, answer $answer${wm:+, $wm}: ${width}x${height}+$x+$y"
}

if [ "${1:-}" = --case ]; then
  shift
  run_case "$@"
  exit
fi

command -v xrandr >/dev/null || fail "xrandr (Debian x11-xserver-utils) is missing"
cases=(
  "--screen 2560x720|left no 800x450+240+135"
  "--screen 2560x720|left yes 1280x720+0+0"
  "--screen 2560x720|right no 800x450+1520+135"
  "--screen 2560x720|right yes 1280x720+1280+0"
  "--screen 2560x720 --no-randr|none no 800x450+880+135"
  "--screen 2560x720 --no-randr|none yes 2560x720+0+0"
  "--screen 2560x720|right yes 1280x720+1280+0 openbox"
)
for entry in "${cases[@]}"; do
  # shellcheck disable=SC2086
  "$XVFB" ${entry%%|*} bash "$0" --case ${entry#*|} || exit 1
done
