#!/bin/bash
# The desktop's dialog tool as the dialog layer runs it, with stand-ins for zenity
# and kdialog alone on the PATH: each records its arguments and answers one way.
# Yes, No and a closed box come back as answers; a tool that crashes, or shows no
# window in time, gives way to SDL's box and leaves nothing of itself running, and
# a stop signal during the question ends everything at once.
# ctest-labels: e2e
# ctest-timeout: 120
set -u
. "$(dirname "$0")/lib.sh"

PROBE="$BUILD_DIR/tests/dialog/dialog_probe"
[ -x "$PROBE" ] || fail "no dialog probe at $PROBE (build with tests)"
WINDOW_LIMIT_S=5     # the dialog layer's limit for a tool's window to appear
FALLBACK_ROOM_S=3    # then SDL's box, on a busy machine
ANSWER_LIMIT_S=3     # a stand-in answers at once
TEXT=$'Run in <b>full</b> & "screen"?\n$(touch x) `id` * \\'
TEXT_FOR_KDIALOG=${TEXT//\\/\\\\}
declare -A DESKTOP=([zenity]=GNOME [kdialog]=KDE)
declare -A ANSWER=([yes]=yes [no]=no [closed]=none)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/zenity" <<'EOF'
#!/bin/sh
# A stand-in dialog tool: records how it was called, then does STAND_IN_DO.
printf '%s\0' "${0##*/}" "$@" >"$STAND_IN_LOG.args"
printf '%s\n' "ZENITY_ESC=$ZENITY_ESC" "GDK_BACKEND=$GDK_BACKEND" "QT_QPA_PLATFORM=$QT_QPA_PLATFORM" >"$STAND_IN_LOG.env"
echo $$ >"$STAND_IN_LOG.pid"
dismissed=2
[ "${0##*/}" = zenity ] && dismissed=${ZENITY_ESC:-1}
case "$STAND_IN_DO" in
  yes) exit 0 ;;
  no) exit 1 ;;
  closed) exit "$dismissed" ;;
  crash) kill -SEGV $$ ;;
  hang) /bin/sleep 3600 & echo $! >"$STAND_IN_LOG.child"; wait ;;
esac
EOF
chmod +x "$work/bin/zenity"
ln -s zenity "$work/bin/kdialog"

# Runs the probe in the background with the stand-in $1 doing $2; the rest are the
# probe's arguments. Sets DEMO_PID (the helpers wait on it) and PROBE_STARTED_MS.
start_probe() {
  tool=$1 act=$2
  shift 2
  rm -f "$work"/log.*
  XDG_CURRENT_DESKTOP=${DESKTOP[$tool]} STAND_IN_DO=$act STAND_IN_LOG=$work/log PATH=$work/bin \
    "$PROBE" "$@" >"$work/out" 2>"$work/err" &
  DEMO_PID=$!
  PROBE_STARTED_MS=$(( $(date +%s%N) / 1000000 ))
}

# Fails unless the probe ended with exit code 0 and printed $1.
expect_probe_said() {
  [ "$DEMO_CODE" = 0 ] || fail "$case: the probe ended with $DEMO_CODE: $(cat "$work/err")"
  [ "$(cat "$work/out")" = "$1" ] || fail "$case: the probe said '$(cat "$work/out")', expected '$1'"
}

# Fails if the stand-in or a process it started is still running (a killed
# process may linger a moment as a zombie until its new parent collects it).
expect_nothing_left() {
  for file in "$work/log.pid" "$work/log.child"; do
    [ -f "$file" ] || continue
    state=$(ps -o stat= -p "$(cat "$file")")
    [ -z "$state" ] || [ "${state:0:1}" = Z ] || fail "$case: process $(cat "$file") is left running ($state)"
  done
}

