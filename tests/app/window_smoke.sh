#!/usr/bin/env bash
# The real window on a real X server: it opens with its title and draws.
# Needs QUILLON_TEST_DISPLAY (test.sh starts Xvfb and sets it); exits 77
# (skipped) without one.
set -uo pipefail
binary=$1
display=${QUILLON_TEST_DISPLAY:-}
[ -n "$display" ] || { echo "QUILLON_TEST_DISPLAY not set: no X server to test on"; exit 77; }
tmp=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$tmp/config
unset WAYLAND_DISPLAY
"$binary" >"$tmp/out" 2>"$tmp/err" &
pid=$!
title="Quillon - www.quillon.example"
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q "\"$title\"" && break
  kill -0 "$pid" 2>/dev/null || { echo "quillon exited early:"; cat "$tmp/err"; exit 1; }
  sleep 0.1
done
xwininfo -root -tree | grep -q "\"$title\"" || { echo "no window titled '$title' appeared"; cat "$tmp/err"; exit 1; }
sleep 0.5
kill -0 "$pid" 2>/dev/null || { echo "quillon died after showing its window"; cat "$tmp/err"; exit 1; }
# The screen shows the window's controls: more than a couple of colours.
import -display "$display" -window root "$tmp/screen.png" 2>/dev/null || { echo "screenshot failed"; exit 1; }
colours=$(convert "$tmp/screen.png" -format '%k' info:)
echo "window shown; screenshot has $colours colours"
[ "$colours" -gt 8 ] || { echo "the screen looks blank"; exit 1; }
exit 0
