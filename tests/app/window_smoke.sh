#!/usr/bin/env bash
# The real window on a real X server (QUILLON_TEST_DISPLAY; skipped, exit 77,
# without one), driven with xdotool: typing, the screen and the clipboard read
# by the decoders, the menus, the settings panel, Print, a label sheet and its
# preview, Ctrl+Q. Arguments: the program, the folder of decode.sh. A fresh
# store and PDF folder; waits poll, as a loaded machine may take seconds.
set -uo pipefail
[ -n "${QUILLON_TEST_DISPLAY:-}" ] || { echo "QUILLON_TEST_DISPLAY not set: no X server to test on"; exit 77; }
tmp=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=$QUILLON_TEST_DISPLAY QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$tmp/config QUILLON_PDF_DIR=$tmp/pdf QUILLON_DEBUG=1
unset WAYLAND_DISPLAY
title="Quillon - www.quillon.example"
conf=$tmp/config/Quillon/Quillon.conf
decode=$2/decode.sh
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
height() { xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p'; }
# px TWIPS: pixels, at 15 twips a pixel on a grid enlarged 1.4 times.
px() { echo $((($1 * 14 + 75) / 150)); }
# click X Y: a click at a place of the inner area (6330 twips high) given in
# twips; above it the menu bar, about as high as the status bar below it.
click() {
  xdotool mousemove --window "$win" "$(px "$1")" $((($(height) - $(px 6330)) / 2 + $(px "$2"))) click 1
  sleep 0.3
}

# The program on a store that prints to "Save as PDF", its window focused as $win.
mkdir -p "${conf%/*}"
printf '[options]\nc1opt=Save as PDF\n' >"$conf"
"$1" >"$tmp/out" 2>"$tmp/err" &
pid=$!
wait_for shown "$title" || fail "no window titled '$title' appeared"
wait_for grep -q "window drawn" "$tmp/err" || fail "the window was never drawn"
win=$(window_of "$title")
focus "$win"
sleep 0.5
visible() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
base=$(visible)

# The prompt starts selected: the first keys typed replace it, and the
# decoders read the barcode on the screen.
xdotool type --delay 30 "X1"
screen_reads() {
  import -window root "$tmp/screen.png" 2>/dev/null && convert "$tmp/screen.png" -crop 700x200+0+0 +repage -scale 300% "$tmp/big.png" &&
    DECODE_SYM=code128 bash "$decode" "$tmp/big.png" "$1"
}
wait_for screen_reads X1 || fail "the screen's barcode does not read X1"

# The copy's message box has the main window's title. While it is up, the
# program holds the clipboard: xclip gets a PNG, enlarged without smoothing
# (zbar misses some symbols at a pixel a module).
message_box() { xdotool search --all --onlyvisible --pid "$pid" --name "^$title\$" 2>/dev/null | grep -vx "$win" | head -1; }
click 6067 2287  # the button's centre
wait_for eval '[ -n "$(message_box)" ]' || fail "no message box after the copy"
xclip -selection clipboard -t TARGETS -o 2>&1 | grep -qx 'image/png' || fail "the clipboard offers no image/png"
xclip -selection clipboard -t image/png -o >"$tmp/clip.png" &&
  convert "$tmp/clip.png" -bordercolor white -border 20 -scale 300% "$tmp/big.png" &&
  DECODE_SYM=code128 bash "$decode" "$tmp/big.png" X1 || fail "the clipboard's picture does not decode to X1"
focus "$(message_box)"
xdotool key Return
wait_for eval '[ -z "$(message_box)" ]' || fail "the message box did not close"
focus "$win"

# Each menu opens with its access key (a popup window shows), Escape closes it.
for key in f e o h; do
  xdotool key "alt+$key"
  wait_for eval '[ "$(visible)" -gt "$base" ]' || fail "alt+$key opened no menu"
  xdotool key Escape Escape
  wait_for eval '[ "$(visible)" -eq "$base" ]' || fail "the menu of alt+$key did not close"
done
# Hide and show the settings panel: the controls end where the panel starts
# (2640 twips) or at the bottom (6330).
full=$(height)
[ "$full" -le "$(xwininfo -root | sed -n 's/.*Height: //p')" ] || fail "the window ($full) is taller than the screen"
for step in h:$((full - $(px 6330) + $(px 2640))) s:$full; do
  press alt+o "${step%%:*}"
  wait_for eval '[ "$(height)" -eq "${step#*:}" ]' || fail "window height $(height), expected ${step#*:}"
done

# Print through "Save as PDF": a PDF appears and the status line names it.
xdotool key ctrl+p
wait_for eval 'ls "$tmp"/pdf/*.pdf >/dev/null 2>&1' || fail "Print wrote no PDF"
pdf=$(ls "$tmp"/pdf/*.pdf)
wait_for grep -qF "status: 1 barcode printed to $pdf (Save as PDF)" "$tmp/err" || fail "no status line naming $pdf"

# set_box X Y VALUE KEY: the box whose centre is at X Y takes VALUE, saved under KEY.
set_box() {
  click "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 30 "$3"
  wait_for grep -qxF "$4=$3" "$conf" || fail "the box at $1,$2 twips did not take $3 ($4): not in view?"
}
set_box 5407 5902 3 barcodeoffset15  # the panel's lowest box, the top offset

# Label sheets: the Options menu's "Label Sheet..." opens the dialog, a search
# for L7160 and Return pick Avery L7160, and File's "Print Preview..." shows
# the chosen file on two pages, the first with 21 barcodes (counted on a
# screenshot of the first page, the largest white area of the preview: its
# dark marks, each barcode's bars joined across gaps of less than 8 pixels).
for i in $(seq 25); do echo "L$i"; done >"$tmp/lines.txt"
set_box 1867 5182 "$tmp/lines.txt" file
press alt+o l
wait_for shown "Label Sheet" || fail "Label Sheet... opened no dialog"
focus "$(window_of "Label Sheet")"
xdotool type --delay 30 "L7160"; sleep 0.3; xdotool key Return
wait_for grep -qF "status: Labels: Avery L7160, from label 1" "$tmp/err" || fail "Avery L7160 was not chosen"
focus "$win"
press alt+f v
wait_for shown "Print Preview" || fail "Print Preview... opened no window"
wait_for grep -qF "preview: 2 page(s)" "$tmp/err" || fail "the preview does not show 2 pages"
barcodes() {
  local cc="-define connected-components:verbose=true -connected-components"
  eval "$(xdotool getwindowgeometry --shell "$(window_of "Print Preview")")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -colorspace gray "$tmp/preview.png" 2>/dev/null || return
  page=$(convert "$tmp/preview.png" -fill black +opaque white $cc 4 null: | awk '/gray\(255\)/ { print $2; exit }')
  convert "$tmp/preview.png" -crop "$page" +repage -shave 2x2 -threshold 50% -negate -morphology Dilate Rectangle:8x1 \
    $cc 8 null: | grep -c 'gray(255)'
}
wait_for eval '[ "$(barcodes)" = 21 ]' || fail "the preview's first page shows $(barcodes) barcodes, not 21"
focus "$(window_of "Print Preview")"
xdotool key Escape
wait_for gone "Print Preview" || fail "Escape did not close the preview"
focus "$win"

# Ctrl+Q ends the program with status 0.
xdotool key ctrl+q
wait_for eval '! kill -0 "$pid" 2>/dev/null' || fail "Ctrl+Q did not end the program"
wait "$pid"; status=$?; pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Ctrl+Q"
echo "prompt, menus, settings panel, barcode on screen and clipboard, Print to $pdf, label sheet preview and Ctrl+Q all work"
