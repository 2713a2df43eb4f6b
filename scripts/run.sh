#!/usr/bin/env bash
# Sets everything up, builds the program and runs it under Wine in a fresh prefix: the
# 32-bit product where this machine executes 32-bit code, else the 64-bit build. With
# --product, the 32-bit product on any machine: natively, or under emulation where the
# machine executes no 32-bit code (scripts/emulate-i386.sh).
# With a display the window opens there; without one it runs under a virtual display,
# shows what the program does (window_helper.exe demo: a family, a sample text, a named
# size and a colour, by mouse and keys), saves a picture of the window, closes the program
# and prints where the picture is.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap 'echo "run: failed at scripts/run.sh line $LINENO: $BASH_COMMAND (exit code $?)" >&2' ERR
bash "$ROOT/scripts/setup.sh"
if [ "${1:-}" = --product ]; then
    bits=32
    if [[ " $(runnable_builds) " != *" 32 "* ]]; then
        echo "run: this machine can neither execute nor emulate 32-bit code (see the set-up's line above)" >&2
        exit 1
    fi
else
    bits=$(preferred_build)
fi
mode=$(run_mode "$bits")
echo "run: building and running the $bits-bit build ($mode)"
build_windows "$bits"
use_wine "$bits"
export bits

DIR=$(win_dir "$bits")
PREFIX="$DIR/run-prefix"
EXE="$DIR/bin/quillmoor.exe"
HELPER="$DIR/bin/window_helper.exe"

if [ -n "${DISPLAY:-}" ]; then
    echo "run: starting $EXE"
    on_machine "$bits" bash -c 'source "$0/scripts/common.sh"; fresh_prefix "$1"; WINEPREFIX="$1" wine "$2"' \
        "$ROOT" "$PREFIX" "$EXE"
    exit $?
fi

SHOT="$BUILD/screenshot.png"
export PREFIX EXE HELPER SHOT
on_machine "$bits" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    trap "echo \"run: failed on the virtual display: \$BASH_COMMAND (exit code \$?)\" >&2" ERR
    source "'"$ROOT"'/scripts/common.sh"
    started=$(date +%s.%N)
    fresh_prefix "$PREFIX"
    prepared=$(date +%s.%N)
    WINEPREFIX="$PREFIX" wine "$EXE" &
    program=$!
    # The window has started once the helper finds it; then the picture is taken.
    WINEPREFIX="$PREFIX" wine "$HELPER" wait
    shown=$(date +%s.%N)
    awk -v a="$started" -v b="$prepared" -v c="$shown" \
        "BEGIN { printf \"run: prefix made in %.1f s; the window showed %.1f s after the start\\n\", b - a, c - b }"
    sleep 1
    read -r x y w h < <(WINEPREFIX="$PREFIX" wine "$HELPER" demo | tr -d "\r")
    sleep 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$SHOT"
    WINEPREFIX="$PREFIX" wine "$HELPER" close
    code=0
    wait $program || code=$?
    echo "run: the program ended with exit code $code"
    # Wine'"'"'s own processes end before the display does.
    WINEPREFIX="$PREFIX" wineserver -w
'
echo "run: screenshot saved to $SHOT"
