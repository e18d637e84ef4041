# What the sanitizer checks share: stop at the first report, leaks checked but for
# Mesa's driver's own (lsan.supp), and a scan of a program's messages.
# Sourced, not run.
SANITIZE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$SANITIZE_DIR/lsan.supp:print_suppressions=0

# Fails when the messages in file $1 hold a sanitizer report; shows its start.
no_report() {
  if grep -q -E 'runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer' "$1"; then
    echo "--- sanitizer report:" >&2
    grep -m 1 -A 30 -E 'runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer' "$1" >&2
    return 1
  fi
}

# Mesa before 24.1 unloads its DRI driver before the leak check runs, which leaves
# the driver's leaks with no library name to suppress them by. Preloading the driver
# (after the sanitizer runtime, which must come first) keeps it loaded, and named, to
# the end. Later Mesas link the driver (libgallium) into their GLX client, where it
# stays; their swrast_dri.so is a stub, harmless to preload.
# Prints the LD_PRELOAD value for a sanitized program.
sanitized_preload() {
  local runtime driver
  runtime=$(g++ -print-file-name=libasan.so)
  driver=/usr/lib/$(g++ -print-multiarch)/dri/swrast_dri.so
  [ -f "$driver" ] || driver=
  echo "$runtime${driver:+ $driver}"
}
