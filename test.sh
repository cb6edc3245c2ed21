#!/usr/bin/env bash
# ./test.sh: installs what is missing, builds everything, starts the services
# the tests need (a CUPS server with a PDF queue, an X server), runs every
# test with CTest, and stops what it started.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
# shellcheck source=scripts/common.sh
source "$here/scripts/common.sh"
ensure_packages "${QUILLON_BUILD_PACKAGES[@]}" "${QUILLON_TEST_PACKAGES[@]}"

tools=$(cd "${QUILLON_SHARED_TOOLS:-$here/../shared/tools}" 2>/dev/null && pwd) || tools=""
[ -n "$tools" ] && [ -f "$tools/decode.sh" ] || {
  quillon_log "the referee scripts (decode.sh, cups-pdf-up.sh) are not in ${QUILLON_SHARED_TOOLS:-$here/../shared/tools}"
  exit 1
}
export QUILLON_SHARED_TOOLS=$tools
# The tests find decode.sh through the build's configuration.
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_SHARED_TOOLS="$tools" >&2
build_project all

xvfb_pid=""
cups_started=0
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  if [ "$cups_started" = 1 ]; then bash "$tools/cups-pdf-down.sh" || true; fi
}
trap cleanup EXIT

# CUPS with the PDF queue, for the printing tests.
if [ "$(id -u)" -eq 0 ]; then
  cups_was_running=0
  lpstat -r 2>/dev/null | grep -q 'is running' && cups_was_running=1
  bash "$tools/cups-pdf-up.sh"
  [ "$cups_was_running" = 1 ] || cups_started=1
  export QUILLON_TEST_CUPS=1
else
  quillon_log "not root: no CUPS server started; the tests that print through CUPS will fail"
fi

# An X server for the real-window smoke test only; every other test runs offscreen.
for n in $(seq 91 120); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export QUILLON_TEST_DISPLAY=$display

stage() { quillon_log "$1 took $((SECONDS - stage_start)) s"; stage_start=$SECONDS; }
stage_start=$SECONDS
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
stage "the tests"

# The tests again with AddressSanitizer and UBSan (clang, build-asan/): any
# report, leak or undefined behaviour fails the test it happens in. Left out
# there: the file runs, the print commands and the real-window smoke test (CUPS, PDF
# rasterising, Xvfb); they spend their time in poppler and the uninstrumented
# decoders and take minutes under ASan. The fuzz targets below cover the encoders.
asan_skip='^(FileRunTest|PrintCommandTest|WindowSmoke)\.'
cmake -S "$here" -B "$here/build-asan" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only" -DQUILLON_SANITIZE=ON -DQUILLON_BUILD_FUZZERS=ON \
  -DQUILLON_BUILD_BENCHMARKS=OFF -DQUILLON_SHARED_TOOLS="$tools" >&2
cmake --build "$here/build-asan" >&2
stage "the sanitizer build"
sanitizers="$here/tests/sanitizers"
(cd build-asan &&
  ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  LSAN_OPTIONS="suppressions=$sanitizers/lsan.supp:print_suppressions=0" \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" -E "$asan_skip")
stage "the tests under the sanitizers"

# Each fuzz target for 30 s from its seeds.
bash "$here/tests/fuzz/run_fuzzers.sh" "$here/build-asan" 30
stage "the fuzz targets"
