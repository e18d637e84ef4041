#!/bin/bash
# The hostile music files of the decoder's table, the fuzzers' music and PNG files,
# and every cut and every flipped byte of a small PNG, decoded by the Windows build
# under Wine (the decoders' probe, the demo's own decoding code) and by the Linux
# build: each gives the same result to the sample and pixel, in one Wine run with
# no hang or crash. Only OGG and FLAC differ, by design: the Windows build leaves
# them out, so they are refused there as a format it does not read.
# ctest-timeout: 120
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

PROBE_LIMIT=60
# The files that decode on Linux only, and what Windows says of them.
NOT_ON_WINDOWS="8_kHz_flac.mp3 8_kHz_ogg.mp3 pcm16.flac vorbis.ogg"
FORMAT_REFUSED="music refused, code 41"
CUT_PNG=rgb.png

probe="$BUILD_DIR/tests/windows/probe/decode_probe"
probe_exe="$BUILD_DIR/windows-build/tests/windows/probe/decode_probe.exe"
audio_probe="$BUILD_DIR/tests/audio/audio_probe"
for program in "$probe" "$audio_probe"; do
  [ -x "$program" ] || fail "not built: $program"
done
[ -f "$probe_exe" ] || skip "no Windows build of the probe: $probe_exe (make windows)"
wine_prepare

files=$(mktemp -d)
UNPACKED=$files # removed at the end
"$audio_probe" make-hostile "$files" || fail "could not write the hostile music files"
cp "$SOURCE_DIR"/tests/fuzz/png_seeds/* "$SOURCE_DIR"/tests/fuzz/audio_seeds/* \
  "$SOURCE_DIR"/tests/fuzz/audio_regressions/* "$files/"
png="$files/$CUT_PNG"
size=$(stat -c %s "$png")
for ((at = 0; at < size; at++)); do
  head -c "$at" "$png" >"$files/cut-$at.png"
  cp "$png" "$files/flip-$at.png"
  byte=$(od -An -tu1 -j "$at" -N1 "$png" | tr -d ' ')
  printf "\\$(printf %03o $(( byte ^ 0x40 )))" | dd of="$files/flip-$at.png" bs=1 seek="$at" conv=notrunc 2>/dev/null
done

cd "$files" || fail "no folder $files"
names=$(ls)
# shellcheck disable=SC2086
timeout "$PROBE_LIMIT" "$probe" $names >linux.txt 2>/dev/null || fail "the Linux probe failed or hung"
started=$(date +%s%N)
# shellcheck disable=SC2086
timeout "$PROBE_LIMIT" wine "$probe_exe" $names >windows.raw 2>/dev/null ||
  fail "the Windows probe failed or hung under Wine (exit $?) after $(tr -d '\r' <windows.raw | tail -n 1)"
took_ms=$(( ($(date +%s%N) - started) / 1000000 ))
tr -d '\r' <windows.raw >windows.txt
[ "$(wc -l <windows.txt)" = "$(echo "$names" | wc -l)" ] || fail "the Windows probe did not answer for every file"

differ=0
while IFS= read -r linux_line <&3 && IFS= read -r windows_line <&4; do
  name=${linux_line%%: *}
  [ "$linux_line" = "$windows_line" ] && continue
  if echo " $NOT_ON_WINDOWS " | grep -q " $name " && [ "$windows_line" = "$name: $FORMAT_REFUSED" ]; then
    continue
  fi
  echo "differs: Linux '$linux_line', Windows '$windows_line'" >&2
  differ=$((differ + 1))
done 3<linux.txt 4<windows.txt
[ "$differ" = 0 ] || fail "$differ of $(wc -l <linux.txt) files decode differently on Windows"
echo "$(wc -l <linux.txt) files ($(grep -c ': music' linux.txt) music, $(grep -c ': png' linux.txt) PNG): the same" \
  "results under Wine ($(grep -c refused windows.txt) refused) but for $(echo $NOT_ON_WINDOWS | wc -w) OGG/FLAC" \
  "files, in $took_ms ms"
