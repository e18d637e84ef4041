# Sound servers for the tests and the timing tool: a private PulseAudio, or
# PipeWire with its PulseAudio service, on a null sink, and a recording of that
# sink's monitor dated by when its bytes arrive. Sourced, not run.
#
# Each server lives in its own XDG_RUNTIME_DIR (we may run as root, with no
# session and no audio hardware) and is stopped by server_stop, which the
# caller puts in its EXIT trap. Needs server_probe (SERVER_PROBE).

SERVER_SINK=glasswind_test
SERVER_RATE=48000
SERVER_START_LIMIT_S=15
RECORDER_LATENCY_MS=10   # parec's fragment: how late a read may come at most
# A desktop runs its sound server ahead of other work, in real time through
# rtkit; so does this one, and the recorder, on a machine busy with builds.
SERVER_RT_PRIORITY=20
SERVER_PIDS=""
RECORDER_PID=""

# Starts $@ in the background with its output in the runtime directory; its
# pid goes to the front of SERVER_PIDS, so the stop ends the last started first.
server_spawn() {
  name=$1; shift
  chrt -r "$SERVER_RT_PRIORITY" "$@" >"$XDG_RUNTIME_DIR/$name.log" 2>&1 &
  SERVER_PIDS="$! $SERVER_PIDS"
}

# Waits until the server answers PulseAudio clients.
server_wait_ready() {
  deadline=$(( $(date +%s) + SERVER_START_LIMIT_S ))
  until pactl info >/dev/null 2>&1; do
    [ "$(date +%s)" -le "$deadline" ] || { server_show_logs >&2; return 1; }
    sleep 0.1
  done
}

server_new_runtime_dir() {
  XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-sound.XXXXXX")
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  # No cookie from a home directory: the server is ours alone.
  export PULSE_COOKIE="$XDG_RUNTIME_DIR/pulse-cookie"
}

# PulseAudio with nothing but a null sink at SERVER_RATE and the local socket.
server_start_pulseaudio() {
  server_new_runtime_dir
  server_spawn pulseaudio pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --disable-shm=yes --log-target=stderr \
    -L "module-null-sink sink_name=$SERVER_SINK rate=$SERVER_RATE" -L module-native-protocol-unix
  server_wait_ready || return 1
  pactl set-default-sink "$SERVER_SINK"
  SERVER_NAME="PulseAudio $(pactl info | sed -n 's/^Server Version: //p')"
}

# PipeWire on a session bus of its own, then WirePlumber, then its PulseAudio
# service, in that order; the null sink is loaded through the PulseAudio service.
server_start_pipewire() {
  server_new_runtime_dir
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
  server_spawn dbus dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
  deadline=$(( $(date +%s) + SERVER_START_LIMIT_S ))
  until [ -S "$XDG_RUNTIME_DIR/bus" ]; do
    [ "$(date +%s)" -le "$deadline" ] || { server_show_logs >&2; return 1; }
    sleep 0.05
  done
  server_spawn pipewire pipewire
  until [ -S "$XDG_RUNTIME_DIR/pipewire-0" ]; do
    [ "$(date +%s)" -le "$deadline" ] || { server_show_logs >&2; return 1; }
    sleep 0.05
  done
  server_spawn wireplumber wireplumber
  WIREPLUMBER_PID=${SERVER_PIDS%% *}
  server_spawn pipewire-pulse pipewire-pulse
  server_wait_ready || return 1
  pactl load-module module-null-sink sink_name="$SERVER_SINK" rate="$SERVER_RATE" >/dev/null || return 1
  # WirePlumber sees the new sink a moment later.
  until pactl list short sinks | grep -q "$SERVER_SINK"; do
    [ "$(date +%s)" -le "$deadline" ] || { server_show_logs >&2; return 1; }
    sleep 0.1
  done
  pactl set-default-sink "$SERVER_SINK"
  SERVER_NAME=$(pactl info | sed -n 's/^Server Name: //p')
  # PipeWire runs its graph in quanta no longer than its nodes ask for: the
  # recorder's low latency gives 256 frames; the demo alone on a desktop, 2 048.
  if [ -n "${PIPEWIRE_QUANTUM:-}" ]; then
    pw-metadata -n settings 0 clock.force-quantum "$PIPEWIRE_QUANTUM" >/dev/null || return 1
    SERVER_NAME="$SERVER_NAME, $PIPEWIRE_QUANTUM-frame quantum"
  fi
}

