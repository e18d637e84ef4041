#!/bin/bash
# The audio failures of the zip's program under Wine: with no sound device (Wine's
# sound drivers switched off) and with the music file missing, the question answered
# No, the "Error" box says why, no window opens, nothing hangs, and dismissing the
# box ends the program with exit code 0.
# ctest-timeout: 180
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

RUN_LIMIT=60
BOX_LIMIT=30

# case | SDL_AUDIODRIVER | Wine DLL overrides | remove the music | the box's text | its error code
CASES=(
  "no sound device||winealsa.drv,winepulse.drv,wineoss.drv=d|no|Can't initialize device|23"
  "missing music|dummy||yes|Can't play file|2"
)

wine_prepare
unpack_zip
for row in "${CASES[@]}"; do
  IFS='|' read -r case_name driver overrides remove text code <<<"$row"
  shown="$text\\n(error code: $code)"
  rm -rf "$UNPACKED/case"
  cp -R "$PROGRAM_DIR" "$UNPACKED/case"
  [ "$remove" = yes ] && rm "$UNPACKED/case/data/glasswind.mp3"
  started=$(date +%s%N)
  # Wine's window channel traces every window text set, the box's own on standard error.
  SDL_AUDIODRIVER=$driver WINEDLLOVERRIDES="$overrides;${WINEDLLOVERRIDES}" WINEDEBUG=trace+win \
    start_windows_demo "$UNPACKED/case" "$RUN_LIMIT"
  answer_box "$WINE_START_LIMIT" Escape
  wait_for_window Error "$BOX_LIMIT" >/dev/null || { show_desktop >&2; fail "$case_name: no error box"; }
  boxed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
  sleep 0.5
  kill -0 "$DEMO_PID" 2>/dev/null || fail "$case_name: the program ended before its box was dismissed"
  [ -z "$(windows_named "$DEMO_TITLE")" ] || fail "$case_name: a demo window opened"
  grep -aqF "set_window_text L\"$shown\"" "$DEMO_ERR" ||
    fail "$case_name: no box said \"$shown\": $(grep -a 'set_window_text L"Can' "$DEMO_ERR" | head -n 3)"
  TITLE_PATTERN='^Error$' press_in_window Return
  wait_demo_exit 10 || fail "$case_name: still running after its box was dismissed"
  [ "$DEMO_CODE" = 0 ] || fail "$case_name: exit code $DEMO_CODE"
  echo "$case_name: \"$shown\" $boxed_ms ms after the start, exit code 0 once dismissed"
done
