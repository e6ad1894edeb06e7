#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 system (a debootstrap chroot) and checks that
# the tools run and that `vmc70 --simulate` starts under Xvfb. Needs root and network access to
# the Debian mirror; takes a few minutes the first time.
# usage: scripts/check-package.sh [CHROOT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
chroot_dir=${1:-$root/build-chroot}
bash "$root/scripts/package.sh" >/dev/null
deb=$(ls "$root"/build-release/vmc70_*.deb | head -1)
if [ ! -x "$chroot_dir/bin/bash" ]; then
  command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
  debootstrap --variant=minbase bookworm "$chroot_dir" http://deb.debian.org/debian >/dev/null
fi
cp "$deb" "$chroot_dir/tmp/vmc70.deb"
mountpoint -q "$chroot_dir/proc" || mount -t proc proc "$chroot_dir/proc"
trap 'umount "$chroot_dir/proc" 2>/dev/null || true' EXIT
chroot "$chroot_dir" bash -euc '
  export HOME=/root DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq /tmp/vmc70.deb xvfb xauth >/dev/null
  hartcli --simulate --json raw 0 0
  hartcli --simulate search | head -3
  xvfb-run -a vmc70 --simulate >/tmp/vmc70.log 2>&1 &
  sleep 5
  pgrep -x vmc70 >/dev/null && echo "vmc70 --simulate is running"
  pkill -x vmc70 || true
  test -f /usr/share/applications/vmc70.desktop && echo "desktop entry installed"
'
echo "package check passed: $deb"
