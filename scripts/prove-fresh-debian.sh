#!/bin/bash
# Proves the README's two commands on a fresh Debian 12 (bookworm) and 13 (trixie):
# for each, a minimal root made with debootstrap (plus make), a fresh clone of this
# repository's HEAD inside it, then `make run` in one copy of the root and
# `make test` in another, each timed and with the packages it installed and the
# tests it passed counted. Needs root, debootstrap and the package mirror, so it is
# not part of the test suite. `deb` instead installs the package `make deb` built with
# apt in a copy of each root, runs it there, and removes it again.
#
#   scripts/prove-fresh-debian.sh [--suite bookworm|trixie] [--work DIR] [--keep] [--deb FILE] [run|test|both|deb]
set -euo pipefail

suites="bookworm trixie"
work=${TMPDIR:-/tmp}/glasswind-fresh-debian
keep=no
what=both
deb=""
mirror=http://deb.debian.org/debian
while [ $# -gt 0 ]; do
  case "$1" in
    --suite)
      case "${2:-}" in bookworm|trixie) suites=$2 ;; *) echo "$0: --suite is bookworm or trixie" >&2; exit 2 ;; esac
      shift 2 ;;
    --work) work=$2; shift 2 ;;
    --keep) keep=yes; shift ;;
    --deb) deb=$2; shift 2 ;;
    run|test|both|deb) what=$1; shift ;;
    *) echo "usage: $0 [--suite bookworm|trixie] [--work DIR] [--keep] [--deb FILE] [run|test|both|deb]" >&2; exit 2 ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap and chroot)" >&2; exit 1; }
command -v debootstrap >/dev/null || { echo "$0: needs debootstrap (apt-get install debootstrap)" >&2; exit 1; }
repo=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$work"
log=$work/summary.txt
: >"$log"
say() { echo "$*" | tee -a "$log"; }

# The base root of a suite is made once and reused; each command gets a copy of it.
make_base() {
  base=$work/base-$suite
  [ -f "$base/.complete" ] && return 0
  rm -rf "$base"
  say "debootstrap --variant=minbase --include=make $suite (once)"
  start=$(date +%s)
  debootstrap --variant=minbase --include=make "$suite" "$base" "$mirror" >"$work/debootstrap-$suite.log" 2>&1 ||
    { tail -n 20 "$work/debootstrap-$suite.log" >&2; exit 1; }
  touch "$base/.complete"
  say "  took $(( $(date +%s) - start )) s, $(chroot "$base" dpkg-query -W | wc -l) packages in the root"
}

mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[$i]}" 2>/dev/null || true; done
  mounted=()
}
trap cleanup EXIT

# A fresh copy of the base root in $root, named $1, with the file systems of a running system.
fresh_root() {
  root=$work/root-$suite-$1
  rm -rf "$root"
  cp -a "$base" "$root"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # The file systems a running Debian has: its own /proc and /sys, and the devices
  # with their pseudo-terminals and shared memory, which Xvfb, Chromium and the
  # sound servers use.
  mount -t proc proc "$root/proc" && mounted+=("$root/proc")
  mount -t sysfs sysfs "$root/sys" && mounted+=("$root/sys")
  mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev" && mounted+=("$root/dev")
  for fs in dev/pts dev/shm; do
    mountpoint -q "$root/$fs" || { say "  /$fs is not mounted in the root: the proof would not be a real machine's"; exit 1; }
  done
}

# Runs `make TARGET` from a fresh clone in a fresh copy of the base root, with no
# display, no standard input and no terminal, as CI and a new user's first try have.
prove() {
  target=$1
  fresh_root "$target"
  git clone -q "$repo" "$root/src/glasswind"
  # This machine's own certificate authorities (a network proxy's, say) go into the
  # root, where ca-certificates takes them in when it is installed, as a desktop
  # on the same network would have them; without them npm cannot reach its registry.
  if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    mkdir -p "$root/usr/local/share/ca-certificates"
    cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
  fi
  before=$(chroot "$root" dpkg-query -W | wc -l)
  say "make $target in a fresh $suite root (Debian $(cat "$root/etc/debian_version"); clone of $(git -C "$repo" rev-parse --short HEAD))"
  start=$(date +%s)
  status=0
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 CI=true \
    sh -c "cd /src/glasswind && make $target" </dev/null >"$work/make-$suite-$target.log" 2>&1 || status=$?
  took=$(( $(date +%s) - start ))
  after=$(chroot "$root" dpkg-query -W | wc -l)
  say "  exit $status after $took s; $(( after - before )) packages installed ($before -> $after)"
  passed=-
  [ "$target" = test ] && passed=$(sed -n 's/^\([0-9]*% tests passed, [0-9]* tests failed out of [0-9]*\).*/\1/p' \
    "$work/make-$suite-test.log" | tail -n 1)
  table+=("| $suite ($(cat "$root/etc/debian_version")) | make $target | $status | $took s | $(( after - before )) | ${passed:--} |")
  grep -E "^apt installs|^Installing for" "$work/make-$suite-$target.log" | sed 's/^/  /' | tee -a "$log"
  for program in glasswind glasswind-render; do
    if [ -x "$root/src/glasswind/build/$program" ]; then say "  built build/$program"; else say "  MISSING build/$program"; fi
  done
  if [ "$target" = test ]; then
    grep -E "tests passed|tests failed|^Total Test time" "$work/make-$suite-test.log" | sed 's/^/  /' | tee -a "$log"
  fi
  cleanup
  [ "$keep" = yes ] || rm -rf "$root"
  return 0
}

