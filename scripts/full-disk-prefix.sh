#!/usr/bin/env bash
# A fresh prefix whose fonts folder is a small file system that is nearly full:
#   full-disk-prefix.sh PREFIX [unmount]
# A 64 KiB tmpfs is mounted on drive_c/windows/Fonts with a 56 KiB filler file in it, so
# that copying a 20 KiB font there fails part-way. With "unmount" it only takes it away.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
prefix=$1
fonts="$prefix/drive_c/windows/Fonts"
if mountpoint -q "$fonts" 2>/dev/null; then
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    $SUDO umount "$fonts"
fi
[ "${2:-}" = "unmount" ] && exit 0
bash "$(dirname "$0")/fresh-prefix.sh" "$prefix"
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
$SUDO mount -t tmpfs -o size=64k,mode=0777 tmpfs "$fonts"
head -c $((56 * 1024)) /dev/zero >"$fonts/filler.bin"
df -h "$fonts" | tail -1
