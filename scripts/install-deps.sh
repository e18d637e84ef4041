#!/bin/sh
# Installs the Debian packages the demo needs to build and run ("run"), or to
# build, run and test ("test"), to build the browser page ("web") or to test it
# in headless Chromium and Firefox ESR ("web-test"), to cross-build for Windows
# ("windows"), or to build the Debian package ("package"). Elsewhere it looks for
# what the packages provide and, only if something is missing, names those
# packages and stops.
# The names hold on Debian 12 and 13; it never waits for a password.
set -eu

mode=${1:-run}

run_packages="cmake make g++ pkg-config libglut-dev libglu1-mesa-dev libgl-dev
libgl1-mesa-dri xfonts-base libpng-dev libx11-dev libxrandr-dev libsdl2-dev
libsndfile1-dev libopenmpt-dev libpulse-dev"
test_packages="libgtest-dev xvfb xauth xdotool x11-utils x11-xserver-utils openbox zenity ffmpeg
sox clang clang-format libfreetype-dev libmp3lame-dev imagemagick
pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber dbus-daemon stress-ng
g++-mingw-w64-x86-64-posix wine64 wine fonts-wine"
# The Debian package: dpkg-shlibdeps works out its dependencies, CPack finds the programs
# with file. Its tests check it, the menu entry, the AppStream file and the manual pages.
package_packages="dpkg-dev file"
install_test_packages="$package_packages lintian desktop-file-utils appstream man-db"
# emscripten brings its own clang, node and the node modules it runs; python3 serves the page.
web_packages="emscripten python3 tar xz-utils bzip2 make cmake"
web_test_packages="chromium firefox-esr"
# Debian's MinGW-w64 with the POSIX thread model (std::thread); the libraries come as sources.
windows_packages="g++-mingw-w64-x86-64-posix cmake make pkg-config tar gzip bzip2 xz-utils"

case "$mode" in
  run) packages=$run_packages ;;
  test) packages="$run_packages $test_packages $install_test_packages" ;;
  web) packages=$web_packages ;;
  web-test)
    packages="$web_packages $web_test_packages"
    # puppeteer-core comes through npm; a node from elsewhere usually brings its own npm.
    command -v npm >/dev/null 2>&1 || packages="$packages npm"
    ;;
  windows) packages=$windows_packages ;;
  package) packages="$run_packages $package_packages" ;;
  *) echo "usage: $0 run|test|web|web-test|windows|package" >&2; exit 2 ;;
esac

# Away from Debian, each package is looked for by what it provides: a command on the
# PATH, or a pkg-config module (pc:NAME); "-" has no such mark and is taken as there.
# Only the packages found missing are named.
provides() {
  case "$1" in
    g++ | make | cmake | pkg-config | xdotool | openbox | zenity | ffmpeg | sox | clang | clang-format | \
      pulseaudio | pipewire | pipewire-pulse | wireplumber | dbus-daemon | python3 | tar | bzip2 | npm | chromium | \
      stress-ng | wine | file | lintian)
      echo "$1" ;;
    dpkg-dev) echo dpkg-shlibdeps ;;
    desktop-file-utils) echo desktop-file-validate ;;
    appstream) echo appstreamcli ;;
    man-db) echo man ;;
    emscripten) echo emcc ;;
    g++-mingw-w64-x86-64-posix) echo x86_64-w64-mingw32-g++-posix ;;
    libglut-dev) echo pc:glut ;;
    libglu1-mesa-dev) echo pc:glu ;;
    libgl-dev) echo pc:gl ;;
    libpng-dev) echo pc:libpng ;;
    libx11-dev) echo pc:x11 ;;
    libxrandr-dev) echo pc:xrandr ;;
    libsdl2-dev) echo pc:sdl2 ;;
    libsndfile1-dev) echo pc:sndfile ;;
    libopenmpt-dev) echo pc:libopenmpt ;;
    libpulse-dev) echo pc:libpulse ;;
    libgtest-dev) echo pc:gtest ;;
    libfreetype-dev) echo pc:freetype2 ;;
    xvfb) echo Xvfb ;;
    xauth) echo xauth ;;
    x11-utils) echo xwininfo ;;
    x11-xserver-utils) echo xrandr ;;
    imagemagick) echo convert ;;
    pulseaudio-utils) echo pactl ;;
    xz-utils) echo xz ;;
    firefox-esr) echo firefox ;;
    *) echo - ;;
  esac
}
present() {
  mark=$(provides "$1")
  case "$mark" in
    -) return 0 ;;
    pc:*) pkg-config --exists "${mark#pc:}" 2>/dev/null ;;
    *) command -v "$mark" >/dev/null 2>&1 ;;
  esac
}
if [ ! -f /etc/debian_version ] || ! command -v apt-get >/dev/null 2>&1; then
  absent=""
  for package in $packages; do
    present "$package" || absent="$absent $package"
  done
  [ -z "$absent" ] && exit 0
  echo "This is not a Debian system, and these are missing. Install them (or your system's equivalents):" >&2
  echo " $absent" >&2
  exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
