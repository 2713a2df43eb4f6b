# Shared by the set-up, run, test and bench commands: where things are built and how Wine
# is run.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QUILLMOOR_BUILD:-$ROOT/build}
export LANG=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
JOBS=$(nproc 2>/dev/null || echo 2)

# Two builds of the same sources: 32 (the product) and 64 (for machines that cannot
# execute 32-bit code). The set-up writes which of them this machine runs.
RUNNABLE_BUILDS_FILE="$BUILD/runnable-builds"

# The build folder of a build: win_dir 32|64
win_dir() {
    if [ "$1" = 32 ]; then echo "$BUILD/win"; else echo "$BUILD/win64"; fi
}

# Configures and builds the Windows program and its Windows tests: build_windows 32|64
build_windows() {
    local toolchain=mingw-i686
    [ "$1" = 64 ] && toolchain=mingw-x86_64
    cmake -S "$ROOT" -B "$(win_dir "$1")" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/scripts/$toolchain.cmake" >/dev/null
    cmake --build "$(win_dir "$1")" -j "$JOBS"
}

# The builds this machine executes, as the set-up found: "32 64" or "64".
runnable_builds() {
    if [ ! -s "$RUNNABLE_BUILDS_FILE" ]; then
        echo "no $RUNNABLE_BUILDS_FILE: scripts/setup.sh has not run" >&2
        return 1
    fi
    cat "$RUNNABLE_BUILDS_FILE"
}

# The build to run here: the 32-bit product where this machine executes it, else 64.
preferred_build() {
    local runnable
    runnable=$(runnable_builds) || return 1
    if [[ " $runnable " == *" 32 "* ]]; then echo 32; else echo 64; fi
}

# Wine for a build, from here on in this shell: use_wine 32|64. The 64-bit build runs
# under Wine's 64-bit loader (also for Wine's own scripts, which call wine-stable) in
# 64-bit prefixes; the 32-bit build in 32-bit prefixes.
use_wine() {
    if [ "$1" = 64 ]; then
        export PATH="$ROOT/scripts/wine64:$PATH" WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64
    else
        export WINEARCH=win32
    fi
}

# A fresh Wine prefix at $1 (removed first if present). Windows are not managed by a
# window manager: with none running, Wine would otherwise wait for one on every close.
fresh_prefix() {
    local prefix=$1
    if [ -d "$prefix" ]; then
        WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
        rm -rf "$prefix"
    fi
    WINEPREFIX="$prefix" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
}