server_start() {
  case "$1" in
    pulseaudio) server_start_pulseaudio ;;
    pipewire) server_start_pipewire ;;
    *) echo "no such server: $1" >&2; return 2 ;;
  esac
}

# Records the sink's monitor at the sink's own rate, raw 16-bit stereo, into $1;
# every read is dated into $2 on the monotonic clock.
server_record() {
  chrt -r "$SERVER_RT_PRIORITY" parec --device="$SERVER_SINK.monitor" --raw --format=s16le --channels=2 --rate="$SERVER_RATE" \
    --latency-msec="$RECORDER_LATENCY_MS" 2>"$XDG_RUNTIME_DIR/parec.log" |
    chrt -r "$SERVER_RT_PRIORITY" "$SERVER_PROBE" stamp "$1" "$2" &
  RECORDER_PID=$!
  # The recording must be running before anything is played into the sink.
  deadline=$(( $(date +%s) + SERVER_START_LIMIT_S ))
  until [ -s "$2" ]; do
    [ "$(date +%s)" -le "$deadline" ] || { server_show_logs >&2; return 1; }
    sleep 0.05
  done
}

# Ends the recorder: parec ends at its next write once the reader of its pipe is gone.
server_stop_recording() {
  [ -n "$RECORDER_PID" ] || return 0
  kill "$RECORDER_PID" 2>/dev/null
  wait "$RECORDER_PID" 2>/dev/null
  RECORDER_PID=""
}

server_show_logs() {
  for log in "$XDG_RUNTIME_DIR"/*.log; do
    [ -f "$log" ] || continue
    echo "--- $(basename "$log"):"; tail -n 15 "$log"
  done
}

# Stops the recorder and the server's processes, last started first, and removes
# the runtime directory. Safe to call more than once.
server_stop() {
  server_stop_recording
  for pid in $SERVER_PIDS; do kill "$pid" 2>/dev/null; done
  for pid in $SERVER_PIDS; do wait "$pid" 2>/dev/null; done
  SERVER_PIDS=""
  [ -n "${XDG_RUNTIME_DIR:-}" ] && case "$XDG_RUNTIME_DIR" in
    */glasswind-sound.*) rm -rf "$XDG_RUNTIME_DIR" ;;
  esac
}

