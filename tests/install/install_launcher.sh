#!/bin/bash
# The installed demo started through its launcher from a folder without data/: it asks
# its question, opens its window (which it does only once it has read the music from
# data/) and ends on Escape with exit code 0.
set -u
: "${SOURCE_DIR:?}" "${BUILD_DIR:?}"
work=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-launcher.XXXXXX")
cmake --install "$BUILD_DIR" --prefix "$work/prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: the install failed (make install builds what it installs)"; rm -rf "$work"; exit 1; }
# The launcher needs dirname and readlink; the demo finds no dialog tool beside them.
mkdir "$work/elsewhere" "$work/tools"
ln -s "$(command -v dirname)" "$(command -v readlink)" "$work/tools/"
GLASSWIND_BIN=$work/prefix/games
DEMO_PATH=$work/tools
. "$SOURCE_DIR/tests/e2e/lib.sh"
trap 'rm -rf "$work"' EXIT

start_demo "$work/elsewhere"
answer_question_no
window=$(wait_for_window "$DEMO_TITLE" 15 800x450) ||
  { show_desktop >&2; fail "the installed demo opened no window"; }
read -r id _ <<<"$window"
wait_viewable "$id" 15 || fail "the window was never shown"
sleep 1
kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended by itself: $(cat "$DEMO_ERR")"
press_key_at Escape 640 360
wait_demo_exit 5
[ "$DEMO_CODE" = 0 ] || fail "Escape gave exit code $DEMO_CODE"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the demo wrote into the folder it was started from"
echo "started as $GLASSWIND_BIN/glasswind from $work/elsewhere: window 800x450, Escape -> exit 0"
