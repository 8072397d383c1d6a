#!/usr/bin/env bash
# The Windows build's checks under Wine, on a private display and Wine prefix: the
# cross-built unit tests, then kadeno.exe against the Linux build (wine_e2e.py), then the
# installer: a silent install, a first game, a newer installer over it, a silent uninstall.
#   tests/wine/run-wine-checks.sh [BUILD-WIN] [LINUX-KADENO]
# Needs no standard input, no display and no sound card; runs as root or not.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build-win}" && pwd)
linux=$(realpath "${2:-$here/../../build/kadeno}")
[ -n "${KADENO_PRIVATE:-}" ] || exec /usr/bin/python3 "$here/../e2e/harness.py" private "$0" "$build" "$linux"

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
for tool in "$wine" makensis; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/deps.sh test installs it)"; exit 1; }
done
work=$KADENO_PRIVATE
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# No prompts to install Mono or Gecko, no menu entries in the desktop's menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wineserver=$(dirname "$wine")/wineserver
command -v "$wineserver" >/dev/null || wineserver=wineserver
trap '"$wineserver" -k 2>/dev/null || true' EXIT

echo "-- Wine prefix"
start=$(date +%s)
"$wine" wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log"; exit 1; }
# With no window manager, windows Wine thinks managed wait seconds to be withdrawn.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null
"$wineserver" -w
echo "ready in $(($(date +%s) - start)) s"

echo "-- unit tests under Wine"
status=0
for t in "$build"/tests/test_*.exe; do
  if "$wine" "$t" --gtest_brief=1 </dev/null >"$work/test.log" 2>&1; then
    echo "$(basename "$t"): $(grep -E '^\[  PASSED  \]' "$work/test.log")"
  else
    echo "$(basename "$t") FAILED:"; grep -v -e '^ALSA lib' "$work/test.log"; status=1
  fi
done
[ $status -eq 0 ] || exit 1

echo "-- kadeno.exe against the Linux build"
appdata=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -n 1)
# First, while %APPDATA% is as empty as a new player's.
/usr/bin/python3 "$here/wine_e2e.py" first "$linux" "$wine" "$build/Kadeno-Windows.zip" "$appdata"
/usr/bin/python3 "$here/wine_e2e.py" compare "$linux" "$wine" "$build/kadeno.exe" "$appdata" "$here/Kadeno.ini"

echo "-- the zip's kadeno.exe in German"
if [ -e "$here/../../po/de.po" ]; then
  /usr/bin/python3 "$here/wine_e2e.py" language "$wine" "$build/Kadeno-Windows.zip" \
    "$build/tests/read_box.exe" "$here/../../po/de.po"
fi

echo "-- the installer: install, play, update, uninstall"
inst=$(dirname "$appdata")/Local/Programs/Kadeno
lnk="$appdata/Microsoft/Windows/Start Menu/Programs/Kadeno.lnk"
own=$appdata/Kadeno/Kadeno.ini
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kadeno'
fail() { echo "installer: $*"; exit 1; }
# Each runs to its end: the uninstaller goes on in a copy of itself in %TEMP%.
run() { "$wine" "$@" </dev/null && "$wineserver" -w; }
# The Add/Remove Programs entry's values, one "name|type|value" a line; none once it is gone.
entry() {
  { "$wine" reg query "$key" </dev/null 2>/dev/null || true; } | tr -d '\r' |
    sed -n -E 's/^ +([^ ]+) {4}(REG_[A-Z_]+) {4}(.*)$/\1|\2|\3/p'
}
# The zip's files, no more, no less, and the uninstaller; the Start menu entry.
as_zip() {
  rm -rf "$work/zip" && /usr/bin/python3 -m zipfile -e "$build/Kadeno-Windows.zip" "$work/zip"
  diff -r -x uninstall.exe "$work/zip/Kadeno" "$inst" && [ -f "$inst/uninstall.exe" ] &&
    [ -f "$lnk" ] || fail "not installed as the zip is, with its Start menu entry"
}
check_entry() {
  local where size
  where=$(entry | sed -n 's/^InstallLocation|REG_SZ|//p')
  [[ $where == *'\AppData\Local\Programs\Kadeno' ]] || fail "installed in $where: $(entry)"
  for want in "DisplayName|REG_SZ|Kadeno" "DisplayVersion|REG_SZ|$1" \
    "Publisher|REG_SZ|The Kadeno developers" "DisplayIcon|REG_SZ|$where\kadeno.exe" \
    "UninstallString|REG_SZ|\"$where\uninstall.exe\"" \
    "QuietUninstallString|REG_SZ|\"$where\uninstall.exe\" /S"; do
    entry | grep -q -F -x "$want" || fail "no $want in: $(entry)"
  done
  # In KiB, the files' sizes give or take one for each file's rounding.
  size=$(($(entry | sed -n 's/^EstimatedSize|REG_DWORD|//p')))
  find "$inst" -type f -printf '%s\n' | awk -v k="$size" '{ b += $1; n++ }
    END { exit !(b > (k - n) * 1024 && b < (k + n) * 1024) }' || fail "EstimatedSize $size KiB"
}
version=$(basename "$build"/Kadeno-*-Setup.exe | sed 's/^Kadeno-\(.*\)-Setup.exe$/\1/')
rm -rf "$appdata/Kadeno"  # a new player's, as the checks above left settings
run "$build/Kadeno-$version-Setup.exe" /S || fail "the install failed"
as_zip
check_entry "$version"
/usr/bin/python3 "$here/wine_e2e.py" installed "$wine" "$inst/kadeno.exe" "$appdata"
# The player's own settings, then an update over an older program's files.
cp "$here/Kadeno.ini" "$own"
echo "an older version's" >"$inst/README-Windows.txt"
makensis -V1 -DVERSION=99.0.0 -DBUILD="$build" -DOUTFILE="$work/Kadeno-99.0.0-Setup.exe" \
  "$here/../../packaging/kadeno.nsi"
run "$work/Kadeno-99.0.0-Setup.exe" /S || fail "the update failed"
as_zip
check_entry 99.0.0
cmp "$here/Kadeno.ini" "$own" || fail "the update changed the settings file"
# What Program > Uninstall Kadeno removes goes too.
run reg add 'HKLM\SOFTWARE\Quenloft\Kadeno' /v Path /d 'C:\Kadeno' /f >/dev/null
run reg add 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run' /v Kadeno /d Kadeno.exe /f >/dev/null
run "$inst/uninstall.exe" /S || fail "the uninstall failed"
[ ! -e "$inst" ] || fail "left behind: $(find "$inst")"
[ ! -e "$lnk" ] || fail "the Start menu entry is left"
[ -z "$(entry)" ] || fail "the Add/Remove Programs entry is left: $(entry)"
for left in 'HKLM\SOFTWARE\Quenloft\Kadeno' 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run /v Kadeno'; do
  # shellcheck disable=SC2086 # the key and its value's name
  ! run reg query $left >/dev/null 2>&1 || fail "$left is left"
done
cmp "$here/Kadeno.ini" "$own" || fail "the uninstaller changed the settings file"
echo "installed $version, updated to 99.0.0 and removed; the settings file kept throughout"
