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
# Only this program's windows: another program's on the display would be
# taken for the message box.
windows() { xdotool search --pid "$pid" --name "^$title\$" 2>/dev/null; }
for _ in $(seq 100); do
  wid=$(windows | head -1)
  [ -n "$wid" ] && break
  kill -0 "$pid" 2>/dev/null || fail "quillon exited early:"
  sleep 0.1
done
[ -n "$wid" ] || fail "no window titled '$title' appeared"
sleep 0.5

# copy TEXT HOW: types TEXT into the text box, copies it (HOW: menu or
# button), reads the clipboard from here and decodes it, answers the message.
copy() {
  local text=$1 how=$2 box=""
  xdotool windowfocus --sync "$wid"
  xdotool key --window "$wid" ctrl+a
  xdotool type --window "$wid" "$text"
  sleep 0.3
  if [ "$how" = menu ]; then
    xdotool key alt+e
    sleep 0.3
    xdotool key c  # "&Copy Bar Code to Clipboard"
  else
    # The copy button's centre: (4800, 120) + 2295 x 255 twips in the button row at
    # (120, 2040), below the menu bar; twips to pixels as the window lays them
    # out (15 a pixel on a grid enlarged 1.4 times).
    local height menubar
    height=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
    # Above and below the inner area: the menu bar and the status bar, of about
    # one text line each; the button is 24 pixels high, so half of the two is
    # near enough.
    menubar=$(((height - (6330 * 14 + 75) / 150) / 2))
    [ "$menubar" -ge 0 ] && [ "$menubar" -lt 60 ] || fail "unexpected window height $height"
    xdotool mousemove --window "$wid" $(((120 + 4800 + 1147) * 14 / 150)) $((menubar + (2040 + 120 + 127) * 14 / 150)) click 1
  fi
  for _ in $(seq 50); do
    box=$(windows | grep -vx "$wid" | head -1)
    [ -n "$box" ] && break
    sleep 0.1
  done
  [ -n "$box" ] || fail "no message box after the copy ($how)"
  # The program keeps the clipboard while its message is up.
  xclip -selection clipboard -t TARGETS -o >"$tmp/targets" 2>&1 || fail "xclip cannot read the clipboard"
  grep -qx 'image/png' "$tmp/targets" || fail "the clipboard offers no image/png: $(tr '\n' ' ' <"$tmp/targets")"
  xclip -selection clipboard -t image/png -o >"$tmp/clip.png" || fail "xclip could not fetch the PNG"
  DECODE_SYM=code128 bash "$decode" "$tmp/clip.png" "$text" || fail "the clipboard picture does not decode to $text ($how)"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  sleep 0.3
  [ -z "$(windows | grep -vx "$wid")" ] || fail "the message box did not close"
}
copy "MENU-$$" menu
copy "BUTTON-$$" button
kill -0 "$pid" 2>/dev/null || fail "quillon died"
echo "the Edit menu and the button each put a PNG on the clipboard that decodes to the text"
exit 0
