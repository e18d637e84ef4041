#!/bin/bash
# glasswind-render from the command line: identical stills, frame counts, the bench
# table, and one-line refusals that leave nothing behind.
set -u
bin=${RENDER_BIN:?}
work=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-render-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The tool reads data/ from where it runs, like the demo.
mkdir "$work/run"
if [ -d "$SOURCE_DIR/data" ]; then ln -s "$SOURCE_DIR/data" "$work/run/data"; else mkdir "$work/run/data"; fi
cd "$work/run"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A refusal (run with the assignments in RUN_ENV, if any): the exit code, exactly one line on stderr, and no file left in run/.
refused() {
  local want=$1; shift
  local before; before=$(ls -A)
  # shellcheck disable=SC2086
  env ${RUN_ENV:-} "$bin" "$@" >"$work/out" 2>"$work/err"
  local code=$?
  [ "$code" -eq "$want" ] || fail "'$*' exited $code, expected $want"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "'$*' did not say one line: $(cat "$work/err")"
  grep -q '^glasswind-render: ' "$work/err" || fail "'$*' error lacks the program name"
  [ "$(ls -A)" = "$before" ] || fail "'$*' left files: $(ls -A)"
}

# The same moment twice gives the same bytes, at the size asked for.
"$bin" --at 61880 -o a.png 2>/dev/null || fail "--at a.png"
"$bin" --at 61880 -o b.png 2>/dev/null || fail "--at b.png"
cmp -s a.png b.png || fail "two renders of 61880 ms differ"
"$bin" --at 1000 --size 320x200 -o small.png 2>/dev/null || fail "--at with --size"
# Width and height are the big-endian words at bytes 16 and 20 of a PNG.
[ "$(od -An -tx1 -j16 -N8 small.png | tr -d ' \n')" = "00000140000000c8" ] || fail "small.png is not 320x200"

# A range is a real run's frames: as many as the rate gives, each equal to its --at.
"$bin" --from 4900 --to 5400 --fps 30 -o frames30 2>"$work/progress" || fail "--from/--to at 30 fps"
count=$(ls frames30 | wc -l)
[ "$count" -eq 15 ] || fail "500 ms at 30 fps gave $count frames, not 15"
[ -f frames30/frame_000000.png ] && [ -f frames30/frame_000014.png ] || fail "frames are not numbered from 0"
grep -q 'left' "$work/progress" || fail "no progress with time left on stderr"
"$bin" --from 1000 --to 1050 -o frames60 2>/dev/null || fail "--from/--to at 60 fps"
[ "$(ls frames60 | wc -l)" -eq 3 ] || fail "50 ms at 60 fps is not 3 frames"
"$bin" --at 1016 -o at1016.png 2>/dev/null || fail "--at 1016"
cmp -s frames60/frame_000001.png at1016.png || fail "frame 1 of 1000 ms on differs from --at 1016"

# A list of moments, out of order, in one process: each picture equals its --at.
printf '1016  # early\n\n61880\n# a comment\n5000\n' >list.txt
"$bin" --moments list.txt -o listed 2>/dev/null || fail "--moments"
[ "$(ls listed | tr '\n' ' ')" = "001016.png 005000.png 061880.png " ] || fail "--moments wrote $(ls listed)"
cmp -s listed/001016.png at1016.png || fail "--moments 1016 differs from --at 1016"
cmp -s listed/061880.png a.png || fail "--moments 61880 differs from --at 61880"
printf '12\n99x\n' >bad.txt
refused 1 --moments bad.txt -o listed2
rm -f bad.txt

# The bench: the size it drew at, a row per scene and one for the worst.
"$bin" --bench --frames 2 >"$work/bench" 2>/dev/null || fail "--bench"
grep -qx 'bench at 800x450' "$work/bench" || fail "bench does not name the size it drew at: $(head -n 1 "$work/bench")"
rows=$(grep -cE '^[0-9] +2 ' "$work/bench")
[ "$rows" -eq 10 ] || fail "bench printed $rows scene rows: $(cat "$work/bench")"
grep -qE '^worst: [0-9] +2 ' "$work/bench" || fail "bench has no worst-scene row"

rm -rf a.png b.png small.png frames30 frames60 at1016.png list.txt listed

# Bad arguments, unwritable outputs, no ffmpeg, no data/.
refused 2 --at
refused 2 --at 200000 -o x.png
refused 2 --at 10 --bench
refused 2 --from 50 --to 40 -o frames
refused 2 --video odd.mp4 --size 801x450
refused 2 --wat
refused 1 --at 10 -o missing/x.png
touch plainfile
refused 1 --at 10 -o plainfile/x.png
refused 1 --from 0 --to 100 -o plainfile
rm plainfile
RUN_ENV=PATH=/nonexistent refused 1 --video clip.mp4 --from 0 --to 100
grep -q 'package ffmpeg' "$work/err" ||
  fail "the missing-ffmpeg error does not name the package"
# A failure after the output was begun still leaves nothing.
RUN_ENV=DISPLAY= refused 1 --at 10 -o x.png
grep -q 'display' "$work/err" || fail "no display gave: $(cat "$work/err")"
mkdir "$work/empty"
cd "$work/empty"
refused 1 --at 10 -o x.png
grep -q 'data/' "$work/err" || fail "the missing-data error does not name data/"

[ "$failures" -eq 0 ] || exit 1
echo "render_cli: all checks passed"
