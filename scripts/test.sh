#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the Windows-free rules natively under
# AddressSanitizer and UBSan, short fuzzing runs, and the Windows tests under Wine in
# fresh prefixes on a virtual display, for each build this machine runs: the 64-bit build,
# and the 32-bit product natively or, where the machine executes no 32-bit code, under
# emulation (scripts/emulate-i386.sh). Both products' files are checked on every machine.
# Exits non-zero on any failure.
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
wine_suite() { cd "$(win_dir "$1")" && on_machine "$1" xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure; }

step "native rules under ASan/UBSan, and the layer check" ctest_in "$BUILD/native"
step "fuzzing" ctest_in "$BUILD/fuzz"
for bits in 32 64; do
    if [[ " $runnable " == *" $bits "* ]]; then
        step "the $bits-bit build $(run_mode_text "$bits"): the whole Wine suite, and its file" wine_suite "$bits"
    else
        step "the $bits-bit build: its file only (this machine cannot execute it)" ctest_in "$(win_dir "$bits")" -L file
    fi
done
# Where the 32-bit product runs natively, its journey also runs under emulation, so that
# the path machines without 32-bit support take is tried on every machine that can.
emulated_journey() {
    cd "$(win_dir 32)" && bash "$ROOT/scripts/emulate-i386.sh" "$QEMU_I386" \
        xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -R '^journey_tests$'
}
if [[ " $runnable " == *" 32 "* ]] && [ "$(run_mode 32)" = native ]; then
    if fetch_emulator && can_emulate; then
        step "the 32-bit product under emulation ($(emulator_version)) as well: its journey" emulated_journey
    else
        summary+=("skipped: the 32-bit product under emulation as well (no emulator, or no binfmt_misc of a namespace's own before kernel 6.7)")
    fi
fi

echo
echo "test: summary"
printf '  %s\n' "${summary[@]}"
exit $status
