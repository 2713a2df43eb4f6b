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
# How the 32-bit build runs where it runs: "native" or "emulated" (scripts/emulate-i386.sh
# with this emulator).
I386_MODE_FILE="$BUILD/i386-mode"
QEMU_I386="$BUILD/qemu/qemu-i386"

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

# The build to run here: the 32-bit product where this machine executes it natively,
# else 64.
preferred_build() {
    local runnable
    runnable=$(runnable_builds) || return 1
    if [[ " $runnable " == *" 32 "* ]] && [ "$(run_mode 32)" = native ]; then echo 32; else echo 64; fi
}

# The emulator is qemu-user from Debian 12's backports, unpacked (not installed) into the
# build folder: the package index is fetched into the build folder too, so the machine's
# own sources are left as they are. Debian 12's qemu 7.2 is not used: it takes Wine's
# tries for a fixed address as mere hints, so that Wine's reservation of the address space
# at every process start becomes some 130,000 calls, over a minute each start.
emulator_source="deb http://deb.debian.org/debian bookworm-backports main"
fetch_emulator() {
    [ -x "$QEMU_I386" ] && return 0
    local apt="$BUILD/qemu/apt" download
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
    echo "$emulator_source" >"$apt/sources.list"
    local options=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
                   -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -o APT::Sandbox::User=root)
    # Called where failures do not stop the script: each step says how it went.
    apt-get "${options[@]}" update -qq || return 1
    download=$(mktemp -d)
    (cd "$download" && apt-get "${options[@]}" download qemu-user/bookworm-backports >/dev/null) &&
        dpkg -x "$download"/qemu-user_*.deb "$download/unpacked" &&
        cp "$download/unpacked/usr/bin/qemu-i386" "$QEMU_I386"
    local status=$?
    rm -rf "$download" "$apt"
    return $status
}

# The emulator as the summaries name it: "qemu-i386 version …".
emulator_version() {
    "$QEMU_I386" --version | head -1
}

# Whether 32-bit programs run under the emulator here: Wine's 32-bit loader answers.
can_emulate() {
    bash "$ROOT/scripts/emulate-i386.sh" "$QEMU_I386" /usr/lib/wine/wine --version >/dev/null 2>&1
}

# How a build runs on this machine: "native", or "emulated" for the 32-bit build where the
# machine executes no 32-bit code.
run_mode() {
    if [ "$1" = 32 ] && [ "$(cat "$I386_MODE_FILE" 2>/dev/null)" = emulated ]; then
        echo emulated
    else
        echo native
    fi
}

# The same, as the summaries say it: "natively" or "under emulation (qemu-i386 version …)".
run_mode_text() {
    if [ "$(run_mode "$1")" = emulated ]; then
        echo "under emulation ($(emulator_version))"
    else
        echo natively
    fi
}

# Runs a command in which the build's programs execute: as it is, or with 32-bit x86
# programs emulated where the set-up found that they must be: on_machine 32|64 COMMAND...
on_machine() {
    local bits=$1
    shift
    if [ "$(run_mode "$bits")" = emulated ]; then
        bash "$ROOT/scripts/emulate-i386.sh" "$QEMU_I386" "$@"
    else
        "$@"
    fi
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
