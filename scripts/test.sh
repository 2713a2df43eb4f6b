#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the Windows-free rules natively under
# AddressSanitizer and UBSan, short fuzzing runs, and the Windows tests under Wine in a
# fresh prefix on a virtual display. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "$0")/common.sh"
bash "$ROOT/scripts/setup.sh"

cmake -S "$ROOT" -B "$BUILD/native" -G Ninja >/dev/null
cmake --build "$BUILD/native" -j "$JOBS"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD/fuzz" -G Ninja -DQUILLMOOR_FUZZ=ON >/dev/null
cmake --build "$BUILD/fuzz" -j "$JOBS"
build_windows

status=0
(cd "$BUILD/native" && ctest --output-on-failure) || status=1
(cd "$BUILD/fuzz" && ctest --output-on-failure) || status=1
# The Windows tests make their own fresh prefixes (CTest fixtures) on one virtual display.
(cd "$BUILD/win" && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure) || status=1
exit $status
