#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the Windows-free rules natively under
# AddressSanitizer and UBSan, short fuzzing runs, and the Windows tests under Wine in
# fresh prefixes on a virtual display, for each build this machine executes (the 32-bit
# product and the 64-bit build, or the 64-bit build alone). Both products' files are
# checked on every machine. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "$0")/common.sh"
trap 'echo "test: failed at scripts/test.sh line $LINENO: $BASH_COMMAND" >&2' ERR
bash "$ROOT/scripts/setup.sh"
runnable=$(runnable_builds)

cmake -S "$ROOT" -B "$BUILD/native" -G Ninja >/dev/null
cmake --build "$BUILD/native" -j "$JOBS"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD/fuzz" -G Ninja -DQUILLMOOR_FUZZ=ON >/dev/null
cmake --build "$BUILD/fuzz" -j "$JOBS"
build_windows 32
build_windows 64
trap - ERR

status=0
summary=()
# step WHAT COMMAND...: runs the command in a subshell and records how it ended.
step() {
    local what=$1 rc=0
    shift
    ("$@") || rc=$?
    if [ $rc -eq 0 ]; then summary+=("passed: $what"); else summary+=("FAILED: $what"); status=1; fi
}
ctest_in() { cd "$1" && shift && ctest --output-on-failure "$@"; }
# Each build's Windows tests make their own fresh prefixes (CTest fixtures) in its own
# build folder, on one virtual display.
wine_suite() { cd "$(win_dir "$1")" && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure; }

step "native rules under ASan/UBSan, and the layer check" ctest_in "$BUILD/native"
step "fuzzing" ctest_in "$BUILD/fuzz"
for bits in 32 64; do
    if [[ " $runnable " == *" $bits "* ]]; then
        step "the $bits-bit build: the whole Wine suite, and its file" wine_suite "$bits"
    else
        step "the $bits-bit build: its file only (this machine cannot execute it)" ctest_in "$(win_dir "$bits")" -L file
    fi
done

echo
echo "test: summary"
printf '  %s\n' "${summary[@]}"
exit $status
