#!/bin/bash
# The zip's programs need no DLL that Windows does not ship: every DLL they import is
# one of the system's own (no MinGW runtime, libstdc++, winpthread or SDL2.dll); the
# demo is a Windows-subsystem program, glasswind-render a console one.
# ctest-timeout: 60
set -u
. "$(dirname "$0")/../e2e/lib.sh"

# Windows' own DLLs a static MinGW-w64 program with freeglut and SDL's audio may import.
SYSTEM_DLLS="advapi32 gdi32 glu32 imm32 kernel32 msvcrt ole32 oleaut32 opengl32 setupapi shell32 shlwapi user32
uuid version winmm"

# program | subsystem (2: Windows, so a double-click opens no console; 3: console) |
# the calls it makes of Windows itself
PROGRAMS=(
  "glasswind.exe|2|MessageBoxA SetConsoleCtrlHandler AttachConsole glEnable gluPerspective"
  "glasswind-render.exe|3|SetConsoleCtrlHandler CreateProcessA glGetIntegerv gluPerspective"
)

command -v x86_64-w64-mingw32-objdump >/dev/null || skip "MinGW-w64's objdump is not installed"
for row in "${PROGRAMS[@]}"; do
  IFS='|' read -r name subsystem calls <<<"$row"
  exe="$BUILD_DIR/windows/glasswind-win64/$name"
  [ -f "$exe" ] || skip "no Windows build: $exe (make windows)"
  header=$(x86_64-w64-mingw32-objdump -p "$exe") || fail "objdump cannot read $exe"
  echo "$header" | grep -q 'Magic.*020b' || fail "$name is not a 64-bit (PE32+) program"
  echo "$header" | grep -Eq "Subsystem[[:space:]]+0*$subsystem[[:space:]]" ||
    fail "$name is not in subsystem $subsystem: $(echo "$header" | grep '^Subsystem')"
  imports=$(echo "$header" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sed 's/[.]dll$//')
  [ -n "$imports" ] || fail "$name imports no DLL at all"
  for dll in $imports; do
    echo " $SYSTEM_DLLS " | tr '\n' ' ' | grep -q " $dll " || fail "$name imports $dll.dll, which Windows does not ship"
  done
  for call in $calls; do
    echo "$header" | grep -q "[[:space:]]$call\$" || fail "$name does not import $call"
  done
  echo "$name: subsystem $subsystem, imports $(echo $imports)"
done
