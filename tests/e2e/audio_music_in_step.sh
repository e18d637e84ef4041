#!/bin/bash
# With the music present and SDL's disk driver recording the output, the
# recording is silent until about 5 s after the demo's window opens, then
# carries the music from (nearly) its beginning, unbroken.
# ctest-labels: e2e
# ctest-timeout: 90
set -u
. "$(dirname "$0")/lib.sh"

RATE=44100
BYTES_PER_FRAME=4
MUSIC_SECONDS=12
HEARD_AFTER_START_S=2.5
# The clock hands over its millisecond count past 5 000 as a byte count: from
# frame 1 250 (5 001 bytes) on, a frame later for every 4 ms the trigger came late.
# The trigger is the first idle call past 5 000 ms, late by up to one drawn frame:
# about 17 ms on an idle machine, up to 0.4 s when other work keeps both cores busy.
FIRST_HEARD_FRAME=1250
LATEST_HEARD_FRAME=1375
# Seen from the outside, through a shell polling for the window on a machine
# busy drawing, and timed by the disk driver's pacing: about 5 s.
EARLIEST_MS=4500
LATEST_MS=5600

probe="$BUILD_DIR/tests/audio/audio_probe"
[ -x "$probe" ] || fail "the audio probe is not built: $probe"

# A copy of the run-time layout with a music made here: sound from its first frame.
layout=$(mktemp -d)
trap 'rm -rf "$layout"' EXIT
mkdir "$layout/data"
if [ -d "$SOURCE_DIR/data" ]; then cp -R "$SOURCE_DIR/data/." "$layout/data/"; fi
"$probe" make-music "$layout/data/glasswind.mp3" "$MUSIC_SECONDS" || fail "could not make the test music"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$layout/recording.raw"
start_demo "$layout"
answer_question_no

# The recording's length at the moment the window is there ties it to the clock,
# which starts just before the window is created. The disk driver paces itself
# with sleeps that run late on a busy machine, so its pace is measured too.
deadline=$(( $(date +%s) + 20 ))
until windows_named "$DEMO_TITLE" | awk '$2 == 800 && $3 == 450 { found = 1 } END { exit !found }'; do
  kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended before its window opened"
  [ "$(date +%s)" -le "$deadline" ] || fail "the demo window did not open"
  sleep 0.01
done
opened_bytes=$(stat -c %s "$SDL_DISKAUDIOFILE")
opened_ns=$(date +%s%N)

sleep "$(awk -v h="$HEARD_AFTER_START_S" 'BEGIN { print 5 + h }')"
late_bytes=$(stat -c %s "$SDL_DISKAUDIOFILE")
late_ns=$(date +%s%N)
press_key_at Escape 640 360
wait_demo_exit 10
code=$DEMO_CODE
[ "$code" = 0 ] || fail "Escape gave exit code $code"

read -r onset music_frame matched heard recorded < <("$probe" find-music "$layout/data/glasswind.mp3" "$SDL_DISKAUDIOFILE")
[ "$music_frame" != -1 ] || fail "the recording of $recorded frames is silent"
[ "$music_frame" -ge "$FIRST_HEARD_FRAME" ] && [ "$music_frame" -le "$LATEST_HEARD_FRAME" ] ||
  fail "the music was first heard from frame $music_frame"
[ "$matched" = "$heard" ] || fail "the recording leaves the music $matched frames after its onset"
opened_frame=$(( opened_bytes / BYTES_PER_FRAME ))
frames_per_ms=$(awk -v a="$opened_bytes" -v b="$late_bytes" -v s="$opened_ns" -v e="$late_ns" -v f="$BYTES_PER_FRAME" \
  'BEGIN { printf "%.4f", (b - a) / f / ((e - s) / 1e6) }')
onset_ms=$(awk -v a="$onset" -v b="$opened_frame" -v p="$frames_per_ms" 'BEGIN { printf "%d", (a - b) / p }')
heard_ms=$(awk -v h="$heard" -v r="$RATE" 'BEGIN { printf "%d", h * 1000 / r }')
[ "$onset_ms" -ge "$EARLIEST_MS" ] && [ "$onset_ms" -le "$LATEST_MS" ] ||
  fail "the music was first heard $onset_ms ms after the window opened"
[ "$heard_ms" -ge 2000 ] || fail "only $heard_ms ms of music were heard"
echo "silent for $onset_ms ms after the window opened, then $heard_ms ms of the music from frame" \
  "$music_frame (started at demo time $((music_frame * BYTES_PER_FRAME))-$((music_frame * BYTES_PER_FRAME + BYTES_PER_FRAME - 1)) ms;" \
  "disk driver at $frames_per_ms frames/ms)"
