#!/usr/bin/env bash
# Sets everything up, builds the program and runs it under Wine in a fresh prefix.
# With a display the window opens there; without one it runs under a virtual display,
# shows what the program does (window_helper.exe demo: a family, a sample text, a named
# size and a colour, by mouse and keys), saves a picture of the window, closes the program
# and prints where the picture is.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$ROOT/scripts/setup.sh"
build_windows

PREFIX="$BUILD/win/run-prefix"
EXE="$BUILD/win/bin/quillmoor.exe"

if [ -n "${DISPLAY:-}" ]; then
    fresh_prefix "$PREFIX"
    echo "run: starting $EXE"
    WINEPREFIX="$PREFIX" wine "$EXE"
    exit $?
fi

SHOT="$BUILD/screenshot.png"
export PREFIX EXE SHOT
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    source "'"$ROOT"'/scripts/common.sh"
    fresh_prefix "$PREFIX"
    WINEPREFIX="$PREFIX" wine "$EXE" &
    program=$!
    # The window has started once the helper finds it; then the picture is taken.
    WINEPREFIX="$PREFIX" wine "$BUILD/win/bin/window_helper.exe" wait
    sleep 1
    read -r x y w h < <(WINEPREFIX="$PREFIX" wine "$BUILD/win/bin/window_helper.exe" demo | tr -d "\r")
    sleep 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$SHOT"
    WINEPREFIX="$PREFIX" wine "$BUILD/win/bin/window_helper.exe" close
    wait $program
    echo "run: the program ended with exit code $?"
'
echo "run: screenshot saved to $SHOT"