# Plays the demo in layout $1 (its data/glasswind.mp3 is the music) through the
# running server for $2 seconds after its window opens, with the clock probe
# preloaded and the monitor recorded, then follows the music in the recording.
# Sets WINDOW_MS (when the window was seen), SINK_INPUT_FORMAT (the demo's stream
# as the server saw it) and, from server_probe follow, DEMO_ORIGIN ONSET_MS
# MUSIC_ZERO_MS UNBROKEN_MS WORST_CORRELATION WORST_LAG DRIFT_MS RECORDING_START
# MUSIC_BREAK (what ended the music, @ demo time in ms: none, dropout, jump, lost)
# MUSIC_CALL_MS (how long after demo time 5 000 the demo started the music) and
# RECORDER_STRAY_MS (how far the monitor's own stream strayed from its clock).
# Needs lib.sh (start_demo ...) and CLOCK_PROBE, the clock probe's library.
server_play_demo() {
  layout=$1
  server_record "$layout/monitor.raw" "$layout/stamps.log" || {
    # In a bare root (no system bus, no systemd) WirePlumber ends at start-up,
    # and a PipeWire without its session manager links no stream to the sink.
    [ -n "${WIREPLUMBER_PID:-}" ] && ! kill -0 "$WIREPLUMBER_PID" 2>/dev/null &&
      skip "WirePlumber ended at start-up on this machine, so a private PipeWire plays nothing: $(tail -n 1 "$XDG_RUNTIME_DIR/wireplumber.log")"
    fail "the recorder did not start"
  }
  SDL_AUDIODRIVER=pulseaudio GLASSWIND_CLOCK_LOG="$layout/clock.log" LD_PRELOAD="$CLOCK_PROBE" \
    start_demo "$layout"
  answer_question_no
  wait_for_window "$DEMO_TITLE" 20 800x450 >/dev/null || { server_show_logs >&2; fail "no demo window"; }
  WINDOW_MS=$("$SERVER_PROBE" now)
  sleep "$SINK_INPUT_LOOK_S"
  SINK_INPUT_FORMAT=$(pactl list sink-inputs | sed -n 's/^[[:space:]]*Sample S[a-z]*: //p' | head -n 1)
  SINK_LEAD_MS=$(server_sink_lead_ms)
  sleep "$(awk -v a="$2" -v b="$SINK_INPUT_LOOK_S" 'BEGIN { print a - b }')"
  press_key_at Escape 640 360
  wait_demo_exit 10
  server_stop_recording
  read -r DEMO_ORIGIN ONSET_MS MUSIC_ZERO_MS UNBROKEN_MS WORST_CORRELATION WORST_LAG DRIFT_MS RECORDING_START MUSIC_BREAK \
    MUSIC_CALL_MS RECORDER_STRAY_MS \
    < <("$SERVER_PROBE" follow "$layout/data/glasswind.mp3" "$layout/monitor.raw" "$SERVER_RATE" \
          "$layout/stamps.log" "$layout/clock.log")
  # The recording dates a frame when the monitor hands it over, which is when the
  # sink renders it: one configured sink latency before the server dates it heard.
  [ -n "${MUSIC_ZERO_MS:-}" ] && MUSIC_ZERO_MS=$(awk -v z="$MUSIC_ZERO_MS" -v l="$SINK_LEAD_MS" 'BEGIN { printf "%.3f", z + l }')
}

# How far ahead of what is heard the sink renders, in ms, as the server says:
# the configured latency of our null sink (PulseAudio runs it at the latency its
# monitor's recorder asks for; PipeWire's service says 0).
server_sink_lead_ms() {
  pactl list sinks | awk -v sink="$SERVER_SINK" '
    $1 == "Name:" { mine = ($2 == sink) }
    mine && $1 == "Latency:" { for (i = 1; i <= NF; i++) if ($i == "configured") { printf "%.3f", $(i + 1) / 1000; exit } }
  END { }' | grep . || echo 0
}
SINK_INPUT_LOOK_S=7   # after the window: the music has started by then

# The music through server $1 (pulseaudio or pipewire), checked as a listener
# would hear it: silence until about 5 s after the window opens, then the music
# from its beginning, on the beat, unbroken, at its own pitch and rate although
# the sink runs at 48 kHz and the music at 44.1 kHz. Fails the test otherwise.
CHECK_MUSIC_SECONDS=35
CHECK_PLAY_S=31               # after the window: 5 s of silence, then over 25 s of music
CHECK_EARLIEST_MS=4500        # the onset after the window opened (the demo clock's start)
CHECK_LATEST_MS=5600
CHECK_UNBROKEN_MS=25000
CHECK_DRIFT_LIMIT_MS=10       # the music's place by its end against its start
# Music time 0 against demo time 5 000: the demo places the music on its clock,
# heard from where it would be had it started from its beginning at 5 000, so a
# play call that comes late (when the idle loop first reads the clock past 5 000,
# most often within a few ms, later after a slow frame) skips the music's first
# milliseconds and moves no beat. A busy machine adds the server's jitter.
CHECK_MUSIC_ZERO_LIMIT_MS=10
CHECK_CALL_LATEST_MS=500   # past 5 000: a frame at most, the slowest being the first scene's first
REFERENCE_QUEUE_MS=400
# The monitor's frames come on the sink's clock to within a fraction of a ms; when
# they stray more, the server lost or stalled its own frames during the run.
RECORDER_STRAY_LIMIT_MS=3
# A busy run keeps one CPU loop a core going (the timing tool may ask for more).
: "${LOAD_LOOPS:=$(nproc)}"
# Skips, saying so with $1, when the server itself faltered during the run.
skip_if_server_faltered() {
  awk -v s="${RECORDER_STRAY_MS:-0}" -v l="$RECORDER_STRAY_LIMIT_MS" 'BEGIN { exit !(s > l) }' &&
    skip "$1; but $SERVER_NAME itself faltered meanwhile ($load): its monitor's frames strayed $RECORDER_STRAY_MS ms from the sink's clock"
  return 0
}

