#!/usr/bin/env bash
# The real window on a real X server, driven with xdotool: the first keys
# typed replace the prompt and become a barcode the decoders read from a
# screenshot, every menu opens with its access key, Help and About show and
# are answered, the settings panel hides (the window ends under the button
# row) and shows whole (its lowest box takes a click and a value), Print goes
# through "Save as PDF" and the status line names the PDF, the chooser leaves
# a typed path as it was, a new barcode clears the status line, and Ctrl+Q
# ends the program.
# Needs QUILLON_TEST_DISPLAY (test.sh starts Xvfb and sets it); exits 77
# (skipped) without one.
set -uo pipefail
binary=$1
display=${QUILLON_TEST_DISPLAY:-}
[ -n "$display" ] || { echo "QUILLON_TEST_DISPLAY not set: no X server to test on"; exit 77; }
tools=${QUILLON_SHARED_TOOLS:-}
tmp=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$tmp/config QUILLON_PDF_DIR=$tmp/pdf QUILLON_DEBUG=1
unset WAYLAND_DISPLAY
mkdir -p "$tmp/config/Quillon"
printf '[options]\nc1opt=Save as PDF\n' >"$tmp/config/Quillon/Quillon.conf"
fail() { echo "FAIL: $*"; echo "--- stderr:"; cat "$tmp/err"; exit 1; }
"$binary" >"$tmp/out" 2>"$tmp/err" &
pid=$!
title="Quillon - www.quillon.example"
# wait_for CONDITION...: up to 10 s.
wait_for() { for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done; return 1; }
has_window() { xwininfo -root -tree 2>/dev/null | grep -q "\"$1\""; }
wait_for has_window "$title" || fail "no window titled '$title' appeared"
win=$(xdotool search --pid "$pid" --name "^$title\$" | head -1)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
sleep 1.5  # a loaded machine may still be laying the window out
visible() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
base=$(visible)

# The prompt starts selected: the first keys typed replace it, and the
# decoders read the barcode on the screen.
xdotool type --delay 30 "X1"
sleep 1
import -display "$display" -window root "$tmp/screen.png" 2>/dev/null || fail "screenshot failed"
convert "$tmp/screen.png" -crop 700x200+0+0 +repage -scale 300% "$tmp/big.png"
if [ -n "$tools" ]; then
  DECODE_SYM=code128 bash "$tools/decode.sh" "$tmp/big.png" X1 || fail "the screen's barcode does not read X1"
fi

# Each menu opens with its access key (a popup window shows), Escape closes it.
for key in f e o h; do
  xdotool key "alt+$key"
  wait_for test "$(visible)" -gt "$base" || fail "alt+$key opened no menu"
  xdotool key Escape Escape
  wait_for test "$(visible)" -eq "$base" || fail "the menu of alt+$key did not close"
done
# Help and About: message boxes titled "Quillon 4.1", answered with Return.
for keys in "alt+h h" "alt+h a"; do
  xdotool key ${keys%% *}; sleep 0.3; xdotool key ${keys##* }
  wait_for has_window "Quillon 4.1" || fail "$keys showed no box titled 'Quillon 4.1'"
  xdotool key Return
  wait_for eval '! has_window "Quillon 4.1"' || fail "the box of $keys did not close"
  xdotool windowfocus --sync "$win"; sleep 0.3  # no window manager gives the focus back
done
# Hide and show the settings panel: the controls end where the panel starts
# (2640 twips) or at the bottom (6330), at 15 twips a pixel times 1.4.
px() { echo $((($1 * 14 + 75) / 150)); }
height() { xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p'; }
full=$(height)
[ "$full" -le "$(xwininfo -root | sed -n 's/.*Height: //p')" ] || fail "the window ($full) is taller than the screen"
for step in h:$((full - $(px 6330) + $(px 2640))) s:$full; do
  expected=${step#*:}
  xdotool key alt+o; sleep 0.3; xdotool key "${step%%:*}"
  wait_for test "$(height)" -eq "$expected" || fail "window height $(height), expected $expected"
done

# Print through "Save as PDF": a PDF appears and the status line names it.
xdotool key ctrl+p
wait_for eval 'ls "$tmp"/pdf/*.pdf >/dev/null 2>&1' || fail "Print wrote no PDF"
pdf=$(ls "$tmp"/pdf/*.pdf)
wait_for grep -qF "status: 1 barcode printed to $pdf (Save as PDF)" "$tmp/err" || fail "no status line naming $pdf"

# Click at a place of the inner area in twips; above it the menu bar, about
# as high as the status bar below it.
conf=$tmp/config/Quillon/Quillon.conf
menubar=$(((full - $(px 6330)) / 2))
click() { xdotool mousemove --window "$win" "$(px "$1")" $((menubar + $(px "$2"))) click 1; sleep 0.3; }
# set_box X Y VALUE KEY: the box whose centre is at X Y takes VALUE, saved under KEY.
set_box() {
  click "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 30 "$3"
  wait_for grep -qxF "$4=$3" "$conf" || fail "the box at $1,$2 twips did not take $3 ($4): not in view?"
}
set_box 5407 5902 3 barcodeoffset15  # the panel's lowest box, the top offset

# The chooser leaves a typed path alone: type one, Browse, change the path in
# the chooser, Cancel; Print File still prints the typed file.
printf 'T1\n' >"$tmp/typed.txt"
set_box 1867 5182 "$tmp/typed.txt" file
click 3967 5167
wait_for has_window File || fail "Browse opened no chooser"
chooser=$(xdotool search --pid "$pid" --name '^File$' | grep -vx "$win" | head -1)
xdotool windowfocus --sync "$chooser"; sleep 0.3
xdotool key ctrl+a; xdotool type --delay 30 "/elsewhere.txt"; sleep 0.3
xdotool key shift+Tab space  # from the path box back round to Cancel
wait_for eval '! has_window File' || fail "Cancel did not close the chooser"
xdotool windowfocus --sync "$win"; sleep 0.3
xdotool key alt+e; sleep 0.3; xdotool key f
wait_for grep -qF "status: 1 barcode(s) from 1 lines of typed.txt printed to" "$tmp/err" ||
  fail "Print File did not print the typed file after Cancel"

# A new barcode clears the status line of the last command.
click 3000 502; xdotool key ctrl+a; xdotool type --delay 30 "NEW1"
wait_for eval '[ "$(grep "status:" "$tmp/err" | tail -1)" = "quillon: status: " ]' ||
  fail "the status line kept: $(grep "status:" "$tmp/err" | tail -1)"

# Ctrl+Q ends the program with status 0.
xdotool key ctrl+q
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "Ctrl+Q did not end the program"
wait "$pid"; status=$?; pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Ctrl+Q"
echo "prompt, menus, Help, About, settings panel, barcode on screen, Print to $pdf, chooser, status line and Ctrl+Q all work"