# A command in the root as a fresh system's root user runs it.
in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games \
    HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive sh -c "$1" </dev/null
}

# `apt install ./glasswind_*.deb` in a fresh copy of the base root: what it pulls in,
# both programs finding every library, glasswind-render running; then the package
# purged and what it pulled in removed, leaving none of its files and the root's
# packages as they were.
prove_deb() {
  fresh_root deb
  cp "$deb" "$root/tmp/"
  name=$(basename "$deb")
  # The package's own files and folders, and those of them the root already has (such as /usr/bin).
  dpkg-deb -c "$deb" | awk '{ print substr($6, 2) }' | sed 's|/$||' | grep . | sort >"$work/deb-paths"
  while read -r path; do [ -e "$root$path" ] && echo "$path"; done <"$work/deb-paths" >"$work/deb-before"
  before=$(in_root "dpkg-query -W" | wc -l)
  say "apt install ./$name in a fresh $suite root (Debian $(cat "$root/etc/debian_version"))"
  start=$(date +%s)
  status=0
  in_root "apt-get update -q && apt-get install -y --no-install-recommends /tmp/$name" >"$work/deb-$suite.log" 2>&1 || status=$?
  took=$(( $(date +%s) - start ))
  after=$(in_root "dpkg-query -W" | wc -l)
  say "  exit $status after $took s; $(( after - before )) packages installed ($before -> $after)"
  version=$(in_root "glasswind-render --version" 2>&1) || status=1
  say "  glasswind-render --version: $version"
  in_root "glasswind-render --shot-table | wc -l" >"$work/deb-shots" 2>&1 || status=1
  say "  glasswind-render --shot-table: $(cat "$work/deb-shots") rows"
  unresolved=$(in_root "ldd /usr/lib/games/glasswind/glasswind /usr/bin/glasswind-render | grep 'not found' || true")
  [ -z "$unresolved" ] || { status=1; say "  libraries not found: $unresolved"; }
  in_root "apt-get purge -y glasswind && apt-get autoremove --purge -y" >>"$work/deb-$suite.log" 2>&1 || status=1
  while read -r path; do [ -e "$root$path" ] && echo "$path"; done <"$work/deb-paths" >"$work/deb-after"
  left=$(comm -13 "$work/deb-before" "$work/deb-after")
  removed=$(in_root "dpkg-query -W" | wc -l)
  if [ -n "$left" ] || [ "$removed" != "$before" ]; then
    status=1
    say "  after the purge and autoremove: $removed packages (not $before), left behind: ${left:-nothing}"
  else
    say "  purged and autoremoved: none of its $(wc -l <"$work/deb-paths") paths left but the root's own; $removed packages"
  fi
  table+=("| $suite ($(cat "$root/etc/debian_version")) | apt install ./$name | $status | $took s | $(( after - before )) | - |")
  cleanup
  [ "$keep" = yes ] || rm -rf "$root"
  return 0
}

if [ "$what" = deb ]; then
  [ -n "$deb" ] || deb=$(ls -t "$repo"/build/package/glasswind_*.deb 2>/dev/null | head -n 1)
  [ -f "$deb" ] || { echo "$0: no package to install: run make deb, or give --deb FILE" >&2; exit 1; }
  deb=$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")
fi
table=("| Debian | command | exit | time | packages installed | tests |" "|---|---|---|---|---|---|")
for suite in $suites; do
  make_base
  case "$what" in
    run) prove run ;;
    test) prove test ;;
    both) prove run; prove test ;;
    deb) prove_deb ;;
  esac
done
say ""
for row in "${table[@]}"; do say "$row"; done
say "logs: $work/make-*.log $work/deb-*.log"
# Any command that failed fails the proof.
! printf '%s\n' "${table[@]}" | grep -q -E '^\| [a-z]+ \([^)]*\) \| [^|]+ \| [1-9]'