# Fails with $1 unless the server itself faltered during the run: then skips, saying so.
server_fault_or_fail() {
  skip_if_server_faltered "$1"
  fail "$1"
}

# A fault $1 in the music: when the server itself faltered meanwhile, the test
# skips, saying so; the first time otherwise, the demo plays once more and that
# run is judged instead; a second fault fails, unless the server's own player
# (paplay, with as deep a queue as the demo's) breaks too when it plays the same
# music at once under the same load: then the server cannot keep music unbroken
# on this machine, whoever plays it, and the test skips. A "quiet" run is only
# as quiet as the tests beside it, so it is judged the same way.
music_fault() {
  skip_if_server_faltered "$1"
  [ "$load" != quiet ] && start_load
  if [ -z "${FIRST_FAULT:-}" ]; then
    FIRST_FAULT="$1"
    play_and_judge
    exit 0
  fi
  set -- "$1 (a first run before it: $FIRST_FAULT)"

  server_record "$layout/reference.raw" "$layout/reference-stamps.log" || fail "$1 (and the reference's recorder did not start)"
  echo "clock $("$SERVER_PROBE" now) 0" >"$layout/reference-clock.log"
  timeout "$CHECK_PLAY_S" paplay --latency-msec="$REFERENCE_QUEUE_MS" "$layout/data/glasswind.mp3"
  server_stop_recording
  [ -n "${LOAD_PID:-}" ] && kill "$LOAD_PID" 2>/dev/null
  read -r _ _ _ reference_unbroken _ _ reference_drift _ reference_break _ \
    < <("$SERVER_PROBE" follow "$layout/data/glasswind.mp3" "$layout/reference.raw" "$SERVER_RATE" \
          "$layout/reference-stamps.log" "$layout/reference-clock.log")
  awk -v u="${reference_unbroken:-0}" -v l="$CHECK_UNBROKEN_MS" -v d="${reference_drift:-0}" -v dl="$CHECK_DRIFT_LIMIT_MS" \
    'BEGIN { exit !(u < l || d < -dl || d > dl) }' &&
    skip "$1; but $SERVER_NAME's own paplay faltered too ($load): unbroken for ${reference_unbroken:-0} ms, then ${reference_break:-?}, moved ${reference_drift:-?} ms"
  fail "$1 (paplay, $load: unbroken for $reference_unbroken ms, moved $reference_drift ms)"
}

# With "busy" as $2, every core is kept busy by other programs at the demo's own
# priority while it plays, as on a desktop that is building something.
server_check_music() {
  : "${BUILD_DIR:=build}"
  SERVER_PROBE="$BUILD_DIR/tests/audio/server_probe"
  CLOCK_PROBE=$(cd "$BUILD_DIR/tests/audio" && pwd)/libclock_probe.so
  [ -x "$SERVER_PROBE" ] && [ -f "$CLOCK_PROBE" ] || fail "the probes are not built in $BUILD_DIR"
  make_data_layout server_stop
  "$SERVER_PROBE" make-music "$layout/data/glasswind.mp3" "$CHECK_MUSIC_SECONDS" || fail "could not make the test music"

  server_start "$1" || fail "$1 did not start"
  # The audio layer allows for the server's queue by asking which server it is.
  read -r kind asking_ms < <("$SERVER_PROBE" server-kind)
  [ "$kind" = "$1" ] || fail "the audio layer took $SERVER_NAME for '$kind'"
  load="quiet"
  if [ "${2:-}" = busy ]; then
    command -v stress-ng >/dev/null || skip "stress-ng is not installed"
    start_load
    trap 'kill "$LOAD_PID" 2>/dev/null; server_stop; rm -rf "$layout"' EXIT
    load="busy ($LOAD_LOOPS CPU loops and one memory loop beside it)"
  fi
  play_and_judge
}

