#!/usr/bin/env bash
# The clipboard copy on a real X server: type a text into the window, press
# "Copy Bar Code to Clipboard", and read the clipboard from another process
# (xclip) while the program runs; the PNG it gets must decode to the text.
# Arguments: the program, decode.sh.
source "$(dirname "$0")/x_session.sh"
start "$1"
# The message box has the main window's title: only this program's windows
# count, or another program's on the display would be taken for it.
message_box() { xdotool search --all --onlyvisible --pid "$pid" --name "^$title\$" 2>/dev/null | grep -vx "$win" | head -1; }

# copy TEXT HOW: types TEXT into the text box, copies it (HOW: menu or
# button), reads the clipboard from here and decodes it, answers the message.
copy() {
  focus "$win"
  xdotool key ctrl+a; xdotool type "$1"; sleep 0.3
  if [ "$2" = menu ]; then press alt+e c; else click 6067 2287; fi  # "&Copy Bar Code to Clipboard", the button's centre
  wait_for eval '[ -n "$(message_box)" ]' || fail "no message box after the copy ($2)"
  # The program keeps the clipboard while its message is up.
  xclip -selection clipboard -t TARGETS -o >"$tmp/targets" 2>&1 || fail "xclip cannot read the clipboard"
  grep -qx 'image/png' "$tmp/targets" || fail "the clipboard offers no image/png: $(tr '\n' ' ' <"$tmp/targets")"
  xclip -selection clipboard -t image/png -o >"$tmp/clip.png" || fail "xclip could not fetch the PNG"
  # Enlarged without smoothing: zbar misses some symbols at a pixel a module.
  convert "$tmp/clip.png" -bordercolor white -border 20 -scale 300% "$tmp/big.png" || fail "the clipboard holds no picture"
  DECODE_SYM=code128 bash "$decode" "$tmp/big.png" "$1" || fail "the clipboard picture does not decode to $1 ($2)"
  focus "$(message_box)"
  xdotool key Return
  wait_for eval '[ -z "$(message_box)" ]' || fail "the message box did not close"
}
decode=$2
copy "MENU-$$" menu
copy "BUTTON-$$" button
kill -0 "$pid" 2>/dev/null || fail "quillon died"
echo "the Edit menu and the button each put a PNG on the clipboard that decodes to the text"
