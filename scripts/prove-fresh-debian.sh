#!/bin/bash
# Proves the README's two commands on a fresh Debian 12 (bookworm) and 13 (trixie):
# for each, a minimal root made with debootstrap (plus make), a fresh clone of this
# repository's HEAD inside it, then `make run` in one copy of the root and
# `make test` in another, each timed and with the packages it installed and the
# tests it passed counted. Needs root, debootstrap and the package mirror, so it is
# not part of the test suite.
#
#   scripts/prove-fresh-debian.sh [--suite bookworm|trixie] [--work DIR] [--keep] [run|test|both]
set -euo pipefail

suites="bookworm trixie"
work=${TMPDIR:-/tmp}/glasswind-fresh-debian
keep=no
what=both
mirror=http://deb.debian.org/debian
while [ $# -gt 0 ]; do
  case "$1" in
    --suite)
      case "${2:-}" in bookworm|trixie) suites=$2 ;; *) echo "$0: --suite is bookworm or trixie" >&2; exit 2 ;; esac
      shift 2 ;;
    --work) work=$2; shift 2 ;;
    --keep) keep=yes; shift ;;
    run|test|both) what=$1; shift ;;
    *) echo "usage: $0 [--suite bookworm|trixie] [--work DIR] [--keep] [run|test|both]" >&2; exit 2 ;;
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

# Runs `make TARGET` from a fresh clone in a fresh copy of the base root, with no
# display, no standard input and no terminal, as CI and a new user's first try have.
prove() {
  target=$1
  root=$work/root-$suite-$target
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

table=("| Debian | command | exit | time | packages installed | tests |" "|---|---|---|---|---|---|")
for suite in $suites; do
  make_base
  case "$what" in
    run) prove run ;;
    test) prove test ;;
    both) prove run; prove test ;;
  esac
done
say ""
for row in "${table[@]}"; do say "$row"; done
say "logs: $work/make-*.log"
# Any command that failed fails the proof.
! printf '%s\n' "${table[@]}" | grep -q -E '^\| [a-z]+ \([^)]*\) \| make [a-z]+ \| [1-9]'
