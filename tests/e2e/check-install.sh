#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that a Linux desktop finds the
# program there: the executable, its wave files, the menu entry and its icon, the software
# centre's data and the manual page.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
[ -x "$prefix/bin/kadeno" ] || fail "no bin/kadeno"
for wave in TenMore AddFifty; do
  [ -s "$prefix/share/kadeno/$wave.wav" ] || fail "no share/kadeno/$wave.wav"
done
entry="$prefix/share/applications/kadeno.desktop"
[ -f "$entry" ] || fail "no menu entry"
grep -qx 'Type=Application' "$entry" || fail "the entry is not an application"
grep -qx 'Exec=kadeno' "$entry" || fail "the entry does not start kadeno"
grep -qx 'Icon=kadeno' "$entry" || fail "the entry names no kadeno icon"
[ -f "$prefix/share/icons/hicolor/scalable/apps/kadeno.svg" ] || fail "no scalable icon"
ls "$prefix"/share/metainfo/*.metainfo.xml >/dev/null 2>&1 || fail "no AppStream data"
[ -s "$prefix/share/man/man6/kadeno.6.gz" ] || fail "no manual page"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry"; fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/kadeno.svg"
fi
echo "installed: program, waves, menu entry, icon, AppStream data and manual page"
