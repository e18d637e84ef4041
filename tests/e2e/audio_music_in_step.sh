#!/bin/bash
# With the music present and SDL's disk driver recording the output, the
# recording is silent until about 5 s after the demo's window opens, then
# carries the music unbroken, placed so that its frame 0 falls on demo time
# 5 000 to within a few ms, whichever frame the play call came in.
# ctest-labels: e2e;audio
# ctest-timeout: 90
set -u
. "$(dirname "$0")/lib.sh"

RATE=44100
BYTES_PER_FRAME=4
MUSIC_SECONDS=12
MUSIC_START_MS=5000
HEARD_AFTER_START_S=2.5
# Music time 0 against demo time 5 000, at most. The disk driver writes a block at
# a time, 1 024 frames (23.2 ms), right after the callback that mixed it, so a
# block's write dates its first frame.
START_LIMIT_MS=5
# Seen from the outside, through a shell polling for the window on a machine
# busy drawing, and timed by the disk driver's pacing: about 5 s.
EARLIEST_MS=4500
LATEST_MS=5600

probe="$BUILD_DIR/tests/audio/audio_probe"
[ -x "$probe" ] || fail "the audio probe is not built: $probe"
clock_probe=$(cd "$BUILD_DIR/tests/audio" && pwd)/libclock_probe.so
[ -f "$clock_probe" ] || fail "the clock probe is not built: $clock_probe"

# A copy of the run-time layout with a music made here: sound from its first frame.
make_data_layout
"$probe" make-music "$layout/data/glasswind.mp3" "$MUSIC_SECONDS" || fail "could not make the test music"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$layout/recording.raw"
GLASSWIND_CLOCK_LOG="$layout/clock.log" LD_PRELOAD="$clock_probe" start_demo "$layout"
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
[ "$matched" = "$heard" ] || fail "the recording leaves the music $matched frames after its onset"

# On the clock probe's log: demo time 0 is the smallest (time - answer) of the
# clock's answers; the play call is the first answer past 5 000; the recording's
# first music frame is dated by the write of its block.
read -r call_ms against_ms < <(awk -v onset="$onset" -v m="$music_frame" -v rate="$RATE" \
    -v bpf="$BYTES_PER_FRAME" -v start="$MUSIC_START_MS" '
  $1 == "clock" {
    d = $2 - $3
    if (!haveOrigin || d < origin) { origin = d; haveOrigin = 1 }
    if (!haveTrigger && $3 > start) { trigger = $3; haveTrigger = 1 }
  }
  $1 == "write" && !found {
    if ($3 > onset * bpf) { written = $2; blockStart = previous / bpf; found = 1 }
    previous = $3
  }
  END {
    if (!found || !haveTrigger) { print "- -"; exit }
    firstHeard = written + (onset - blockStart) * 1000 / rate
    printf "%d %.1f\n", trigger - start, firstHeard - m * 1000 / rate - origin - start
  }' "$layout/clock.log")
[ "$against_ms" != - ] || fail "the clock log has no play call or no write of the music: $(tail -n 3 "$layout/clock.log")"
awk -v e="$against_ms" -v l="$START_LIMIT_MS" 'BEGIN { exit !(e >= -l && e <= l) }' ||
  fail "music time 0 was written $against_ms ms from demo time 5000 (the play call $call_ms ms after it)"

opened_frame=$(( opened_bytes / BYTES_PER_FRAME ))
frames_per_ms=$(awk -v a="$opened_bytes" -v b="$late_bytes" -v s="$opened_ns" -v e="$late_ns" -v f="$BYTES_PER_FRAME" \
  'BEGIN { printf "%.4f", (b - a) / f / ((e - s) / 1e6) }')
onset_ms=$(awk -v a="$onset" -v b="$opened_frame" -v p="$frames_per_ms" 'BEGIN { printf "%d", (a - b) / p }')
heard_ms=$(awk -v h="$heard" -v r="$RATE" 'BEGIN { printf "%d", h * 1000 / r }')
[ "$onset_ms" -ge "$EARLIEST_MS" ] && [ "$onset_ms" -le "$LATEST_MS" ] ||
  fail "the music was first heard $onset_ms ms after the window opened"
[ "$heard_ms" -ge 2000 ] || fail "only $heard_ms ms of music were heard"
echo "silent for $onset_ms ms after the window opened, then $heard_ms ms of the music from frame $music_frame;" \
  "music time 0 at demo time 5000 $against_ms ms (the play call $call_ms ms after 5000;" \
  "disk driver at $frames_per_ms frames/ms)"
