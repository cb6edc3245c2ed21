#!/usr/bin/env bash
# The clipboard copy on a real X server: type a text into the window, press
# "Copy Bar Code to Clipboard" (the button; the Edit menu's entry does the same
# in the window's tests), and read the clipboard from another process (xclip)
# while the program runs; the PNG it gets must decode to the text.
# Arguments: the program, decode.sh.
source "$(dirname "$0")/x_session.sh"
start "$1"
# The message box has the main window's title: only this program's windows
# count, or another program's on the display would be taken for it.
message_box() { xdotool search --all --onlyvisible --pid "$pid" --name "^$title\$" 2>/dev/null | grep -vx "$win" | head -1; }

decode=$2
text="BUTTON-$$"
xdotool key ctrl+a; xdotool type "$text"; sleep 0.3
click 6067 2287  # the centre of "&Copy Bar Code to Clipboard"
wait_for eval '[ -n "$(message_box)" ]' || fail "no message box after the copy"
# The program keeps the clipboard while its message is up.
xclip -selection clipboard -t TARGETS -o >"$tmp/targets" 2>&1 || fail "xclip cannot read the clipboard"
grep -qx 'image/png' "$tmp/targets" || fail "the clipboard offers no image/png: $(tr '\n' ' ' <"$tmp/targets")"
xclip -selection clipboard -t image/png -o >"$tmp/clip.png" || fail "xclip could not fetch the PNG"
# Enlarged without smoothing: zbar misses some symbols at a pixel a module.
convert "$tmp/clip.png" -bordercolor white -border 20 -scale 300% "$tmp/big.png" || fail "the clipboard holds no picture"
DECODE_SYM=code128 bash "$decode" "$tmp/big.png" "$text" || fail "the clipboard picture does not decode to $text"
focus "$(message_box)"
xdotool key Return
wait_for eval '[ -z "$(message_box)" ]' || fail "the message box did not close"
kill -0 "$pid" 2>/dev/null || fail "quillon died"
echo "the button put a PNG on the clipboard that decodes to the text"
