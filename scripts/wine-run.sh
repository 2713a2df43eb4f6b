#!/usr/bin/env bash
# Runs a Windows program under Wine the way the program is meant to run: code page 936
# (zh_CN.UTF-8), quiet logs, no Mono or Gecko prompts. WINEPREFIX must point into the
# build folder; the caller creates it.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must be set to a prefix inside the build folder}"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
