#!/usr/bin/env bash
# Sets everything up, builds, and runs the benchmarks under Wine, on the 32-bit product
# where this machine executes 32-bit code, else on the 64-bit build: with the default fonts,
# and with 1,000 and 5,000 extra font families installed in a benchmark prefix. Prints
# "name value unit" lines. QUILLMOOR_BENCH_FAMILIES chooses the runs (default "0 1000 5000").
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$ROOT/scripts/setup.sh"
bits=$(preferred_build)
build_windows "$bits" >/dev/null
use_wine "$bits"
BIN="$(win_dir "$bits")/bin"
echo "# the $bits-bit build"

# A small generated font for the trial's benchmark.
/usr/bin/python3 "$ROOT/scripts/make-fonts.py" "$BUILD/bench" 1 --file trial-small- >/dev/null
mv -f "$BUILD/bench/trial-small-1.ttf" "$BUILD/bench/trial-small.ttf"
# Fonts for the installation's benchmark: 4 families of 8 files for each of 7 repetitions,
# then one press of 60 files.
rm -rf "$BUILD/bench/install-fonts"
/usr/bin/python3 "$ROOT/scripts/make-fonts.py" "$BUILD/bench/install-fonts" 284 --family "Quillmoor Install Bench" \
    --file qinst >/dev/null

for families in ${QUILLMOOR_BENCH_FAMILIES:-0 1000 5000}; do
    fonts="$BUILD/bench/fonts-$families"
    if [ "$families" -gt 0 ]; then
        /usr/bin/python3 "$ROOT/scripts/make-fonts.py" "$fonts" "$families" --family "Quillmoor Bench" --file qbench
    fi
    prefix="$BUILD/bench/prefix$bits-$families"
    mkdir -p "$BUILD/bench"
    export families fonts prefix BIN
    echo "# $families extra families"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        source "'"$ROOT"'/scripts/common.sh"
        fresh_prefix "$prefix"
        # Closing the program opens the forum: a harmless opener instead of a browser.
        WINEPREFIX="$prefix" wine reg add "HKCU\\Software\\Wine\\WineBrowser" /v Browsers /d true /f >/dev/null 2>&1
        if [ "$families" -gt 0 ]; then
            cp "$fonts"/*.ttf "$prefix/drive_c/windows/Fonts/"
        fi
        WINEPREFIX="$prefix" wineserver -k || true
        # The first process scans the new fonts; the benchmarks run in the later ones.
        WINEPREFIX="$prefix" wine cmd /c exit >/dev/null 2>&1 || true
        if [ "$families" -gt 0 ]; then
            WINEPREFIX="$prefix" wine "$BIN/catalogue_bench.exe"
        fi
        if [ "$families" -eq 0 ]; then
            # The font-file judge on crafted inputs, against reading them.
            WINEPREFIX="$prefix" wine "$BIN/judge_bench.exe"
            # Trying a font file in a child: a small font and the 5 MB WenQuanYi collection.
            cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$prefix/drive_c/wqy-microhei.ttc"
            cp "$BUILD/bench/trial-small.ttf" "$prefix/drive_c/trial-small.ttf"
            # And a collection of about 23 MB, tried by the preview and a press at once.
            /usr/bin/python3 "'"$ROOT"'/scripts/make-big-collection.py" /usr/share/fonts/truetype/wqy/wqy-microhei.ttc \
                "$prefix/drive_c/large.ttc" 5
            WINEPREFIX="$prefix" wine "$BIN/trial_bench.exe" "C:\\trial-small.ttf" "C:\\wqy-microhei.ttc" \
                "C:\\large.ttc"
            # Previewing those files, and typing into the path box.
            WINEPREFIX="$prefix" wine "$BIN/preview_bench.exe" "C:\\trial-small.ttf" "C:\\wqy-microhei.ttc"
            # The font-information window of the WenQuanYi family.
            cp "$(dirname "$BIN")/fixtures/many-names.ttf" "$prefix/drive_c/many-names.ttf"
            WINEPREFIX="$prefix" wine "$BIN/info_bench.exe" "C:\\many-names.ttf"
            # Families of eight files installed in one press against eight presses.
            cp -r "$BUILD/bench/install-fonts" "$prefix/drive_c/install-bench"
            WINEPREFIX="$prefix" wine "$BIN/install_bench.exe" "C:\\install-bench"
        fi
        # Whole-process start-up: the program and the floor program, alternately, in one
        # Wine session (the bench process keeps it alive).
        WINEPREFIX="$prefix" wine "$BIN/startup_bench.exe"
        WINEPREFIX="$prefix" wineserver -k || true
    '
done
