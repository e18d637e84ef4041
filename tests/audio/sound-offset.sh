#!/bin/bash
# Times the music as your own sound server plays it: runs the demo (in a window)
# a few times, records the default sink's monitor, and prints where music time 0
# was heard against demo time 5 000 ms, and how far it moved by the end.
#
#   make sound-offset [RUNS=3] [PLAY_SECONDS=12] [SERVER=own|pulseaudio|pipewire]
#
# It is a measurement on the test suite's own instruments (build/tests/audio/server_probe,
# the clock probe, and the sound-server helpers the end-to-end tests share), so it
# lives with them; make sound-offset builds what it needs first. "own" (the default)
# is the server of your desktop session; pulseaudio and pipewire start a private
# server on a null sink instead. PLAY_SECONDS (default 12) is how long each run plays
# after its window opens; 196 plays the whole demo, for the drift at the end.
# It answers the demo's question itself and presses Escape at the end, so leave
# the mouse and keyboard alone while it runs.
#
# How it measures: the demo's elapsed-time answers are logged by the preloaded
# clock probe on the monotonic clock, which fixes demo time 0; every read of
# the monitor recording is logged on the same clock, and the earliest-arriving
# reads near a frame date it (a recording's length does not: a recorder starts
# late and loses frames). The test music is noise that never repeats, so where
# music frame 0 lies in the recording is found by cross-correlation. What is
# left unmeasured: the sink's own latency past its monitor (a few ms on a null
# sink, more on a sound card; PulseAudio and PipeWire list it as "Latency" in
# `pactl list sinks`), and the recorder's (the reads come within 10 ms).
set -u
cd "$(dirname "$0")/../.."
RUNS=${1:-3}
PLAY_S=${2:-12}
SERVER=${3:-own}
MUSIC_SECONDS=200
. tests/e2e/lib.sh
. tests/support/sound_servers.sh
: "${BUILD_DIR:=build}"
GLASSWIND_BIN=$BUILD_DIR
SOURCE_DIR=.
SERVER_PROBE="$BUILD_DIR/tests/audio/server_probe"
CLOCK_PROBE=$(cd "$BUILD_DIR/tests/audio" 2>/dev/null && pwd)/libclock_probe.so
[ -x "$SERVER_PROBE" ] && [ -f "$CLOCK_PROBE" ] ||
  fail "build its probes first: make sound-offset does"

make_data_layout server_stop
"$SERVER_PROBE" make-music "$layout/data/glasswind.mp3" "$MUSIC_SECONDS" || fail "could not make the test music"
if [ "$SERVER" = own ]; then
  SERVER_SINK=$(pactl get-default-sink) || fail "no sound server answers (pactl get-default-sink)"
  SERVER_RATE=$(pactl list short sinks | awk -v s="$SERVER_SINK" '$2 == s { sub(/Hz/, "", $NF); print $NF }')
  SERVER_NAME=$(pactl info | sed -n 's/^Server Name: //p')
  [ -z "${XDG_RUNTIME_DIR:-}" ] && export XDG_RUNTIME_DIR=$layout
else
  server_start "$SERVER" || fail "$SERVER did not start"
fi
echo "$SERVER_NAME, sink $SERVER_SINK at $SERVER_RATE Hz, $RUNS runs of $PLAY_S s"

: >"$layout/results"
for run in $(seq 1 "$RUNS"); do
  rm -f "$layout"/*.raw "$layout"/*.log
  server_play_demo "$layout" "$PLAY_S"
  [ "${ONSET_MS:--1}" != -1 ] || { echo "run $run: the music was not found in the recording"; continue; }
  # A dropout near the run's end is the demo stopping, not the music breaking.
  ended="until $MUSIC_BREAK (demo time in ms; the run stops near $((PLAY_S * 1000)))"
  [ "${MUSIC_BREAK%@*}" = none ] && ended="to the end"
  echo "run $run: music time 0 at demo time 5000 $MUSIC_ZERO_MS ms (the demo's play call came $MUSIC_CALL_MS ms" \
    "after 5000); moved $DRIFT_MS ms by $UNBROKEN_MS ms later; the music ran unbroken $ended;" \
    "the monitor strayed $RECORDER_STRAY_MS ms from the sink's clock (over $RECORDER_STRAY_LIMIT_MS, the server faltered)"
  echo "$MUSIC_ZERO_MS $DRIFT_MS" >>"$layout/results"
done
awk 'NR == 1 { lo = hi = $1 } { s += $1; d += $2; if ($1 < lo) lo = $1; if ($1 > hi) hi = $1 }
  END { if (NR) printf "music time 0: mean %+.1f ms, spread %.1f ms (%+.1f ... %+.1f) over %d runs; mean end drift %+.1f ms\n",
        s / NR, hi - lo, lo, hi, NR, d / NR }' "$layout/results"
