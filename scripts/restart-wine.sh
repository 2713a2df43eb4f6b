#!/usr/bin/env bash
# Ends every Wine process of a prefix, as a restart of that Windows would: restart-wine.sh PATH
set -euo pipefail
WINEPREFIX="$1" wineserver -k || true
WINEPREFIX="$1" wineserver -w || true
