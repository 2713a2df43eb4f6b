#!/usr/bin/env bash
# Sets everything up, builds, and runs the benchmarks under Wine with 1,000 and 5,000
# extra font families installed in a benchmark prefix. Prints "name value unit" lines.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$ROOT/scripts/setup.sh"
build_windows >/dev/null

for families in ${QUILLMOOR_BENCH_FAMILIES:-1000 5000}; do
    fonts="$BUILD/bench/fonts-$families"
    /usr/bin/python3 "$ROOT/scripts/make-fonts.py" "$fonts" "$families" --family "Quillmoor Bench" --file qbench
    prefix="$BUILD/bench/prefix-$families"
    export families fonts prefix
    echo "# $families extra families"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        source "'"$ROOT"'/scripts/common.sh"
        fresh_prefix "$prefix"
        cp "$fonts"/*.ttf "$prefix/drive_c/windows/Fonts/"
        WINEPREFIX="$prefix" wineserver -k || true
        # The first process scans the new fonts; the benchmark runs in the second.
        WINEPREFIX="$prefix" wine cmd /c exit >/dev/null 2>&1 || true
        WINEPREFIX="$prefix" wine "$BUILD/win/bin/catalogue_bench.exe"
        WINEPREFIX="$prefix" wineserver -k || true
    '
done
