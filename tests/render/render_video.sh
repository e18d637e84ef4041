#!/bin/bash
# glasswind-render --video: two seconds around the music start give an H.264 file of
# the right length and frame count, with a sound track.
set -u
bin=${RENDER_BIN:?}
if ! command -v ffmpeg >/dev/null 2>&1 || ! command -v ffprobe >/dev/null 2>&1; then
  echo "SKIP: ffmpeg/ffprobe not on the PATH (Debian package ffmpeg); the video test needs them"
  exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/glasswind-render-video.XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ -d "$SOURCE_DIR/data" ]; then ln -s "$SOURCE_DIR/data" "$work/data"; else mkdir "$work/data"; fi
cd "$work"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$bin" --video clip.mp4 --from 4000 --to 6000 2>err.txt || { cat err.txt; fail "--video failed"; }
[ "$(ls -A | grep -v -e '^data$' -e '^err.txt$' -e '^clip.mp4$')" = "" ] || fail "left files: $(ls -A)"

probe() { ffprobe -v error "$@" clip.mp4; }
video=$(probe -select_streams v:0 -show_entries stream=codec_name,width,height -of csv=p=0)
[ "$video" = "h264,800,450" ] || fail "video stream is '$video'"
frames=$(probe -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0)
[ "$frames" = "120" ] || fail "2 s at 60 fps gave $frames frames"
duration=$(probe -show_entries format=duration -of csv=p=0)
awk -v d="$duration" 'BEGIN { exit !(d >= 1.95 && d <= 2.05) }' || fail "duration is $duration, not 2 s"
audio=$(probe -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels -of csv=p=0)
[ "$audio" = "aac,44100,2" ] || fail "sound track is '$audio'"

[ "$failures" -eq 0 ] || exit 1
echo "render_video: all checks passed"
