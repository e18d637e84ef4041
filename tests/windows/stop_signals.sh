#!/bin/bash
# Ctrl-C under Wine: SIGINT to a program Wine runs from a terminal reaches it as the
# console's Ctrl-C (CTRL_C_EVENT to its SetConsoleCtrlHandler handler), as Ctrl-C typed
# in a Windows console does. glasswind-render.exe, drawing a range, ends at once with
# the status of a Ctrl-C (0xC000013A, whose low byte 58 is the exit code Wine gives)
# and leaves the frames it finished but no temporary file, which only its handler (the
# demo's own, src/platform/windows/stop_signals_windows.cpp) removes; glasswind.exe,
# playing in its window, ends at once with the same status (as Wine's default handler
# would end it too: its stop cleanup shows nothing outside). A closed console cannot
# be driven here: Wine 8 turns neither a hang-up of the terminal nor a closed
# wineconsole window into CTRL_CLOSE_EVENT.
# ctest-timeout: 180
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

RUN_LIMIT=60
CTRL_C_EXIT=58
STOP_LIMIT_S=2
FRAMES_BEFORE_STOP=20

wine_prepare
unpack_zip

# The render tool: frames into a folder, Ctrl-C once a few are written.
start_in_terminal "$PROGRAM_DIR" "$RUN_LIMIT" "$PROGRAM_DIR/glasswind-render.exe" \
  --from 0 --to 100000 --size 320x180 -o frames
frames="$PROGRAM_DIR/frames"
for _ in $(seq 300); do
  [ "$(ls "$frames" 2>/dev/null | wc -l)" -ge "$FRAMES_BEFORE_STOP" ] && break
  sleep 0.1
done
kill -INT "$WINDOWS_PID" || fail "glasswind-render.exe ended before Ctrl-C"
wait_demo_exit "$STOP_LIMIT_S" || fail "glasswind-render.exe still runs $STOP_LIMIT_S s after Ctrl-C"
[ "$DEMO_CODE" = "$CTRL_C_EXIT" ] || fail "Ctrl-C ended glasswind-render.exe with exit code $DEMO_CODE"
left=$(ls -A "$frames" | grep -c '[.]part-')
[ "$left" = 0 ] || fail "Ctrl-C left $left temporary file(s): $(ls -A "$frames" | grep '[.]part-')"
kept=$(ls "$frames" | grep -c '^frame_[0-9]*[.]png$')
[ "$kept" -ge "$FRAMES_BEFORE_STOP" ] || fail "only $kept finished frames were kept"
echo "glasswind-render.exe: Ctrl-C ended it in $DEMO_EXIT_MS ms with exit code $DEMO_CODE;" \
  "$kept finished frames kept, no temporary file left"

# The demo: No in the question box, then Ctrl-C while it plays in its window.
SDL_AUDIODRIVER=dummy start_in_terminal "$PROGRAM_DIR" "$RUN_LIMIT" "$PROGRAM_DIR/glasswind.exe"
answer_box "$WINE_START_LIMIT" Escape
wait_for_demo_window 30 800 450 >/dev/null || { show_desktop >&2; fail "no 800x450 window after No"; }
sleep 2
kill -INT "$WINDOWS_PID" || fail "glasswind.exe ended before Ctrl-C"
wait_demo_exit "$STOP_LIMIT_S" || fail "glasswind.exe still runs $STOP_LIMIT_S s after Ctrl-C"
[ "$DEMO_CODE" = "$CTRL_C_EXIT" ] || fail "Ctrl-C ended glasswind.exe with exit code $DEMO_CODE"
echo "glasswind.exe: Ctrl-C ended it in $DEMO_EXIT_MS ms with exit code $DEMO_CODE"