# Plays the demo through the running server (under the load started for it) and
# judges the music in the recording; ends the script when a check fails.
play_and_judge() {
  server_play_demo "$layout" "$CHECK_PLAY_S"
  [ -n "${LOAD_PID:-}" ] && kill "$LOAD_PID" 2>/dev/null
  [ "$DEMO_CODE" = 0 ] || fail "Escape gave exit code $DEMO_CODE"
  case "$SINK_INPUT_FORMAT" in
    *44100Hz*) ;;
    *) fail "the demo's stream was not 44.1 kHz on the 48 kHz sink: '$SINK_INPUT_FORMAT'" ;;
  esac
  [ -n "${DRIFT_MS:-}" ] || fail "the recording could not be read: $(cat "$XDG_RUNTIME_DIR/parec.log")"
  [ "$ONSET_MS" != -1 ] || music_fault "the recording is silent, or not the music"
  awk -v r="$RECORDING_START" -v w="$WINDOW_MS" 'BEGIN { exit !(r < w) }' ||
    fail "the recording began after the window opened"
  # From the demo clock's start, just before the window is made: a shell polling
  # for the window on a busy machine sees it up to a second late.
  awk -v o="$DEMO_ORIGIN" -v w="$WINDOW_MS" 'BEGIN { exit !(o <= w) }' || fail "the window was seen before the clock started"
  after=$(awk -v o="$ONSET_MS" -v w="$DEMO_ORIGIN" 'BEGIN { printf "%d", o - w }')
  [ "$after" -ge "$CHECK_EARLIEST_MS" ] && [ "$after" -le "$CHECK_LATEST_MS" ] ||
    fail "the first sound came $after ms after the window opened"
  awk -v u="$UNBROKEN_MS" -v l="$CHECK_UNBROKEN_MS" 'BEGIN { exit !(u >= l) }' ||
    music_fault "the music ran unbroken for only $UNBROKEN_MS ms, then: $MUSIC_BREAK (demo time)"
  awk -v c="$MUSIC_CALL_MS" -v l="$CHECK_CALL_LATEST_MS" 'BEGIN { exit !(c > 0 && c <= l) }' ||
    fail "the demo started the music $MUSIC_CALL_MS ms after demo time 5000"
  awk -v e="$MUSIC_ZERO_MS" -v l="$CHECK_MUSIC_ZERO_LIMIT_MS" 'BEGIN { exit !(e >= -l && e <= l) }' ||
    server_fault_or_fail "music time 0 was heard $MUSIC_ZERO_MS ms from demo time 5000 (the play call $MUSIC_CALL_MS ms after it)"
  awk -v d="$DRIFT_MS" -v l="$CHECK_DRIFT_LIMIT_MS" 'BEGIN { exit !(d >= -l && d <= l) }' ||
    music_fault "the music moved $DRIFT_MS ms against the recording's clock by its end"
  echo "$load: $SERVER_NAME (found by the layer in $asking_ms ms), sink at $SERVER_RATE Hz, the demo's stream $SINK_INPUT_FORMAT:" \
    "silent for $after ms after the window opened, then the music, unbroken for $UNBROKEN_MS ms" \
    "(poorest window correlation $WORST_CORRELATION, worst lag $WORST_LAG frames);" \
    "music time 0 heard at demo time 5000 $MUSIC_ZERO_MS ms (the play call $MUSIC_CALL_MS ms after it)," \
    "moved $DRIFT_MS ms by the end${FIRST_FAULT:+; a first run before it: $FIRST_FAULT}"
}

# Starts the busy run's load.
start_load() {
  stress-ng --cpu "$LOAD_LOOPS" --vm 1 --timeout "$((CHECK_PLAY_S + 30))" --quiet &
  LOAD_PID=$!
}
