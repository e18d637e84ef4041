#!/bin/bash
# What the zip's glasswind-render.exe leaves out on Windows, and its video pipe, under
# Wine: without ffmpeg.exe on the PATH --video refuses in one line; --jobs is no
# option there and --audio writes no FLAC, as --help says; --audio writes the same
# WAV bytes as the Linux build; --video feeds every frame to ffmpeg.exe (a stand-in
# that counts them) with the title intact through Windows' command-line quoting, and
# a failing ffmpeg.exe's first message is the tool's one-line error, with no file left.
# ctest-timeout: 120
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

RUN_LIMIT=60
# --video of 1 s at 60 fps and 320x180: 60 frames of 3 bytes a pixel.
VIDEO_ARGS="--from 60000 --to 61000 --size 320x180"
VIDEO_BYTES=$((60 * 320 * 180 * 3))
STAND_IN_FAILURE="Unknown encoder 'libx264'"

# case | arguments | exit code | the start of the one line on standard error
REFUSALS=(
  "no ffmpeg.exe|--video clip.mp4 --from 0 --to 100|1|glasswind-render: ffmpeg.exe was not found on the PATH"
  "no --jobs|--from 0 --to 100 --jobs 2 -o frames|2|glasswind-render: unknown option '--jobs'"
  "no FLAC|--audio sound.flac --from 0 --to 1000|1|glasswind-render: cannot write 'sound.flac'"
)

render="$BUILD_DIR/glasswind-render"
stand_in="$BUILD_DIR/windows-build/tests/windows/probe/ffmpeg_stand_in.exe"
[ -x "$render" ] || fail "the render tool is not built: $render"
[ -f "$stand_in" ] || skip "no Windows build of the ffmpeg stand-in: $stand_in (make windows)"
wine_prepare
unpack_zip
cd "$PROGRAM_DIR" || fail "no folder $PROGRAM_DIR"

# Runs the tool under Wine with the arguments given; sets code and err: standard
# error's lines but the progress, the multisample notice and freeglut's complaint that
# Wine's DISPLAY (which Windows does not set) names no display device.
run_exe() {
  timeout "$RUN_LIMIT" wine ./glasswind-render.exe "$@" >"$UNPACKED/out" 2>"$UNPACKED/err"
  code=$?
  err=$(tr -d '\r' <"$UNPACKED/err" |
    grep -Ev "^(frame |Multisample|freeglut .*CreateDC failed|This is quite likely caused by a bad '-display')")
}

for row in "${REFUSALS[@]}"; do
  IFS='|' read -r case_name args want_code want_line <<<"$row"
  # shellcheck disable=SC2086
  run_exe $args
  [ "$code" = "$want_code" ] || fail "$case_name: exit code $code, not $want_code: $err"
  [ "$(echo "$err" | wc -l)" = 1 ] && [ "${err#"$want_line"}" != "$err" ] ||
    fail "$case_name: standard error is not the one line '$want_line...': $err"
  echo "$case_name: exit code $code, \"$err\""
done
run_exe --help
grep -q '^On Windows: no --jobs' <(tr -d '\r' <"$UNPACKED/out") || fail "--help does not say what Windows leaves out"

# The sound track: the same bytes as the Linux build's.
run_exe --audio sound.wav --from 0 --to 6000
[ "$code" = 0 ] || fail "--audio failed: $err"
(cd "$SOURCE_DIR" && "$render" --audio "$UNPACKED/linux.wav" --from 0 --to 6000) || fail "the Linux --audio failed"
cmp -s sound.wav "$UNPACKED/linux.wav" || fail "--audio sound.wav differs from the Linux build's"
echo "--audio: the same $(stat -c %s sound.wav) bytes as the Linux build's"

# The video pipe, through the stand-in on the PATH.
mkdir "$UNPACKED/ffmpeg" && cp "$stand_in" "$UNPACKED/ffmpeg/ffmpeg.exe"
export WINEPATH="$(winepath -w "$UNPACKED/ffmpeg" 2>/dev/null)" STAND_IN_REPORT=report.txt
# shellcheck disable=SC2086
run_exe --video clip.mp4 $VIDEO_ARGS
[ "$code" = 0 ] || fail "--video through the stand-in failed: $err"
report=$(tr -d '\r' <report.txt)
[ "$report" = "arguments 47, input $VIDEO_BYTES bytes, title=NQL-004 \"Glasswind\"" ] ||
  fail "the stand-in saw: $report"
[ "$(tr -d '\r' <clip.mp4)" = "stand-in video" ] || fail "clip.mp4 is not what the stand-in wrote"
# shellcheck disable=SC2086
STAND_IN_FAIL=$STAND_IN_FAILURE run_exe --video failed.mp4 $VIDEO_ARGS
[ "$code" = 1 ] && [ "$err" = "glasswind-render: ffmpeg failed: $STAND_IN_FAILURE" ] ||
  fail "a failing ffmpeg.exe gave exit code $code and: $err"
[ -z "$(ls -A | grep 'failed')" ] || fail "a failed video left $(ls -A | grep failed)"
echo "--video: $VIDEO_BYTES bytes of frames and the title through ffmpeg.exe's pipe; its failure in one line"
