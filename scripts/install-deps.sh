#!/bin/sh
# Installs the Debian packages the demo needs to build and run ("run"), or to
# build, run and test ("test"). Elsewhere it names the packages and stops.
set -eu

mode=${1:-run}

build_packages="cmake make g++ pkg-config freeglut3-dev libglu1-mesa-dev libgl-dev
libgl1-mesa-dri xfonts-base libpng-dev libx11-dev libsdl2-dev libsndfile1-dev libopenmpt-dev"
test_packages="libgtest-dev xvfb xauth xdotool x11-utils ffmpeg sox clang
libclang-rt-14-dev libfreetype-dev fonts-dejavu-core libmp3lame-dev imagemagick"

packages=$build_packages
if [ "$mode" = test ]; then
  packages="$packages $test_packages"
fi

if [ ! -f /etc/debian_version ] || ! command -v apt-get >/dev/null 2>&1; then
  echo "This is not a Debian system. Install these packages (or your system's equivalents):" >&2
  echo "  $(echo $packages)" >&2
  exit 1
fi

missing=""
for package in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  case "$status" in
    *"install ok installed"*) ;;
    *) missing="$missing $package" ;;
  esac
done

if [ -z "$missing" ]; then
  exit 0
fi

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1; then
  as_root="sudo"
else
  echo "These packages are missing and neither root nor sudo is available:$missing" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086
if ! $as_root apt-get install -y --no-install-recommends $missing; then
  # Stale package lists are the usual cause; refresh them once and retry.
  $as_root apt-get update
  # shellcheck disable=SC2086
  $as_root apt-get install -y --no-install-recommends $missing
fi
