# Sourced by the real-window tests: the X server of QUILLON_TEST_DISPLAY
# (test.sh starts Xvfb; without one the test is skipped, exit 77), a fresh
# store and PDF folder, and waits that poll for what they wait for with a
# generous limit, as a loaded machine may take seconds to show a box.
set -uo pipefail
[ -n "${QUILLON_TEST_DISPLAY:-}" ] || { echo "QUILLON_TEST_DISPLAY not set: no X server to test on"; exit 77; }
tmp=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=$QUILLON_TEST_DISPLAY QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$tmp/config QUILLON_PDF_DIR=$tmp/pdf QUILLON_DEBUG=1
unset WAYLAND_DISPLAY
title="Quillon - www.quillon.example"
conf=$tmp/config/Quillon/Quillon.conf
fail() { echo "FAIL: $*"; echo "--- stderr:"; cat "$tmp/err"; exit 1; }
# wait_for COMMAND...: until it succeeds, for up to 30 s.
wait_for() { local end=$((SECONDS + 30)); until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.1; done; }
# window_of TITLE: a shown window of the program with that title (--all: both, not either).
window_of() { xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -1; }
shown() { [ -n "$(window_of "$1")" ]; }
gone() { ! shown "$1"; }
# No window manager gives a new window the focus, or gives it back: the tests do.
focus() { xdotool windowfocus --sync "$1"; sleep 0.3; }
# press KEY...: each a moment after the last, so that a menu is open for the next.
press() { for key in "$@"; do xdotool key "$key"; sleep 0.3; done; }
# start PROGRAM [OPTIONS]: the program on a store of these lines, its window focused as $win.
start() {
  mkdir -p "${conf%/*}"
  printf '[options]\n%s\n' "${2:-}" >"$conf"
  "$1" >"$tmp/out" 2>"$tmp/err" &
  pid=$!
  wait_for shown "$title" || fail "no window titled '$title' appeared"
  wait_for grep -q "window drawn" "$tmp/err" || fail "the window was never drawn"
  win=$(window_of "$title")
  focus "$win"
  sleep 0.5
}
height() { xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p'; }
# px TWIPS: pixels, at 15 twips a pixel on a grid enlarged 1.4 times.
px() { echo $((($1 * 14 + 75) / 150)); }
# click X Y: a click at a place of the inner area (6330 twips high) given in
# twips; above it the menu bar, about as high as the status bar below it.
click() {
  xdotool mousemove --window "$win" "$(px "$1")" $((($(height) - $(px 6330)) / 2 + $(px "$2"))) click 1
  sleep 0.3
}
