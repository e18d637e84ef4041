#!/bin/bash
# The sanitizer build of the demo plays 12 s with its music through SDL's disk
# driver, then Escape ends it with exit code 0 and no sanitizer report.
set -u
. "$(dirname "$0")/sanitize_env.sh"
. "$(dirname "$0")/../e2e/lib.sh"
PLAY_SECONDS=12
WINDOW_WAIT_S=30 # the sanitizer build starts slower than the plain one
EXIT_WAIT_S=10
RATE=44100
BYTES_PER_FRAME=4
# The device records from the window on; the disk driver runs late on a busy machine.
LEAST_RECORDED_S=6

recording=$(mktemp)
# start_demo runs "glasswind" from GLASSWIND_BIN: here a wrapper that starts the
# sanitizer build with the preload the leak check needs, in the same process.
wrapper=$(mktemp -d)
trap 'rm -rf "$recording" "$wrapper" "${DEMO_OUT:-}" "${DEMO_ERR:-}"' EXIT
printf '#!/bin/sh\nLD_PRELOAD="%s" exec "%s" "$@"\n' "$(sanitized_preload)" \
  "$(cd "$GLASSWIND_BIN" && pwd)/glasswind" >"$wrapper/glasswind"
chmod +x "$wrapper/glasswind"
GLASSWIND_BIN=$wrapper
# The demo's PATH holds no dialog tool (SDL's box is answered), only the
# symbolizers a report names its lines with.
for symbolizer in llvm-symbolizer addr2line; do
  found=$(command -v "$symbolizer") && ln -s "$found" "$wrapper/$symbolizer"
done
DEMO_PATH=$wrapper
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE=$recording
start_demo
answer_question_no
window=$(wait_for_window "$DEMO_TITLE" "$WINDOW_WAIT_S" 800x450) || {
  show_desktop >&2; no_report "$DEMO_ERR"; fail "the demo window did not open"; }
read -r id _ <<<"$window"
wait_viewable "$id" "$WINDOW_WAIT_S" || fail "the window was never shown"

sleep "$PLAY_SECONDS"
kill -0 "$DEMO_PID" 2>/dev/null || { no_report "$DEMO_ERR"; fail "the demo ended before Escape"; }
press_key_at Escape 640 360
wait_demo_exit "$EXIT_WAIT_S"
code=$DEMO_CODE
no_report "$DEMO_ERR" || fail "a sanitizer report while the demo ran"
[ "$code" = 0 ] || { head -c 2000 "$DEMO_ERR" >&2; fail "Escape gave exit code $code"; }
recorded_s=$(( $(stat -c %s "$recording") / (RATE * BYTES_PER_FRAME) ))
[ "$recorded_s" -ge "$LEAST_RECORDED_S" ] || fail "only $recorded_s s of sound were played"
echo "played $PLAY_SECONDS s ($recorded_s s recorded), Escape -> exit 0, no sanitizer report"
