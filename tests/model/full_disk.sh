#!/usr/bin/env bash
# A real full disk: mounts a 1 MiB tmpfs in a temporary folder and runs full_disk_check on it
# (save, fill the disk, save a change, free the space, save again). Needs root and a kernel that
# lets this process mount; where mounting is refused it skips (exit 77).
set -u
check=$1
work=$(mktemp -d)
mounted=0
cleanup() {
  [ $mounted -eq 1 ] && umount "$work"
  rmdir "$work"
}
trap cleanup EXIT

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: mounting a tmpfs needs root"
  exit 77
fi
if ! mount -t tmpfs -o size=1m,mode=0700 kinetra-full-disk "$work" 2>"$work.err"; then
  echo "SKIP: cannot mount a tmpfs here: $(cat "$work.err")"
  rm -f "$work.err"
  exit 77
fi
rm -f "$work.err"
mounted=1
"$check" "$work"
