#!/bin/bash
# Launch to a drawn window: starts quillon RUNS times (default 5) on an X
# server and prints each time from just before the start of the process until
# the window has been drawn for the first time, and from the moment Qt's
# application object was made (loading the libraries, connecting to the X
# server and reading the font configuration are over) to the same point; the
# program says when under QUILLON_DEBUG. Then the medians. Uses $DISPLAY, or
# starts its own Xvfb.
#   bench/launch_time.sh [QUILLON_BINARY]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${1:-$root/build/quillon}
runs=${RUNS:-5}
[ -x "$bin" ] || { echo "no program at $bin (build it first)" >&2; exit 1; }
command -v Xvfb >/dev/null || [ -n "${DISPLAY:-}" ] || { echo "Xvfb is not installed (xvfb)" >&2; exit 1; }
work=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 121 140); do [ -e "/tmp/.X11-unix/X$n" ] || { export DISPLAY=":$n"; break; }; done
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break; sleep 0.1; done
fi
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=xcb QUILLON_DEBUG=1
unset WAYLAND_DISPLAY
times=()
owns=()
for ((r = 1; r <= runs; r++)); do
  : >"$work/err"
  start=$(date +%s%N)
  "$bin" >/dev/null 2>"$work/err" &
  pid=$!
  drawn=""
  for _ in $(seq 1000); do
    drawn=$(sed -n 's/^quillon: window drawn at \([0-9]*\) ns$/\1/p' "$work/err")
    [ -n "$drawn" ] && break
    sleep 0.01
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
  [ -n "$drawn" ] || { echo "run $r: the window was not drawn within 10 s" >&2; exit 1; }
  started=$(sed -n 's/^quillon: application started at \([0-9]*\) ns$/\1/p' "$work/err")
  ms=$(((drawn - start) / 1000000))
  own=$(((drawn - started) / 1000000))
  times+=("$ms")
  owns+=("$own")
  echo "run $r: window drawn $ms ms after the launch, $own ms after Qt's application object was made"
done
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
echo "median of $runs: $(printf '%s\n' "${times[@]}" | median) ms after the launch," \
  "$(printf '%s\n' "${owns[@]}" | median) ms after Qt's application object was made"
