#!/bin/bash
# Instruction counts per keystroke (valgrind's callgrind), one line per
# symbology: steadier than timings on a shared, loaded machine.
#   bench/profile_keystrokes.sh [BENCH_BINARY] [FILTER]
# The count covers everything the text box's change handler runs (generate,
# draw, copy the picture) and nothing of the benchmark loop around it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${1:-$root/build/bench/bench_generate}
filter=${2:-.}
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 1; }
[ -x "$bin" ] || { echo "no benchmark program at $bin (build the bench_generate target)" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
printf '%-36s %12s %10s\n' benchmark "Ir/keystroke" keystrokes
for name in $("$bin" --benchmark_list_tests --benchmark_filter="$filter" 2>/dev/null); do
  valgrind --tool=callgrind --callgrind-out-file="$out/$name" --toggle-collect='*MainWindow::onTextChanged*' \
    "$bin" --benchmark_filter="^$name\$" --benchmark_min_time=0.2 >/dev/null 2>&1
  # The handler's calls and the instructions collected inside them.
  calls=$(callgrind_annotate --inclusive=yes --tree=caller "$out/$name" 2>/dev/null |
    sed -n 's/.*< .*MainWindow::onTextChanged() (\([0-9]*\)x).*/\1/p' | head -1)
  total=$(sed -n 's/^summary: //p' "$out/$name")
  if [ -z "$calls" ] || [ "$calls" -eq 0 ]; then
    echo "$name: the change handler never ran" >&2
    exit 1
  fi
  printf '%-36s %12d %10d\n' "$name" $((total / calls)) "$calls"
done
