# Shared by the run and test commands: where things are built and how Wine is run.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QUILLMOOR_BUILD:-$ROOT/build}
export LANG=zh_CN.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
JOBS=$(nproc 2>/dev/null || echo 2)

# Configures and builds the Windows program and its Windows tests.
build_windows() {
    cmake -S "$ROOT" -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/scripts/mingw-i686.cmake" >/dev/null
    cmake --build "$BUILD/win" -j "$JOBS"
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
