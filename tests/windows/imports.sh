#!/bin/bash
# The Windows program needs no DLL that Windows does not ship: every DLL it imports
# is one of the system's own (no MinGW runtime, libstdc++, winpthread or SDL2.dll).
# ctest-timeout: 60
set -u
. "$(dirname "$0")/../e2e/lib.sh"

# Windows' own DLLs a static MinGW-w64 program with freeglut and SDL's audio may import.
SYSTEM_DLLS="advapi32 gdi32 glu32 imm32 kernel32 msvcrt ole32 oleaut32 opengl32 setupapi shell32 shlwapi user32
uuid version winmm"

exe="$BUILD_DIR/windows/glasswind-win64/glasswind.exe"
[ -f "$exe" ] || skip "no Windows build: $exe (make windows)"
command -v x86_64-w64-mingw32-objdump >/dev/null || skip "MinGW-w64's objdump is not installed"

header=$(x86_64-w64-mingw32-objdump -p "$exe") || fail "objdump cannot read $exe"
echo "$header" | grep -q 'Magic.*020b' || fail "$exe is not a 64-bit (PE32+) program"
echo "$header" | grep -Eq 'Subsystem[[:space:]]+0*2[[:space:]]' ||
  fail "$exe is not in the Windows subsystem (a double-click would open a console)"
imports=$(echo "$header" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sed 's/[.]dll$//')
[ -n "$imports" ] || fail "$exe imports no DLL at all"
for dll in $imports; do
  echo " $SYSTEM_DLLS " | tr '\n' ' ' | grep -q " $dll " || fail "$exe imports $dll.dll, which Windows does not ship"
done
# The calls the demo itself makes of Windows.
for call in MessageBoxA SetConsoleCtrlHandler glEnable gluPerspective; do
  echo "$header" | grep -q "[[:space:]]$call\$" || fail "$exe does not import $call"
done
echo "imports: $(echo $imports)"
