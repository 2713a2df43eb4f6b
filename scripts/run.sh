#!/usr/bin/env bash
# Sets everything up, builds the program and runs it under Wine in a fresh prefix: the
# 32-bit product where this machine executes 32-bit code, else the 64-bit build.
# With a display the window opens there; without one it runs under a virtual display,
# shows what the program does (window_helper.exe demo: a family, a sample text, a named
# size and a colour, by mouse and keys), saves a picture of the window, closes the program
# and prints where the picture is.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap 'echo "run: failed at scripts/run.sh line $LINENO: $BASH_COMMAND (exit code $?)" >&2' ERR
bash "$ROOT/scripts/setup.sh"
bits=$(preferred_build)
echo "run: building and running the $bits-bit build"
build_windows "$bits"
use_wine "$bits"

DIR=$(win_dir "$bits")
PREFIX="$DIR/run-prefix"
EXE="$DIR/bin/quillmoor.exe"
HELPER="$DIR/bin/window_helper.exe"

if [ -n "${DISPLAY:-}" ]; then
    fresh_prefix "$PREFIX"
    echo "run: starting $EXE"
    WINEPREFIX="$PREFIX" wine "$EXE"
    exit $?
fi

SHOT="$BUILD/screenshot.png"
export PREFIX EXE HELPER SHOT
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    trap "echo \"run: failed on the virtual display: \$BASH_COMMAND (exit code \$?)\" >&2" ERR
    source "'"$ROOT"'/scripts/common.sh"
    fresh_prefix "$PREFIX"
    WINEPREFIX="$PREFIX" wine "$EXE" &
    program=$!
    # The window has started once the helper finds it; then the picture is taken.
    WINEPREFIX="$PREFIX" wine "$HELPER" wait
    sleep 1
    read -r x y w h < <(WINEPREFIX="$PREFIX" wine "$HELPER" demo | tr -d "\r")
    sleep 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$SHOT"
    WINEPREFIX="$PREFIX" wine "$HELPER" close
    code=0
    wait $program || code=$?
    echo "run: the program ended with exit code $code"
'
echo "run: screenshot saved to $SHOT"