else
  as_root="sudo -n"
fi

# apt's lists are empty on a fresh system and go stale on an old one: refresh
# them when a package has no candidate to install.
has_candidate() {
  apt-cache policy "$1" 2>/dev/null | grep -q 'Candidate: [^(]'
}
refreshed=no
update_first=""
refresh_lists() {
  [ "$refreshed" = yes ] && return 0
  refreshed=yes
  if [ -n "$as_root" ] && ! $as_root true 2>/dev/null; then
    update_first=yes # the message below names what to run
    return 0
  fi
  echo "Refreshing the package lists (apt-get update)"
  $as_root apt-get update -q >/dev/null
}

# The fuzzers need clang's sanitizer runtime, a package named after clang's own
# major version (libclang-rt-14-dev on Debian 12, libclang-rt-19-dev on 13).
if [ "$mode" = test ]; then
  has_candidate clang || refresh_lists
  clang_major=$(apt-cache depends clang 2>/dev/null | sed -n 's/.*Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1)
  if [ -n "$clang_major" ] && has_candidate "libclang-rt-$clang_major-dev"; then
    packages="$packages libclang-rt-$clang_major-dev"
  else
    echo "No clang sanitizer runtime found for clang '${clang_major:-?}': the fuzz tests will be skipped" >&2
  fi
fi

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
missing=""
for package in $packages; do
  installed "$package" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

for package in $missing; do
  has_candidate "$package" || { refresh_lists; break; }
done

install_line="apt-get install -y --no-install-recommends$missing"
if [ -n "$as_root" ] && ! command -v sudo >/dev/null 2>&1; then
  echo "These packages are missing and this is neither root nor a sudo user. As root, run:" >&2
  echo "  ${update_first:+apt-get update && }$install_line" >&2
  exit 1
fi
if [ -n "$as_root" ] && ! sudo -n true 2>/dev/null; then
  echo "These packages are missing, and sudo wants a password this script will not ask for. Run:" >&2
  echo "  ${update_first:+sudo apt-get update && }sudo $install_line" >&2
  exit 1
fi

# What apt is about to do: every package it pulls in, and the download size.
# shellcheck disable=SC2086
count=$(apt-get -s install --no-install-recommends $missing 2>/dev/null | grep -c '^Inst ' || true)
# shellcheck disable=SC2086
bytes=$(apt-get --print-uris -y install --no-install-recommends $missing 2>/dev/null |
  awk "/^'/ { sum += \$3 } END { printf \"%d\", sum }")
echo "Installing for '$mode':$missing"
echo "apt installs $count packages with them, $(awk -v b="$bytes" 'BEGIN { printf "%.1f MB", b / 1e6 }') to download"

export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086
$as_root env DEBIAN_FRONTEND=noninteractive $install_line
