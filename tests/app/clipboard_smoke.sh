#!/usr/bin/env bash
# The clipboard copy on a real X server: type a text into the window, press
# "Copy Bar Code to Clipboard", and read the clipboard from another process
# (xclip) while the program runs; the PNG it gets must decode to the text.
# Needs QUILLON_TEST_DISPLAY (test.sh starts Xvfb and sets it); exits 77
# (skipped) without one. Arguments: the program, decode.sh.
set -uo pipefail
binary=$1
decode=$2
display=${QUILLON_TEST_DISPLAY:-}
[ -n "$display" ] || { echo "QUILLON_TEST_DISPLAY not set: no X server to test on"; exit 77; }
tmp=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$tmp/config
unset WAYLAND_DISPLAY
fail() { echo "$*"; cat "$tmp/err"; exit 1; }
"$binary" >"$tmp/out" 2>"$tmp/err" &
pid=$!
title="Quillon - www.quillon.example"
windows() { xdotool search --name "^$title\$" 2>/dev/null; }
for _ in $(seq 100); do
  wid=$(windows | head -1)
  [ -n "$wid" ] && break
  kill -0 "$pid" 2>/dev/null || fail "quillon exited early:"
  sleep 0.1
done
[ -n "$wid" ] || fail "no window titled '$title' appeared"
sleep 0.5

text="CLIP-$$"
xdotool windowfocus --sync "$wid"
xdotool key --window "$wid" ctrl+a
xdotool type --window "$wid" "$text"
sleep 0.3
# The button's centre in the window: Command9 at (4800, 120) + 2295 x 255
# twips in the button row at (120, 2040), 15 twips a pixel, below the menu
# bar: the window's height less the 6330-twip (422-pixel) inner area.
height=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
menubar=$((height - 422))
[ "$menubar" -ge 0 ] && [ "$menubar" -lt 60 ] || fail "unexpected window height $height"
xdotool mousemove --window "$wid" 404 $((menubar + 152)) click 1

# The message box says the copy is done; the program keeps the clipboard.
for _ in $(seq 50); do
  box=$(windows | grep -vx "$wid" | head -1)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no message box after the copy"
xclip -selection clipboard -t TARGETS -o >"$tmp/targets" 2>&1 || fail "xclip cannot read the clipboard"
grep -qx 'image/png' "$tmp/targets" || fail "the clipboard offers no image/png: $(tr '\n' ' ' <"$tmp/targets")"
xclip -selection clipboard -t image/png -o >"$tmp/clip.png" || fail "xclip could not fetch the PNG"
DECODE_SYM=code128 bash "$decode" "$tmp/clip.png" "$text" || fail "the clipboard picture does not decode to $text"
xdotool windowfocus --sync "$box"
xdotool key Return
sleep 0.3
[ -z "$(windows | grep -vx "$wid")" ] || fail "the message box did not close"
kill -0 "$pid" 2>/dev/null || fail "quillon died"
echo "clipboard holds a PNG that decodes to $text"
exit 0
