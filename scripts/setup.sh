#!/usr/bin/env bash
# Installs every package the build, the program and the tests need, from Debian's
# package archive only. Idempotent: when everything is present it only checks.
set -euo pipefail
source "$(dirname "$0")/common.sh"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake make ninja-build
    wine wine32:i386 wine64 xvfb xauth xdotool imagemagick locales fonts-wqy-microhei
    googletest libgtest-dev clang libclang-rt-14-dev python3-fonttools fonts-dejavu-core unicode-data
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 file
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine picks code page 936 only when the zh_CN.UTF-8 locale exists.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
fi
echo "setup: all packages present"

# Fonts for the judge's tests, unpacked from Debian's packages into the build folder, not
# installed, so that Wine and the machine keep the fonts they have: Wine's own .fon files
# (the older formats), and a colour emoji font of bitmaps alone.
unpack_fonts() {  # unpack_fonts PACKAGE FOLDER FILE-INSIDE
    local package=$1 folder=$2 inside=$3 download
    [ -e "$folder/$inside" ] && return 0
    mkdir -p "$BUILD"
    download=$(mktemp -d)
    if ! (cd "$download" && apt-get download "$package" >/dev/null 2>&1); then
        $SUDO apt-get update -qq
        (cd "$download" && apt-get download "$package" >/dev/null)
    fi
    dpkg -x "$download/${package}"_*.deb "$folder"
    rm -rf "$download"
}
unpack_fonts fonts-wine "$BUILD/wine-fonts" usr/share/wine/fonts
unpack_fonts fonts-noto-color-emoji "$BUILD/emoji-font" usr/share/fonts/truetype/noto/NotoColorEmoji.ttf

# How this machine runs the 32-bit product. Natively where it executes 32-bit x86 code:
# Wine's own 32-bit loader runs. Elsewhere under qemu's user-mode emulator, registered for
# the test and run commands alone (scripts/emulate-i386.sh), where the kernel lets a
# namespace have a binfmt_misc of its own. QUILLMOOR_EMULATE_I386=1 asks for emulation on a
# machine that needs none, to try that path.

mkdir -p "$BUILD"
rm -f "$I386_MODE_FILE"
if [ "${QUILLMOOR_EMULATE_I386:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "32 64" >"$RUNNABLE_BUILDS_FILE"
    echo native >"$I386_MODE_FILE"
    echo "setup: this machine executes 32-bit code: the 32-bit product and the 64-bit build both run here, natively"
elif fetch_emulator && can_emulate; then
    echo "32 64" >"$RUNNABLE_BUILDS_FILE"
    echo emulated >"$I386_MODE_FILE"
    echo "setup: the 32-bit product runs here under emulation ($(emulator_version)), the 64-bit build natively"
else
    echo "64" >"$RUNNABLE_BUILDS_FILE"
    echo "setup: this machine executes no 32-bit code, and cannot emulate it (a binfmt_misc of a namespace's own needs kernel 6.7 or later): only the 64-bit build runs here (the 32-bit product is built and checked as a file)"
fi