for tool in zenity kdialog; do
  # The tool answers: no other box appears.
  for act in yes no closed; do
    case="$tool, $act"
    start_probe "$tool" "$act" question "$TEXT" "$DEMO_TITLE"
    wait_demo_exit "$ANSWER_LIMIT_S" || fail "$case: no answer within $ANSWER_LIMIT_S s"
    expect_probe_said "${ANSWER[$act]}"
    echo "$case: answered ${ANSWER[$act]}"
  done
  mapfile -d '' called <"$work/log.args"
  if [ "$tool" = zenity ]; then
    expected=(zenity --question "--title=$DEMO_TITLE" "--text=$TEXT" --no-markup)
  else
    expected=(kdialog --title "$DEMO_TITLE" --yesno "$TEXT_FOR_KDIALOG")
  fi
  [ "${called[*]@Q}" = "${expected[*]@Q}" ] || fail "$tool was called with ${called[*]@Q}, expected ${expected[*]@Q}"
  grep -q -x 'ZENITY_ESC=2' "$work/log.env" && grep -q -x 'GDK_BACKEND=x11' "$work/log.env" &&
    grep -q -x 'QT_QPA_PLATFORM=xcb' "$work/log.env" || fail "$tool's environment: $(cat "$work/log.env")"

  # The tool fails: SDL's box asks instead (the demo's own question, whose box the
  # helpers know), and is answered.
  for act in crash hang; do
    case="$tool, $act"
    start_probe "$tool" "$act" question "Run in fullscreen mode?" "$DEMO_TITLE"
    limit=$FALLBACK_ROOM_S
    [ "$act" = hang ] && limit=$((WINDOW_LIMIT_S + FALLBACK_ROOM_S))
    answer_question yes
    shown_ms=$(( $(date +%s%N) / 1000000 - PROBE_STARTED_MS ))
    wait_demo_exit "$ANSWER_LIMIT_S" || fail "$case: still running after SDL's box was answered"
    expect_probe_said yes
    [ "$shown_ms" -le $(( limit * 1000 )) ] || fail "$case: SDL's box was answered only after $shown_ms ms"
    grep -q "^glasswind: $tool .*; SDL's message box asks instead$" "$work/err" ||
      fail "$case: the fallback is not said on standard error: $(cat "$work/err")"
    expect_nothing_left
    echo "$case: SDL's box asked after $shown_ms ms ($(head -n 1 "$work/err"))"
  done
done

# A message through the tool, and one whose tool crashes: SDL's error box shows it.
case="zenity, notice"
start_probe zenity yes notice $'Can\'t play file\n(error code: 2)' Error
wait_demo_exit "$ANSWER_LIMIT_S" || fail "$case: not dismissed"
expect_probe_said dismissed
grep -q -z -x -- --info "$work/log.args" || fail "$case: zenity was not asked for its plain notice box"
case="kdialog, error, crash"
start_probe kdialog crash error "An incorrect version of BASS.DLL was loaded" Error
box=$(wait_for_window Error "$FALLBACK_ROOM_S") || { show_desktop >&2; fail "$case: SDL's error box did not appear"; }
read -r _ box_w box_h box_x box_y <<<"$box"
sleep 0.3 # let the box draw before the key lands
press_key_at Return $((box_x + box_w / 2)) $((box_y + box_h / 2))
wait_demo_exit "$ANSWER_LIMIT_S" || fail "$case: still running after Return"
expect_probe_said dismissed
echo "messages: zenity's notice dismissed; kdialog crashed, SDL's error box shown and dismissed"

# A stop signal while a hung tool holds the question ends it all at once.
case="zenity, hang, SIGTERM"
start_probe zenity hang question "$TEXT" "$DEMO_TITLE"
sleep 1
kill -TERM "$DEMO_PID"
wait_demo_exit "$PROMPT_EXIT_LIMIT" || fail "$case: still running $PROMPT_EXIT_LIMIT s later"
[ "$DEMO_CODE" = 143 ] || fail "$case: exit code $DEMO_CODE, expected 143"
sleep 0.2
expect_nothing_left
echo "$case: exit $DEMO_CODE after $DEMO_EXIT_MS ms, nothing left running"
