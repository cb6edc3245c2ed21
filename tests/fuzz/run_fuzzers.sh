#!/usr/bin/env bash
# run_fuzzers.sh BUILD_DIR [SECONDS]: runs every libFuzzer target built in
# BUILD_DIR for SECONDS (default 30) from its seeds in corpus/<target>/, the
# targets side by side. What the fuzzer finds on the way goes to a scratch
# folder, not into the seeds; a crash, sanitizer report, leak or slow input
# fails the run and is kept in BUILD_DIR/fuzz-artifacts/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-30}
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="suppressions=$here/../sanitizers/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
# run_one TARGET: its verdict to stderr; fails when the target does.
run_one() {
  local target=$1 max_len=256 start=$SECONDS
  # The line reader gets lines past its bound of 4096 characters.
  [ "$target" = lines_fuzz ] && max_len=9000
  mkdir -p "$scratch/$target"
  echo "not built: $build/tests/fuzz/$target" >"$scratch/$target.log"
  if [ -x "$build/tests/fuzz/$target" ] && "$build/tests/fuzz/$target" "$scratch/$target" "$here/corpus/$target" \
      -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/$target-" -print_final_stats=1 >"$scratch/$target.log" 2>&1; then
    echo "[fuzz] $target: passed, $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$target.log" | grep -o '[0-9]*$') runs in $((SECONDS - start)) s" >&2
  else
    tail -n 40 "$scratch/$target.log" >&2
    echo "[fuzz] $target: FAILED (any input kept in $artifacts)" >&2
    return 1
  fi
}

pids=()
for seeds in "$here"/corpus/*/; do run_one "$(basename "$seeds")" & pids+=($!); done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
