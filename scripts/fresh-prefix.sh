#!/usr/bin/env bash
# Makes a fresh Wine prefix for a group of tests: fresh-prefix.sh PATH
set -euo pipefail
source "$(dirname "$0")/common.sh"
fresh_prefix "$1"
# Web addresses go to a harmless opener instead of the machine's browser.
WINEPREFIX="$1" wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d true /f >/dev/null 2>&1
WINEPREFIX="$1" wineserver -w
