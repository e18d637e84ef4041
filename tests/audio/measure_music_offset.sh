#!/bin/bash
# Measures how far the music's start lies from demo time 5 000 ms in a disk-driver
# recording of the real demo, over several runs. Not part of the test suite.
#
#   tests/support/with-xvfb bash tests/audio/measure_music_offset.sh [RUNS] [MUSIC]
#
# from the repository root after a build in build/. MUSIC defaults to a test
# music made here (sound from its first frame); any music file works, as the
# recording is matched against its decoded sound.
#
# clock_probe.so is preloaded into the demo and logs, on one monotonic clock,
# glutInit, every elapsed-time answer (T, value) and every block the disk driver
# writes (T, bytes so far). The demo clock's origin is the smallest T - value;
# the recording's first non-silent frame is placed at the time its block was
# written plus its place in the block; audio_probe says which music frame it is.
# The disk driver writes each block right after the callback that filled it, so
# a write's time is when its block is "heard". "After the first clock read past
# it" is the layer's own delay from the play call (one device buffer, 23.2 ms);
# what varies from run to run beyond that is how far past 5 000 the demo's idle
# loop first read the clock. On PulseAudio and PipeWire the same figures come
# from tools/sound-offset.sh (5 12 pulseaudio, 5 12 pipewire), which dates the
# sink's monitor by its reads' arrival instead of by block writes.
set -u
cd "$(dirname "$0")/../.."
. tests/e2e/lib.sh

RUNS=${1:-3}
MUSIC=${2:-}
RATE=44100
BYTES_PER_FRAME=4
MUSIC_START_MS=5000
PLAY_PAST_START_S=2

: "${BUILD_DIR:=build}"
GLASSWIND_BIN=$BUILD_DIR
probe="$BUILD_DIR/tests/audio/audio_probe"
preload=$(cd "$BUILD_DIR/tests/audio" && pwd)/libclock_probe.so

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$MUSIC" ]; then
  MUSIC="$work/test-music.mp3"
  "$probe" make-music "$MUSIC" 12 || fail "could not make the test music"
fi

results="$work/results"
: >"$results"
for run in $(seq 1 "$RUNS"); do
  layout="$work/run$run"
  mkdir -p "$layout/data"
  if [ -d data ]; then cp -R data/. "$layout/data/"; fi
  cp "$MUSIC" "$layout/data/glasswind.mp3"

  export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$layout/recording.raw"
  export GLASSWIND_CLOCK_LOG="$layout/clock.log" LD_PRELOAD="$preload"
  start_demo "$layout"
  unset LD_PRELOAD
  answer_question_no
  wait_for_window "$DEMO_TITLE" 20 800x450 >/dev/null || fail "run $run: no demo window"
  sleep $((MUSIC_START_MS / 1000 + PLAY_PAST_START_S))
  press_key_at Escape 640 360
  wait_demo_exit 10

  read -r onset music_frame matched heard recorded < <("$probe" find-music "$layout/data/glasswind.mp3" "$SDL_DISKAUDIOFILE")
  [ "$music_frame" != -1 ] || fail "run $run: the recording is silent"
  awk -v onset="$onset" -v m="$music_frame" -v rate="$RATE" -v bpf="$BYTES_PER_FRAME" \
      -v start="$MUSIC_START_MS" -v run="$run" -v matched="$matched" -v heard="$heard" '
    $1 == "init" { initBefore = $2; initAfter = $3 }
    $1 == "clock" {
      d = $2 - $3
      if (!haveOrigin || d < origin) { origin = d; haveOrigin = 1 }
      if (!haveTrigger && $3 > start) { trigger = $2; haveTrigger = 1 }
    }
    $1 == "write" && !found {
      if ($3 > onset * bpf) { written = $2; blockStart = previous / bpf; found = 1 }
      previous = $3
    }
    END {
      firstHeard = written + (onset - blockStart) * 1000 / rate
      zero = firstHeard - m * 1000 / rate
      printf "run %d: origin %.1f ms after glutInit began (glutInit took %.1f ms); music frame %d first heard " \
             "%+.1f ms from demo time %d (%.1f ms after the first clock read past it); music time 0 at %+.1f ms; " \
             "%d of %d frames after it are the music\n",
             run, origin - initBefore, initAfter - initBefore, m, firstHeard - (origin + start), start,
             firstHeard - trigger, zero - (origin + start), matched, heard
      print firstHeard - (origin + start), zero - (origin + start) >> "'"$results"'"
    }' "$layout/clock.log"
done

awk '{ h[NR] = $1; z[NR] = $2 }
  END {
    hmin = hmax = h[1]; zmin = zmax = z[1]
    for (i = 1; i <= NR; i++) {
      hs += h[i]; zs += z[i]
      if (h[i] < hmin) hmin = h[i]; if (h[i] > hmax) hmax = h[i]
      if (z[i] < zmin) zmin = z[i]; if (z[i] > zmax) zmax = z[i]
    }
    printf "first heard sample: mean %+.1f ms, spread %.1f ms (%+.1f ... %+.1f) over %d runs\n", hs / NR, hmax - hmin, hmin, hmax, NR
    printf "music time 0:       mean %+.1f ms, spread %.1f ms (%+.1f ... %+.1f)\n", zs / NR, zmax - zmin, zmin, zmax
  }' "$results"
