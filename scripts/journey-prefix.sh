#!/usr/bin/env bash
# A fresh prefix for the whole-journey test, whose web browser is a recorder: every
# address it is asked to open is appended to PREFIX/browser.log.
#   journey-prefix.sh PREFIX
set -euo pipefail
prefix=$1
bash "$(dirname "$0")/fresh-prefix.sh" "$prefix"
cat >"$prefix/browser.sh" <<RECORDER
#!/bin/sh
echo "\$@" >>"$prefix/browser.log"
RECORDER
chmod +x "$prefix/browser.sh"
rm -f "$prefix/browser.log"
source "$(dirname "$0")/common.sh"
WINEPREFIX="$prefix" wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$prefix/browser.sh" /f >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -w
