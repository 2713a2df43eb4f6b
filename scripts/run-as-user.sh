#!/usr/bin/env bash
# Runs a Windows test program as an unprivileged Unix user, on a fresh prefix that user
# owns, whose drive_c/windows/Fonts belongs to root: a Windows account without the rights
# to write the system's fonts folder.
#   [QUILLMOOR_DENY_USER_FONTS=1] [QUILLMOOR_SYSTEM_FONT=<file>] run-as-user.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
source "$(dirname "$0")/common.sh"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
user=quillmoor-test
build=$1
shift
if ! id "$user" >/dev/null 2>&1; then
    $SUDO useradd --system --no-create-home --shell /usr/sbin/nologin "$user"
fi
home="$build/user-home"
prefix="$home/prefix"
if [ -d "$prefix" ]; then
    $SUDO setpriv --reuid="$user" --regid="$user" --init-groups env HOME="$home" WINEPREFIX="$prefix" \
        PATH="$PATH" wineserver -k 2>/dev/null || true
fi
$SUDO rm -rf "$home"
mkdir -p "$home"
# The display's key, readable by the user.
if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
    cp "$XAUTHORITY" "$home/Xauthority"
fi
$SUDO chown -R "$user:" "$home"
# The build's Wine (the 64-bit loader for the 64-bit build) goes along, as sudo would drop it.
wine_env=(PATH="$PATH")
[ -n "${WINELOADER:-}" ] && wine_env+=(WINELOADER="$WINELOADER")
[ -n "${WINEARCH:-}" ] && wine_env+=(WINEARCH="$WINEARCH")
as_user() {
    $SUDO setpriv --reuid="$user" --regid="$user" --init-groups \
        env HOME="$home" WINEPREFIX="$prefix" XAUTHORITY="$home/Xauthority" DISPLAY="${DISPLAY:-}" \
        LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "${wine_env[@]}" "$@"
}
as_user wineboot -i >/dev/null 2>&1
as_user wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
as_user wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d true /f >/dev/null 2>&1
as_user wineserver -w
# With QUILLMOOR_SYSTEM_FONT=<file>, that file is in the system's folder, put there by its owner.
if [ -n "${QUILLMOOR_SYSTEM_FONT:-}" ]; then
    $SUDO cp "$QUILLMOOR_SYSTEM_FONT" "$prefix/drive_c/windows/Fonts/"
fi
$SUDO chown root: "$prefix/drive_c/windows/Fonts"
$SUDO chmod 755 "$prefix/drive_c/windows/Fonts"
# With QUILLMOOR_DENY_USER_FONTS=1 the user's own fonts folder cannot be written either.
if [ "${QUILLMOOR_DENY_USER_FONTS:-0}" = 1 ]; then
    own="$prefix/drive_c/users/$user/AppData/Local/Microsoft/Windows/Fonts"
    $SUDO mkdir -p "$own"
    $SUDO chown -R "$user:" "$(dirname "$own")"
    $SUDO chown root: "$own"
    $SUDO chmod 755 "$own"
fi
status=0
as_user wine "$@" || status=$?
as_user wineserver -k 2>/dev/null || true
exit $status
