#!/bin/bash
# The zip's glasswind.exe under Wine, from its unpacked folder, in a fresh Wine prefix
# (as on a machine where nothing of Wine ran before), with SDL's disk driver recording
# the sound: Escape in the question box answers No and gives an 800x450
# window centred on the 1280x720 screen; the first scene is drawn (compared with the
# Linux render of the same moments); the recording is silent, then the music, from
# about 5 s after the window opened; Escape ends the program with exit code 0.
# ctest-timeout: 240
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

SCREEN_WIDTH=1280
SCREEN_HEIGHT=720
RUN_LIMIT=90
MUSIC_SECONDS=20
# When the screenshot is taken, in seconds after the window opened: in the forest of
# the first scene, the caption shown (demo time about 12 s).
SHOT_AFTER_S=11
# The render tool draws the moments around it, this far either way, every step: the
# window's clock started a little before the window was seen, and Wine draws late.
SHOT_SEARCH_MS=1500
SHOT_SEARCH_STEP_MS=100
# Root mean square difference over the colour range (ImageMagick's normalised RMSE)
# of the screenshot from the nearest of those moments: measured 0.04 to 0.05, and 0.2
# or more 1.5 s away or in another scene.
SHOT_RMSE_LIMIT=0.12
RATE=44100
BYTES_PER_FRAME=4
# The music is first heard 5 s after the clock started; seen from the outside through
# a poll for the window and Wine's own delays, between these.
EARLIEST_MS=4000
LATEST_MS=6000

probe="$BUILD_DIR/tests/audio/audio_probe"
render="$BUILD_DIR/glasswind-render"
[ -x "$probe" ] || fail "the audio probe is not built: $probe"
[ -x "$render" ] || fail "the render tool is not built: $render"
command -v compare >/dev/null || fail "ImageMagick's compare is not installed"
wine_prepare fresh
unpack_zip
"$probe" make-music "$PROGRAM_DIR/data/glasswind.mp3" "$MUSIC_SECONDS" || fail "could not make the test music"

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=recording.raw
recording="$PROGRAM_DIR/recording.raw"
started=$(date +%s%N)
start_windows_demo "$PROGRAM_DIR" "$RUN_LIMIT"
answer_box "$WINE_START_LIMIT" Escape
answered=$(date +%s%N)

window=$(wait_for_demo_window 30 800 450) || { show_desktop >&2; fail "no 800x450 window after No"; }
opened_bytes=$(stat -c %s "$recording" 2>/dev/null || echo 0)
opened_ns=$(date +%s%N)
# Its place is the frame's: freeglut on Windows places a window's frame where it is told.
read -r x y client_x client_y <<<"$window"
[ "$x $y" = "$(( SCREEN_WIDTH / 2 - 400 )) $(( SCREEN_HEIGHT / 2 - 225 ))" ] ||
  fail "the window stands at ($x, $y), not centred on the ${SCREEN_WIDTH}x$SCREEN_HEIGHT screen"

sleep "$SHOT_AFTER_S"
shot_ms=$(( ($(date +%s%N) - opened_ns) / 1000000 ))
import -window root -crop "800x450+$client_x+$client_y" +repage "$UNPACKED/shot.png" || fail "no screenshot"
cp "$UNPACKED/shot.png" "$BUILD_DIR/windows-shot.png"

press_in_window Escape
wait_demo_exit 10 || fail "Escape did not end the program"
[ "$DEMO_CODE" = 0 ] || fail "Escape gave exit code $DEMO_CODE: $(head -c 1000 "$DEMO_ERR")"

# The picture: not black, and the nearest of the Linux renders around its moment close.
mean=$(convert "$UNPACKED/shot.png" -colorspace Gray -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m > 0.05) }' || fail "the screenshot is black (mean $mean)"
mkdir -p "$UNPACKED/linux"
for ((at = shot_ms - SHOT_SEARCH_MS; at <= shot_ms + SHOT_SEARCH_MS; at += SHOT_SEARCH_STEP_MS)); do
  echo "$at"
done >"$UNPACKED/moments.txt"
timeout 120 "$SOURCE_DIR/tests/support/with-xvfb" "$render" --moments "$UNPACKED/moments.txt" --size 800x450 \
  -o "$UNPACKED/linux" >"$UNPACKED/render.log" 2>&1 || fail "the render tool failed: $(tail -n 3 "$UNPACKED/render.log")"
best=$(for frame in "$UNPACKED"/linux/*.png; do
  rmse=$(compare -metric RMSE "$frame" "$UNPACKED/shot.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
  echo "$rmse $(basename "$frame" .png)"
done | sort -g | head -n 1)
read -r best_rmse best_ms <<<"$best"
awk -v r="$best_rmse" -v l="$SHOT_RMSE_LIMIT" 'BEGIN { exit !(r <= l) }' ||
  fail "the screenshot $shot_ms ms after the window opened differs from every Linux render near it (best $best)"

# The sound: silent, then the music unbroken from about 5 s after the window opened.
read -r onset music_frame matched heard recorded < <("$probe" find-music "$PROGRAM_DIR/data/glasswind.mp3" "$recording")
[ "$music_frame" != -1 ] || fail "the recording of $recorded frames is silent"
[ "$matched" = "$heard" ] || fail "the recording leaves the music $matched frames after its onset"
onset_ms=$(( (onset - opened_bytes / BYTES_PER_FRAME) * 1000 / RATE ))
[ "$onset_ms" -ge "$EARLIEST_MS" ] && [ "$onset_ms" -le "$LATEST_MS" ] ||
  fail "the music was first heard $onset_ms ms after the window opened"
echo "fresh prefix made in ${PREFIX_MS:-?} ms; question box after $(( (answered - started) / 1000000 )) ms; window at ($x, $y); screenshot at $shot_ms ms" \
  "nearest the render of demo time ${best_ms#0} (RMSE $best_rmse); music from frame $music_frame" \
  "$onset_ms ms after the window opened, $(( heard * 1000 / RATE )) ms heard"
