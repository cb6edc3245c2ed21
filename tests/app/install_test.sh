#!/usr/bin/env bash
# The command-line program loads no widgets; cmake --install into a
# temporary prefix: the program, the desktop entry,
# the icon, the AppStream data and the man page, checked by their validators;
# then the .deb that cpack builds, its contents listed.
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# The command line's forms (--export, a file, --range) run without widgets:
# the program does not even load them, nor CUPS until it prints.
if ldd "$build/quillon" | grep -E 'libQt6Widgets|libQt6PrintSupport|libcups'; then
  echo "quillon loads the widgets or CUPS at start"; exit 1
fi
cmake --install "$build" --prefix "$tmp/p" >/dev/null
for f in bin/quillon libexec/quillon/quillon-window share/applications/quillon.desktop share/icons/hicolor/scalable/apps/quillon.svg \
         share/metainfo/io.github.quillon.Quillon.metainfo.xml share/man/man1/quillon.1; do
  [ -s "$tmp/p/$f" ] || { echo "not installed: $f"; exit 1; }
done
"$tmp/p/bin/quillon" --version | grep -qx 'quillon 4.1.0' || { echo "the installed quillon does not run"; exit 1; }
desktop-file-validate "$tmp/p/share/applications/quillon.desktop"
appstreamcli validate --no-net "$tmp/p/share/metainfo/io.github.quillon.Quillon.metainfo.xml"
# Every form and exit status of the command line is in the man page.
man=$(sed 's/\\-/-/g; s/\\f[BIR]//g' "$tmp/p/share/man/man1/quillon.1")
for word in --export --range --list-printers --help --version --symbology --pattern --include-pattern \
            --no-include-pattern --columns --no-columns --print-line --no-print-line --text-line \
            --no-text-line --bar-height --font-size --width --quiet-zone --printer --output --pause; do
  grep -q -- "$word" <<<"$man" || { echo "man page lacks $word"; exit 1; }
done
command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null || {
  echo "dpkg-deb or dpkg-shlibdeps missing: the .deb is not checked"; exit 0; }
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/deb" >/dev/null)
deb=$(ls "$tmp"/deb/*.deb)
dpkg-deb --contents "$deb" | awk '{print $6}' | tee "$tmp/contents"
grep -q '^./usr/bin/quillon$' "$tmp/contents"
grep -q '^./usr/libexec/quillon/quillon-window$' "$tmp/contents"
grep -q '^./usr/share/applications/quillon.desktop$' "$tmp/contents"
dpkg-deb --field "$deb" Depends | tee "$tmp/depends"
grep -q 'libqt6widgets6' "$tmp/depends" || { echo "shlibdeps named no Qt library"; exit 1; }
grep -q 'libcups2' "$tmp/depends" || { echo "libcups2, loaded when printing, is not a dependency"; exit 1; }
# The packaged program runs.
dpkg-deb -x "$deb" "$tmp/x"
"$tmp/x/usr/bin/quillon" --version
