#!/bin/sh
# Cross-builds the libraries the Windows build links, static, for 64-bit Windows with
# Debian's MinGW-w64, from Debian's own source packages:
#   scripts/build-windows-deps.sh DIR      sources in DIR/src, the libraries in DIR/prefix
# Only what the demo calls is built: SDL's audio (no video, joystick ...), libsndfile
# with MP3 (mpg123, lame) but without FLAC, Ogg and Opus, libopenmpt without its
# player; no programs, tests or documentation. A library is built again only when this
# script or the toolchain file has changed. JOBS (2 unless given) compile at once.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "${1:?usage: $0 DIR}"
dir=$(cd "$1" && pwd)
jobs=${JOBS:-2}
toolchain=$root/src/platform/windows/mingw-w64-x86_64.cmake
triple=x86_64-w64-mingw32
prefix=$dir/prefix
stamps=$prefix/stamps
key=$(cat "$0" "$toolchain" | sha256sum | cut -c1-16)

"$root/scripts/fetch-debian-sources.sh" "$dir/src" freeglut sdl2=libsdl2 zlib libpng=libpng1.6 mpg123 lame \
  sndfile=libsndfile openmpt=libopenmpt

export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=""
mkdir -p "$stamps" "$prefix/lib/pkgconfig" "$prefix/include" "$dir/build"

# Sets cpu to the CPU seconds the finished children of this shell have used (a lane's
# subshell starts from 0), which a busy machine does not inflate as it does the clock.
read_cpu() {
  times >"$dir/build/$1.times"
  cpu=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%d", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' \
    "$dir/build/$1.times")
}

# NAME BUILD-FUNCTION: builds NAME in a fresh folder unless its stamp is current.
build() {
  [ "$(cat "$stamps/$1" 2>/dev/null)" = "$key" ] && return 0
  started=$(date +%s)
  read_cpu "$1"
  cpu_before=$cpu
  rm -rf "$dir/build/$1"
  mkdir -p "$dir/build/$1"
  log=$dir/build/$1.log
  if ! (cd "$dir/build/$1" && "$2" "$dir/src/$1") >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "Building $1 for Windows failed: $log" >&2
    exit 1
  fi
  echo "$key" >"$stamps/$1"
  read_cpu "$1"
  echo "Built $1 for Windows in $(($(date +%s) - started)) s ($((cpu - cpu_before)) s of CPU)"
}

with_cmake() { # SOURCE CMAKE-OPTION...
  source=$1
  shift
  cmake -S "$source" -B . -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DWINDOWS_DEPS_PREFIX="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF "$@"
  cmake --build . -j "$jobs"
  cmake --install .
}

with_configure() { # SOURCE CONFIGURE-OPTION...
  source=$1
  shift
  "$source/configure" --host=$triple --prefix="$prefix" --disable-shared --enable-static \
    CC=$triple-gcc-posix CXX=$triple-g++-posix CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib" "$@"
  make -j "$jobs"
  make install
}

# Compiles each C file given into an object of its name here, JOBS at once.
compile_c() {
  printf '%s\n' "$@" |
    xargs -P "$jobs" -I {} sh -c "$triple-gcc-posix -O2 -I. -I$prefix/include -c {} -o \$(basename {} .c).o"
}

# NAME VERSION LIBRARY: a pkg-config file for a library installed by hand.
write_pc() {
  printf 'prefix=%s\nName: %s\nDescription: %s\nVersion: %s\nLibs: -L${prefix}/lib -l%s\nCflags: -I${prefix}/include\n' \
    "$prefix" "$1" "$1" "$2" "$3" >"$prefix/lib/pkgconfig/$1.pc"
}

# zlib's Debian tarball lacks the Windows resource file its CMake wants for the DLL,
# and libpng's configure takes longer than its compile: the static libraries alone,
# compiled straight (libpng with the configuration it ships, as the browser build does).
zlib() {
  compile_c "$1"/*.c
  $triple-ar rcs "$prefix/lib/libz.a" ./*.o
  cp "$1/zlib.h" "$1/zconf.h" "$prefix/include/"
  write_pc zlib "$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$1/zlib.h")" z
}

libpng() {
  cp "$1/scripts/pnglibconf.h.prebuilt" pnglibconf.h
  compile_c $(for name in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio \
    pngwrite pngwtran pngwutil; do echo "$1/$name.c"; done)
  $triple-ar rcs "$prefix/lib/libpng16.a" ./*.o
  cp "$1/png.h" "$1/pngconf.h" pnglibconf.h "$prefix/include/"
  write_pc libpng16 "$(sed -n 's/^#define PNG_LIBPNG_VER_STRING "\(.*\)"/\1/p' "$1/png.h")" png16
  echo "Requires: zlib" >>"$prefix/lib/pkgconfig/libpng16.pc"
}

# GL/glut.h and libglut.a as well as freeglut's own names; users define FREEGLUT_STATIC.
freeglut() {
  with_cmake "$1" -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON -DFREEGLUT_REPLACE_GLUT=ON \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF
}

# Audio only (WASAPI, DirectSound, disk, dummy), with the events and threads it needs.
# Linked into the program, SDL has no use for its dynamic API (which lets a newer
# SDL2.dll stand in), whose table also names the video functions left out.
sdl2() {
  sed -i 's/^#define SDL_DYNAMIC_API 1$/#define SDL_DYNAMIC_API 0/' "$1/src/dynapi/SDL_dynapi.h"
  with_cmake "$1" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_SDL2MAIN=ON \
    -DSDL_VIDEO=OFF -DSDL_RENDER=OFF -DSDL_JOYSTICK=OFF -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF \
    -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_FILESYSTEM=OFF
}

mpg123() {
  with_configure "$1" --enable-modules=no --disable-debug --with-default-audio=dummy
}

# libsndfile finds MP3 only with both: lame's encoder alone, no frontend or decoder.
lame() {
  with_configure "$1" --disable-frontend --disable-decoder --disable-analyzer-hooks --disable-gtktest
}

sndfile() {
  with_cmake "$1" -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_TESTING=OFF -DBUILD_REGTEST=OFF \
    -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=ON -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF \
    -DENABLE_PACKAGE_CONFIG=OFF -DCMAKE_C_FLAGS=-DFLAC__NO_DLL
}

# The modules' fallback decoder, never on a hot path: -O1 compiles it in half the time.
openmpt() {
  with_configure "$1" --disable-openmpt123 --disable-examples --disable-tests --disable-doxygen-doc \
    --without-zlib --without-mpg123 --without-ogg --without-vorbis --without-vorbisfile --without-portaudio \
    --without-portaudiocpp --without-pulseaudio --without-sndfile --without-flac CXXFLAGS=-O1 CFLAGS=-O1
}

# libopenmpt, the longest by far and needing none of the others, builds beside them:
# the configure scripts run on one core, so the other is kept busy meanwhile.
build openmpt openmpt &
openmpt_lane=$!
build zlib zlib
build libpng libpng
build freeglut freeglut
build sdl2 sdl2
build mpg123 mpg123
build lame lame
build sndfile sndfile
wait "$openmpt_lane" || exit 1
