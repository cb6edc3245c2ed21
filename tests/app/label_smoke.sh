#!/usr/bin/env bash
# Label sheets in the real window on a real X server, from the keyboard: the
# Options menu's "Label Sheet..." opens the dialog, a search for L7160 and
# Return pick Avery L7160, and File's "Print Preview..." shows the chosen
# file on two pages, the first with 21 barcodes (counted on a screenshot).
# Needs QUILLON_TEST_DISPLAY (test.sh starts Xvfb and sets it); exits 77
# (skipped) without one.
set -uo pipefail
binary=$1
display=${QUILLON_TEST_DISPLAY:-}
[ -n "$display" ] || { echo "QUILLON_TEST_DISPLAY not set: no X server to test on"; exit 77; }
tmp=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$tmp/config QUILLON_PDF_DIR=$tmp/pdf QUILLON_DEBUG=1
unset WAYLAND_DISPLAY
mkdir -p "$tmp/config/Quillon"
for i in $(seq 25); do echo "L$i"; done >"$tmp/lines.txt"
printf '[options]\nc1opt=Save as PDF\nfile=%s\n' "$tmp/lines.txt" >"$tmp/config/Quillon/Quillon.conf"
fail() { echo "FAIL: $*"; echo "--- stderr:"; cat "$tmp/err"; exit 1; }
"$binary" >"$tmp/out" 2>"$tmp/err" &
pid=$!
wait_for() { for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done; return 1; }
window_of() { xdotool search --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -1; }
shown() { test -n "$(window_of "$1")"; }
wait_for shown "Quillon - www.quillon.example" || fail "no main window"
win=$(window_of "Quillon - www.quillon.example")
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
sleep 1

xdotool key alt+o; sleep 0.3; xdotool key l
wait_for shown "Label Sheet" || fail "Label Sheet... opened no dialog"
xdotool windowfocus --sync "$(window_of "Label Sheet")"; sleep 0.3
xdotool type --delay 30 "L7160"; sleep 0.3; xdotool key Return
wait_for grep -qF "status: Labels: Avery L7160, from label 1" "$tmp/err" || fail "Avery L7160 was not chosen"

xdotool windowfocus --sync "$win"; sleep 0.3
xdotool key alt+f; sleep 0.3; xdotool key v
wait_for shown "Print Preview" || fail "Print Preview... opened no window"
wait_for grep -qF "preview: 2 page(s)" "$tmp/err" || fail "the preview does not show 2 pages"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$(window_of "Print Preview")")"
import -display "$display" -window root "$tmp/screen.png" 2>/dev/null || fail "screenshot failed"
convert "$tmp/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -colorspace gray -depth 8 "$tmp/preview.pgm" ||
  fail "convert failed"
# The first page: white from the first white pixel of the middle column
# down its left margin; on it, bands of dark rows split into marks by white
# gaps of 8 pixels or more.
count=$(python3 - "$tmp/preview.pgm" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace(): pos += 1
    end = pos
    while not data[end:end + 1].isspace(): end += 1
    fields.append(data[pos:end]); pos = end
w, h = int(fields[1]), int(fields[2]); px = data[pos + 1:]
at = lambda x, y: px[y * w + x] if 0 <= x < w and 0 <= y < h else 0
top, left = 0, w // 2
while top < h and at(left, top) != 255: top += 1
while at(left - 1, top) == 255: left -= 1
right = w // 2
while at(right + 1, top) == 255: right += 1
bottom = top
while at(left + 1, bottom + 1) == 255: bottom += 1
dark = lambda x, y: at(x, y) < 128
marks, y = 0, top + 2
while y < bottom - 2:
    if not any(dark(x, y) for x in range(left + 2, right - 1)): y += 1; continue
    y1 = y
    while y1 + 1 < bottom - 2 and any(dark(x, y1 + 1) for x in range(left + 2, right - 1)): y1 += 1
    gap, inside = 99, False
    for x in range(left + 2, right - 1):
        d = any(dark(x, yy) for yy in range(y, y1 + 1))
        if d and not inside and gap >= 8: marks += 1
        inside = d or (inside and gap < 8)
        gap = 0 if d else gap + 1
    y = y1 + 1
print(marks)
PY
)
[ "$count" = 21 ] || fail "the preview's first page shows $count barcodes, not 21"
echo "Label Sheet... picked Avery L7160 and the preview shows 2 pages, 21 barcodes on the first"
