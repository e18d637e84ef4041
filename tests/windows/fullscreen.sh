#!/bin/bash
# The zip's glasswind.exe under Wine answered Yes (Return, the box's default): freeglut's
# game mode (or the demo's own window) covers the whole 1280x720 screen with a
# multisampled picture where the X server offers one, and Escape leaves it with exit code 0.
# ctest-timeout: 120
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

RUN_LIMIT=60
# freeglut names its game-mode window itself.
GAME_MODE_TITLE=FREEGLUT
FULL_SCREEN_LIMIT=30
MULTISAMPLE_CHECK=RenderState.MultisampleNoticeOnceWithFourSamples

wine_prepare
unpack_zip
export SDL_AUDIODRIVER=dummy
start_windows_demo "$PROGRAM_DIR" "$RUN_LIMIT"
answer_box "$WINE_START_LIMIT" Return
# Where the mode change is refused (Debian 13's Wine at times), the demo covers the
# screen with its own window instead: either answer is full screen.
deadline=$(( $(date +%s) + FULL_SCREEN_LIMIT ))
until { window=$(wait_for_window "$GAME_MODE_TITLE" 1 1280x720) && title=$GAME_MODE_TITLE; } ||
  { window=$(wait_for_window "$DEMO_TITLE" 1 1280x720) && title=$DEMO_TITLE; }; do
  [ "$(date +%s)" -le "$deadline" ] || { show_desktop >&2; fail "no full-screen window after Yes"; }
done
read -r _ _ _ x y <<<"$window"
[ "$x $y" = "0 0" ] || fail "the full-screen window stands at ($x, $y)"
sleep 2
TITLE_PATTERN="^$title\$" press_in_window Escape
wait_demo_exit 10 || fail "Escape did not end the program"
[ "$DEMO_CODE" = 0 ] || fail "Escape gave exit code $DEMO_CODE"
picture=multisampled
if ! grep -qx "Multisample is active" <(tr -d '\r' <"$DEMO_OUT"); then
  # Wine's GL takes its pixel formats from the X server's GLX configurations; the GL
  # tests' own check says whether this one offers a multisampled one at all.
  offered=$("$BUILD_DIR/tests/gl_tests" --gtest_filter="$MULTISAMPLE_CHECK" 2>&1)
  case "$offered" in
    *"offers no multisampled GLX configuration"*) picture="not multisampled (this X server offers no multisampled configuration)" ;;
    *) fail "no \"Multisample is active\" in the redirected output" ;;
  esac
fi
echo "full screen 1280x720 at (0, 0) titled $title, $picture; Escape: exit code 0"
