#!/usr/bin/env bash
# After a restart of the prefix's Wine, a new Wine program with a window must still start
# and end (a font the system chokes on makes the desktop process restart without end):
#   check-prefix-starts.sh PREFIX HELPER_EXE
# Bounded by a timeout; the prefix's Wine is ended whatever happens, so that a broken
# prefix cannot keep restarting its processes on the display.
set -uo pipefail
source "$(dirname "$0")/common.sh"
export WINEPREFIX=$1
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
output=$(timeout 60 wine "$2" show 2>/dev/null)
if ! grep -q started <<<"$output"; then
    echo "a new Wine process did not start in $WINEPREFIX after the restart"
    exit 1
fi
echo "a new Wine process started in $WINEPREFIX after the restart"
