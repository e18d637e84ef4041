# Shared helpers of the Windows tests: the zip unpacked, a Wine prefix in the build
# folder and the program started under Wine on the test's own Xvfb. Every Wine step
# runs under timeout: a Wine start can hang. Sourced after tests/e2e/lib.sh.

WINDOWS_ZIP="$BUILD_DIR/windows/glasswind-win64.zip"
# The box and the window are both titled with the demo's title; xdotool takes a pattern.
TITLE_PATTERN='^NQL-004 "Glasswind"$'
WINE_START_LIMIT=120 # making a fresh prefix takes about 10 s, a later start under 1 s
WINE_STEP_LIMIT=30

# Skips without the Windows build or Wine; makes the prefix once and sets it up:
# no window manager is waited for (Managed=N), no Mono or Gecko is offered. With
# "fresh", a new prefix of the test's own instead, as a first run on a machine makes
# it, removed at the end; PREFIX_MS says how long making it took.
wine_prepare() {
  [ -f "$WINDOWS_ZIP" ] || skip "no Windows build: $WINDOWS_ZIP (make windows)"
  command -v wine >/dev/null 2>&1 || skip "Wine is not installed"
  export WINEPREFIX="$BUILD_DIR/windows-wine" WINEARCH=win64 WINEDEBUG=-all
  if [ "${1:-}" = fresh ]; then
    FRESH_PREFIX=$(mktemp -d)
    WINEPREFIX="$FRESH_PREFIX/prefix"
  fi
  export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    made=$(date +%s%N)
    timeout "$WINE_START_LIMIT" wineboot -i >/dev/null 2>&1 || skip "Wine cannot make a prefix here"
    PREFIX_MS=$(( ($(date +%s%N) - made) / 1000000 ))
  fi
  timeout "$WINE_STEP_LIMIT" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 ||
    fail "could not set Wine's Managed=N"
  trap 'wine_end' EXIT
}

wine_end() {
  [ -n "${DEMO_PID:-}" ] && kill "$DEMO_PID" 2>/dev/null
  [ -n "${WINDOWS_PID:-}" ] && kill "$WINDOWS_PID" 2>/dev/null
  timeout "$WINE_STEP_LIMIT" wineserver -k 2>/dev/null
  [ -n "${UNPACKED:-}" ] && rm -rf "$UNPACKED"
  [ -n "${FRESH_PREFIX:-}" ] && rm -rf "$FRESH_PREFIX"
  rm -f "${DEMO_OUT:-}" "${DEMO_ERR:-}"
  return 0
}

# Unpacks the zip into a fresh folder: UNPACKED/glasswind-win64 holds the program.
unpack_zip() {
  UNPACKED=$(mktemp -d)
  (cd "$UNPACKED" && cmake -E tar xf "$WINDOWS_ZIP") || fail "could not unpack $WINDOWS_ZIP"
  PROGRAM_DIR="$UNPACKED/glasswind-win64"
}

# Starts glasswind.exe from folder $1 (its working directory) under Wine, limited to
# $2 seconds. Sets DEMO_PID, DEMO_OUT and DEMO_ERR as start_demo does.
start_windows_demo() {
  DEMO_OUT=$(mktemp)
  DEMO_ERR=$(mktemp)
  (cd "$1" && exec timeout "$2" wine ./glasswind.exe) >"$DEMO_OUT" 2>"$DEMO_ERR" &
  DEMO_PID=$!
}

# Starts program $3 (with the arguments after it) from folder $1 under Wine in a
# terminal of its own (script's pseudo-terminal), limited to $2 seconds: started from a
# terminal, a program gets Wine's console, so SIGINT reaches it as Ctrl-C does. Sets
# DEMO_PID, DEMO_OUT and DEMO_ERR as start_windows_demo does, and WINDOWS_PID once
# the program runs (up to 30 s).
start_in_terminal() {
  DEMO_OUT=$(mktemp)
  DEMO_ERR=$(mktemp)
  folder=$1 limit=$2 program=$3
  shift 3
  (cd "$folder" && exec timeout "$limit" script -qfec "$(printf '%q ' wine "$program" "$@")" /dev/null) \
    >"$DEMO_OUT" 2>"$DEMO_ERR" &
  DEMO_PID=$!
  WINDOWS_PID=
  for _ in $(seq 300); do
    WINDOWS_PID=$(pgrep -f -- "^$program( |\$)" | head -n 1)
    [ -n "$WINDOWS_PID" ] && return 0
    sleep 0.1
  done
  fail "$program did not start under Wine"
}

# Focuses the window of the demo's title (xdotool search --name ... windowfocus) and
# presses key $1 there as a person would, through the X server's keyboard. A key sent
# to the window itself (xdotool's key --window) reaches Wine as a press whose release
# finds the box gone, and Wine then holds Escape down into the demo's window.
press_in_window() {
  timeout "$WINE_STEP_LIMIT" xdotool search --name "$TITLE_PATTERN" windowfocus --sync >/dev/null 2>&1 &&
    timeout "$WINE_STEP_LIMIT" xdotool key "$1" || fail "xdotool could not press $1 in the demo's window"
}

# Waits up to $1 seconds for the question box (the only window of the demo's title
# that is not the demo's window) and presses key $2 in it.
answer_box() {
  deadline=$(( $(date +%s) + $1 ))
  until [ -n "$(windows_named "$DEMO_TITLE")" ]; do
    kill -0 "$DEMO_PID" 2>/dev/null || fail "the demo ended before its question box appeared"
    [ "$(date +%s)" -le "$deadline" ] || { show_desktop >&2; fail "the question box did not appear"; }
    sleep 0.1
  done
  sleep 0.5 # let the box take its focus and draw its buttons
  press_in_window "$2"
}

# Wine draws the frame of a window itself (Managed=N): a border of the same width on
# the left, right and bottom, and the title bar on top. Waits up to $1 seconds for the
# demo's window with a client area of $2 x $3 and prints "x y client_x client_y".
wait_for_demo_window() {
  deadline=$(( $(date +%s) + $1 ))
  while [ "$(date +%s)" -le "$deadline" ]; do
    found=$(windows_named "$DEMO_TITLE" | awk -v cw="$2" -v ch="$3" '{
      border = ($2 - cw) / 2
      if (border >= 0 && border < 16 && $3 - ch - border >= 0 && $3 - ch - border < 48)
        print $4, $5, $4 + border, $5 + $3 - ch - border
    }' | head -n 1)
    if [ -n "$found" ]; then echo "$found"; return 0; fi
    kill -0 "$DEMO_PID" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
