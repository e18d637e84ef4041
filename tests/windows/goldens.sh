#!/bin/bash
# Every golden moment drawn by the zip's glasswind-render.exe under Wine and compared
# with its reference by the golden metric, as the golden test does with the Linux
# build: the same llvmpipe draws both, so the same tolerance holds.
# ctest-timeout: 180
set -u
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/wine_lib.sh"

RENDER_LIMIT=120

compare="$BUILD_DIR/tests/golden/golden_compare"
[ -x "$compare" ] || fail "the golden comparison is not built: $compare"
wine_prepare
unpack_zip
started=$(date +%s%N)
sh "$SOURCE_DIR/tests/golden/check_goldens.sh" "$compare" "$BUILD_DIR/windows-golden" \
  timeout "$RENDER_LIMIT" wine "$PROGRAM_DIR/glasswind-render.exe" || fail "the Windows render differs from the goldens"
echo "drawn and compared under Wine in $(( ($(date +%s%N) - started) / 1000000 )) ms"
