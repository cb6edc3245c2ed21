#!/bin/bash
# Quillon's file run against Zint's batch mode on the same lines, same machine.
#   bench/compare_zint.sh [LINES...]      (default: 10000 100000)
# For each size: builds quillon (Release), writes LINES lines ITEM-000000...,
# (CR LF line ends, as a Windows-made label file has) then runs, alternately and RUNS times each (default 3),
#   quillon lines.txt        Code 128 B, one column, "Save as PDF"
#   zint -b 20 --batch -i lines.txt -o 'out/~~~~~.png'
# and prints both median wall times, the ratio, the PDF's bytes per barcode
# and the peak memory of each. On a loaded machine the CPU times (also
# printed) say more than the wall times. Only the command line `quillon FILE` is used,
# on a private settings folder and a private PDF folder; no CUPS printer is
# seen, so the current printer is "Save as PDF".
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../scripts/common.sh
source "$root/scripts/common.sh"
runs=${RUNS:-3}
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(10000 100000)

ensure_packages zint time
build_project quillon
quillon=$root/build/quillon

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config QUILLON_PDF_DIR=$work/pdf CUPS_SERVER=$work/no-cups.sock
export QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME/Quillon"
printf '[options]\ntype1=True\ntype2=False\ntype4=False\ntype5=False\n' >"$XDG_CONFIG_HOME/Quillon/Quillon.conf"

median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

# timed LOG COMMAND...: runs COMMAND, appends "wall_s peak_kib cpu_s" to LOG.
timed() {
  local log=$1
  shift
  /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" >"$work/stdout" 2>"$work/stderr" || {
    echo "failed: $*" >&2
    cat "$work/stderr" >&2
    exit 1
  }
  awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$work/time" >>"$log"
}

echo "machine: $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "quillon $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?'), $(zint --version | head -1)"
for n in "${sizes[@]}"; do
  lines=$work/lines-$n.txt
  awk -v n="$n" 'BEGIN { for (i = 0; i < n; i++) printf "ITEM-%06d\r\n", i }' >"$lines"
  : >"$work/q.log"
  : >"$work/z.log"
  pdfBytes=0
  for ((r = 1; r <= runs; r++)); do
    rm -rf "$QUILLON_PDF_DIR"
    timed "$work/q.log" "$quillon" "$lines"
    pdf=$(head -1 "$work/stdout")
    [ -f "$pdf" ] || { echo "quillon wrote no PDF: $(cat "$work/stderr")" >&2; exit 1; }
    grep -q " $n barcode(s) from $n lines" "$work/stderr" || echo "warning: quillon did not say it printed $n barcodes: $(tail -1 "$work/stderr")" >&2
    pdfBytes=$(stat -c %s "$pdf")
    # A fresh folder each run, the old ones removed only after the last:
    # removing 10,000 files just before a run slows that run's file system
    # calls (zint's time is mostly creating its files).
    mkdir "$work/out-$r"
    timed "$work/z.log" zint -b 20 --batch -i "$lines" -o "$work/out-$r/~~~~~~.png"
    made=$(find "$work/out-$r" -name '*.png' | wc -l)
    [ "$made" -eq "$n" ] || { echo "zint wrote $made of $n files" >&2; exit 1; }
  done
  rm -rf "$work"/out-*
  qWall=$(cut -d' ' -f1 "$work/q.log" | median)
  zWall=$(cut -d' ' -f1 "$work/z.log" | median)
  qBest=$(cut -d' ' -f1 "$work/q.log" | sort -g | head -1)
  zBest=$(cut -d' ' -f1 "$work/z.log" | sort -g | head -1)
  qCpu=$(cut -d' ' -f3 "$work/q.log" | median)
  zCpu=$(cut -d' ' -f3 "$work/z.log" | median)
  qMem=$(cut -d' ' -f2 "$work/q.log" | sort -g | tail -1)
  zMem=$(cut -d' ' -f2 "$work/z.log" | sort -g | tail -1)
  awk -v n="$n" -v runs="$runs" -v q="$qWall" -v z="$zWall" -v b="$pdfBytes" -v qc="$qCpu" -v zc="$zCpu" -v qm="$qMem" -v zm="$zMem" -v qb="$qBest" -v zb="$zBest" 'BEGIN {
    printf "%d lines, median of %d: quillon %.2f s, zint %.2f s, quillon at %.2fx zint'"'"'s rate\n", n, runs, q, z, (q > 0 ? z / q : 0)
    printf "  fastest runs: quillon %.2f s, zint %.2f s, quillon at %.2fx zint'"'"'s rate\n", qb, zb, (qb > 0 ? zb / qb : 0)
    printf "  CPU (user+sys), median: quillon %.2f s, zint %.2f s, ratio %.2fx\n", qc, zc, (qc > 0 ? zc / qc : 0)
    printf "  PDF %d bytes, %.0f bytes per barcode; peak memory quillon %.1f MB, zint %.1f MB\n", b, b / n, qm / 1024, zm / 1024
  }'
done
