#!/bin/bash
# Whatever lies where the music belongs, the demo either plays it (Escape then
# ends it at once) or shows the "Can't play file" box after the question:
# no demo window opens, and dismissing the box ends the process with exit code 0.
# ctest-labels: e2e
# ctest-timeout: 150
set -u
. "$(dirname "$0")/lib.sh"

SPARSE_SIZE=3G

# A copy of the run-time layout with everything but the music.
make_data_layout
music="$layout/data/glasswind.mp3"

# Little-endian bytes of $1, $2 bytes long.
le() {
  for ((i = 0; i < $2; i++)); do printf "\\$(printf %03o $(( ($1 >> (8 * i)) & 255 )))"; done
}
# An 8-bit mono WAV at rate $1 holding $2 frames of a square wave.
wav8() {
  le_rate=$1 frames=$2
  { printf RIFF; le $((36 + frames)) 4; printf 'WAVEfmt '; le 16 4; le 1 2; le 1 2
    le "$le_rate" 4; le "$le_rate" 4; le 1 2; le 8 2; printf data; le "$frames" 4
    head -c "$frames" /dev/zero | tr '\0' '\140'; }
}

make_music() {
  rm -rf "$music"
  case "$1" in
    missing) ;;
    empty) : >"$music" ;;
    random) head -c 4096 /dev/urandom >"$music" ;;
    directory) mkdir "$music" ;;
    fifo) mkfifo "$music" ;;
    sparse) truncate -s "$SPARSE_SIZE" "$music" ;;
    one-frame-at-96k) wav8 96000 1 >"$music" ;;   # nothing left at 44.1 kHz
    one-frame-at-8k) wav8 8000 1 >"$music" ;;     # 6 frames at 44.1 kHz, looped
    second-at-8k) wav8 8000 8000 >"$music" ;;
  esac
}

# Refused: the box, no window, exit 0 once the box is dismissed.
expect_refused() {
  expect_refused_start "$1" "$layout" "$layout"
  echo "$1: refused with the box, no window, exit 0"
}

# Played: the window opens, the music runs past its start, Escape ends it at once.
expect_played() {
  start_demo "$layout"
  answer_question_no
  window=$(wait_for_window "$DEMO_TITLE" 15 800x450) || fail "$1: the demo window did not open"
  read -r id width height x y <<<"$window"
  wait_viewable "$id" 15 || fail "$1: the window was never shown"
  sleep 6 # past the music's start at 5 s
  press_key_at Escape $((x + width / 2)) $((y + height / 2))
  wait_demo_exit "$PROMPT_EXIT_LIMIT" || fail "$1: still running $PROMPT_EXIT_LIMIT s after Escape"
  [ "$DEMO_CODE" = 0 ] || fail "$1: Escape gave exit code $DEMO_CODE"
  echo "$1: played; Escape ended it with exit 0 after $DEMO_EXIT_MS ms"
}

for kind in missing empty random directory fifo sparse one-frame-at-96k; do
  make_music "$kind"
  expect_refused "$kind"
done
for kind in one-frame-at-8k second-at-8k; do
  make_music "$kind"
  expect_played "$kind"
done
