#!/usr/bin/env bash
# Label sheets in the real window on a real X server, from the keyboard: the
# Options menu's "Label Sheet..." opens the dialog, a search for L7160 and
# Return pick Avery L7160, and File's "Print Preview..." shows the chosen
# file on two pages, the first with 21 barcodes (counted on a screenshot).
source "$(dirname "$0")/x_session.sh"
for i in $(seq 25); do echo "L$i"; done >"$tmp/lines.txt"
start "$1" "$(printf 'c1opt=Save as PDF\nfile=%s' "$tmp/lines.txt")"

press alt+o l
wait_for shown "Label Sheet" || fail "Label Sheet... opened no dialog"
focus "$(window_of "Label Sheet")"
xdotool type --delay 30 "L7160"; sleep 0.3; xdotool key Return
wait_for grep -qF "status: Labels: Avery L7160, from label 1" "$tmp/err" || fail "Avery L7160 was not chosen"

focus "$win"
press alt+f v
wait_for shown "Print Preview" || fail "Print Preview... opened no window"
wait_for grep -qF "preview: 2 page(s)" "$tmp/err" || fail "the preview does not show 2 pages"
# The barcodes of the first page (the largest white area of the preview): its
# dark marks, each barcode's bars joined across gaps of less than 8 pixels.
barcodes() {
  local cc="-define connected-components:verbose=true -connected-components"
  eval "$(xdotool getwindowgeometry --shell "$(window_of "Print Preview")")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -colorspace gray "$tmp/preview.png" 2>/dev/null || return
  page=$(convert "$tmp/preview.png" -fill black +opaque white $cc 4 null: | awk '/gray\(255\)/ { print $2; exit }')
  convert "$tmp/preview.png" -crop "$page" +repage -shave 2x2 -threshold 50% -negate -morphology Dilate Rectangle:8x1 \
    $cc 8 null: | grep -c 'gray(255)'
}
wait_for eval '[ "$(barcodes)" = 21 ]' || fail "the preview's first page shows $(barcodes) barcodes, not 21"
echo "Label Sheet... picked Avery L7160 and the preview shows 2 pages, 21 barcodes on the first"
