#!/bin/bash
# The zip's glasswind.exe under Wine answered Yes (Return, the box's default): freeglut's
# game mode covers the whole 1280x720 screen with a multisampled picture, and Escape
# leaves it with exit code 0.
# ctest-timeout: 120
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

RUN_LIMIT=60
# freeglut names its game-mode window itself.
GAME_MODE_TITLE=FREEGLUT

wine_prepare
unpack_zip
export SDL_AUDIODRIVER=dummy
start_windows_demo "$PROGRAM_DIR" "$RUN_LIMIT"
answer_box "$WINE_START_LIMIT" Return
window=$(wait_for_window "$GAME_MODE_TITLE" 30 1280x720) || { show_desktop >&2; fail "no full-screen window after Yes"; }
read -r _ _ _ x y <<<"$window"
[ "$x $y" = "0 0" ] || fail "the full-screen window stands at ($x, $y)"
sleep 2
TITLE_PATTERN="^$GAME_MODE_TITLE\$" press_in_window Escape
wait_demo_exit 10 || fail "Escape did not end the program"
[ "$DEMO_CODE" = 0 ] || fail "Escape gave exit code $DEMO_CODE"
grep -qx "Multisample is active" <(tr -d '\r' <"$DEMO_OUT") || fail "no \"Multisample is active\" in the redirected output"
echo "full screen 1280x720 at (0, 0), multisampled; Escape: exit code 0"
