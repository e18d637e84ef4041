#!/bin/bash
# Runs every fuzzer of the build for a long time (default an hour each), one after the
# other, then prints each one's executions, time and finds.
#   tools/fuzz-long.sh [seconds-each] [build-dir]
# Finds go to the build's corpus folders; crashes to <build>/fuzz-long/<name>/.
set -u
DEFAULT_SECONDS=3600
seconds=${1:-$DEFAULT_SECONDS}
build=${2:-build}
list="$build/tests/fuzz/fuzzers.sh"
[ -f "$list" ] || { echo "no fuzzer list at $list: build with clang and -DBUILD_TESTING=ON first" >&2; exit 2; }

summary=()
failed=0
# Called by each line of the list: fuzzer name binary "options" finds seeds "environment".
fuzzer() {
  local name=$1 binary=$2 options=$3 finds=$4 seeds=$5 environment=$6
  local out="$build/fuzz-long/$name"
  mkdir -p "$out" "$finds"
  rm -f "$out"/crash-* "$out"/leak-* "$out"/timeout-* "$out"/oom-*
  echo "== $name: $seconds s, log in $out/log"
  local started code elapsed execs
  started=$(date +%s)
  # shellcheck disable=SC2086 # the options and environment are lists of words
  env $environment nice -n 10 "$binary" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$out/" $options "$finds" "$seeds" >"$out/log" 2>&1
  code=$?
  elapsed=$(( $(date +%s) - started ))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log")
  local finds_made
  finds_made=$(ls "$out" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' || true)
  if [ "$code" -ne 0 ] || [ -n "$finds_made" ]; then
    failed=1
    summary+=("$name: FOUND after ${execs:-?} executions in $elapsed s (exit $code): $(echo $finds_made)")
    grep -m 1 -A 12 -E 'ERROR|runtime error|deadly signal|timeout' "$out/log" >&2
  else
    summary+=("$name: ${execs:-?} executions in $elapsed s, $(( ${execs:-0} / (elapsed > 0 ? elapsed : 1) )) per second, no finding")
  fi
}
# shellcheck disable=SC1090
. "$list"

echo
printf '%s\n' "${summary[@]}"
exit "$failed"
