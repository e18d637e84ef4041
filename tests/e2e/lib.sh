# Shared helpers for the end-to-end scripts: start the real demo under the
# test's Xvfb, find its windows, answer its question as a person would.
# Sourced, not run; the scripts run under tests/support/with-xvfb.

DEMO_TITLE='NQL-004 "Glasswind"'
: "${GLASSWIND_BIN:=build}"
: "${SOURCE_DIR:=.}"
# The demo asks through the desktop's dialog tool (zenity, kdialog) where its PATH
# holds one. The scripts drive SDL's own box, so the demo runs with a PATH that
# holds no program at all, unless DEMO_PATH names the directories to search.
: "${DEMO_PATH:=/nonexistent}"

fail() {
  echo "FAIL: $*" >&2
  [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
  exit 1
}

# A temporary folder, $layout, holding a copy of the tree's data/ (empty without one) for
# a demo run there, removed when the script ends, after the command $1 (if any).
make_data_layout() {
  layout=$(mktemp -d)
  # shellcheck disable=SC2064 # both are fixed now
  trap "${1:+$1; }rm -rf '$layout'" EXIT
  mkdir "$layout/data"
  if [ -d "$SOURCE_DIR/data" ]; then cp -R "$SOURCE_DIR/data/." "$layout/data/"; fi
}

# Ends a test that cannot run here, saying why; CTest counts it as skipped.
SKIP_CODE=77
skip() {
  echo "SKIP: $*"
  [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
  exit "$SKIP_CODE"
}

# Starts the demo from the repository root (or $1 as working directory) in the
# background, with DEMO_PATH as its PATH. Sets DEMO_PID, DEMO_OUT (stdout file)
# and DEMO_ERR (stderr file).
start_demo() {
  workdir=${1:-$SOURCE_DIR}
  DEMO_OUT=$(mktemp)
  DEMO_ERR=$(mktemp)
  bin=$(cd "$GLASSWIND_BIN" && pwd)/glasswind
  (cd "$workdir" && PATH=$DEMO_PATH exec "$bin") >"$DEMO_OUT" 2>"$DEMO_ERR" &
  DEMO_PID=$!
  DEMO_STARTED=$(date +%s.%N)
}

# Prints "id width height x y" of every window with exactly this name, x and y
# on the root window (under a window manager, the demo's windows sit in frames).
# xwininfo writes a window as "WxH+x+y  +X+Y", the second pair on the root.
windows_named() {
  xwininfo -root -tree 2>/dev/null | awk -v want="\"$1\":" '
    index($0, want) {
      for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+[+]/) { geom = $i; at = $(i + 1) }
      split(geom, size, /[x+]/)
      split(substr(at, 2), pos, /[+]/)
      print $1, size[1], size[2], pos[1], pos[2]
    }'
}

# Waits up to $2 seconds (default 10) for a window named $1 of size $3 (WxH, optional).
# Prints "id width height x y".
wait_for_window() {
  name=$1; limit=${2:-10}; size=${3:-}
  deadline=$(( $(date +%s) + limit ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    found=$(windows_named "$name" | while read -r id w h x y; do
      if [ -z "$size" ] || [ "${w}x${h}" = "$size" ]; then echo "$id $w $h $x $y"; fi
    done | head -n 1)
    if [ -n "$found" ]; then echo "$found"; return 0; fi
    if [ -n "${DEMO_PID:-}" ] && ! kill -0 "$DEMO_PID" 2>/dev/null; then return 1; fi
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds for window $1 to be mapped and shown: xwininfo lists
# a window from its creation, but keys reach it only once it is viewable.
wait_viewable() {
  deadline=$(( $(date +%s) + $2 ))
  until xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; do
    [ "$(date +%s)" -le "$deadline" ] || return 1
    sleep 0.1
  done
}

# Starts a window manager (Debian's openbox) and waits until it has taken the
# display and loaded its theme: openbox claims the display before it reads its
# theme, and a window mapped in between waits for that. Its log is WM_LOG.
start_window_manager() {
  WM_LOG=$(mktemp)
  openbox >"$WM_LOG" 2>&1 &
  WM_PID=$!
  deadline=$(( $(date +%s) + 15 ))
  until xprop -root _NET_SUPPORTING_WM_CHECK _OB_THEME 2>/dev/null | grep -q '_OB_THEME.*='; do
    kill -0 "$WM_PID" 2>/dev/null || fail "the window manager ended: $(cat "$WM_LOG")"
    [ "$(date +%s)" -le "$deadline" ] || fail "the window manager did not start: $(cat "$WM_LOG")"
    sleep 0.1
  done
}

# What a failing start-up check shows: the window tree, the demo's messages
# and, when one runs, the window manager's state and log.
show_desktop() {
  echo "--- windows:"; xwininfo -root -tree 2>&1 | grep -v 'has no name' | head -n 30
  [ -n "${DEMO_ERR:-}" ] && { echo "--- demo stderr:"; head -c 2000 "$DEMO_ERR"; }
  if [ -n "${WM_PID:-}" ]; then
    kill -0 "$WM_PID" 2>/dev/null && echo "--- window manager runs" || echo "--- window manager ended"
    head -c 2000 "$WM_LOG"
  fi
}

# The question box is SDL's own X11 dialog: "Yes" on the left, "No" on the right
# of its bottom row. Clicks "No" with the pointer, as a person would.
QUESTION_BOX_SIZE=200x100
NO_BUTTON_FROM_RIGHT=57
NO_BUTTON_FROM_BOTTOM=27
YES_BUTTON_FROM_LEFT=54
answer_question() {
  box=$(wait_for_window "$DEMO_TITLE" 15 "$QUESTION_BOX_SIZE") || fail "the question box did not appear"
  wait_viewable "${box%% *}" 10 || { show_desktop >&2; fail "the question box was never shown"; }
  sleep 0.3 # let the box draw its buttons (and a window manager place it) before the click lands
  box=$(wait_for_window "$DEMO_TITLE" 5 "$QUESTION_BOX_SIZE") || fail "the question box went away"
  set -- $box "$1"
  if [ "$6" = yes ]; then
    click_x=$(( $4 + YES_BUTTON_FROM_LEFT ))
  else
    click_x=$(( $4 + $2 - NO_BUTTON_FROM_RIGHT ))
  fi
  click_y=$(( $5 + $3 - NO_BUTTON_FROM_BOTTOM ))
  xdotool mousemove "$click_x" "$click_y" click 1
}
answer_question_no() { answer_question no; }
answer_question_yes() { answer_question yes; }

# Presses a key with the pointer over the point (x, y) (focus follows the pointer without a window manager).
press_key_at() {
  xdotool mousemove "$2" "$3"
  xdotool key "$1"
}

# Waits up to $1 seconds (a decimal number) for the demo to end and sets
# DEMO_CODE to its exit code ("running" if it did not end) and DEMO_EXIT_MS to
# how long it took. Call it directly, not in $(...): only this shell can collect
# the demo's exit code.
wait_demo_exit() {
  started_ms=$(( $(date +%s%N) / 1000000 ))
  limit_ms=$(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }')
  while kill -0 "$DEMO_PID" 2>/dev/null; do
    DEMO_EXIT_MS=$(( $(date +%s%N) / 1000000 - started_ms ))
    if [ "$DEMO_EXIT_MS" -gt "$limit_ms" ]; then DEMO_CODE=running; return 1; fi
    sleep 0.02
  done
  wait "$DEMO_PID"
  DEMO_CODE=$?
  DEMO_EXIT_MS=$(( $(date +%s%N) / 1000000 - started_ms ))
}

# How long "at once" may take: Escape and the stop signals end the demo within a
# second on an idle machine (about 0.1 s measured); the rest is room for a CI
# machine whose cores are both busy.
PROMPT_EXIT_LIMIT=2.5
# The exit codes a shell expects of a program its stop signals end.
declare -A SIGNAL_CODE=([INT]=130 [TERM]=143 [HUP]=129)

# Sends signal $1 (INT, TERM or HUP) to the running demo, "during $2", and fails
# unless it ends at once with the code a shell expects and leaves no window named
# as the demo's behind.
expect_stopped_by() {
  kill -s "$1" "$DEMO_PID"
  wait_demo_exit "$PROMPT_EXIT_LIMIT" || fail "SIG$1 during $2: still running $PROMPT_EXIT_LIMIT s later"
  [ "$DEMO_CODE" = "${SIGNAL_CODE[$1]}" ] || fail "SIG$1 during $2: exit code $DEMO_CODE, expected ${SIGNAL_CODE[$1]}"
  sleep 0.3
  left=$(windows_named "$DEMO_TITLE" | wc -l)
  [ "$left" = 0 ] || { show_desktop >&2; fail "SIG$1 during $2: $left window(s) left"; }
}

# A start the demo refuses: it is started in $2 (the source tree if empty), the
# question is answered No, and the "Error" box must appear, no demo window open,
# and the demo exit 0 once the box is dismissed. $1 names the case in messages;
# the window watch is kept in $3, a scratch directory.
expect_refused_start() {
  start_demo "$2"
  seen="$3/demo-windows"
  : >"$seen"
  ( while kill -0 "$DEMO_PID" 2>/dev/null; do
      windows_named "$DEMO_TITLE" | awk '$2 == 800 && $3 == 450' >>"$seen"
      sleep 0.05
    done ) &
  watcher=$!
  answer_question_no
  box=$(wait_for_window Error 15) || { show_desktop >&2; fail "$1: the error box did not appear"; }
  read -r _ box_w box_h box_x box_y <<<"$box"
  # The box is modal: the process waits for it.
  sleep 0.5
  kill -0 "$DEMO_PID" 2>/dev/null || fail "$1: the process ended before the box was dismissed"
  press_key_at Return $((box_x + box_w / 2)) $((box_y + box_h / 2))
  wait_demo_exit 5
  wait "$watcher"
  [ "$DEMO_CODE" = 0 ] || fail "$1: dismissing the box gave exit code $DEMO_CODE"
  [ -s "$seen" ] && fail "$1: a demo window opened: $(head -n 1 "$seen")"
  return 0
}
