#!/bin/sh
# Configures and builds the demo and glasswind-render with AddressSanitizer and
# UndefinedBehaviorSanitizer, in a build folder of their own (default build/sanitize).
#   tests/sanitize/build.sh [build-dir [warnings-as-errors: ON|OFF]]
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-$source_dir/build/sanitize}
werror=${2:-OFF}
jobs=${JOBS:-2}
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DWARNINGS_AS_ERRORS="$werror" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
nice -n 10 cmake --build "$build_dir" -j "$jobs" --target glasswind glasswind-render
