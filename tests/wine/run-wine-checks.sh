#!/usr/bin/env bash
# The Windows build's checks under Wine, on a private X display and in a private Wine
# prefix: the cross-built unit tests (the core's and the Win32 pieces'), then kadeno.exe
# against the Linux build end to end (wine_e2e.py): a new player's first game from the
# unpacked zip, then a game from the same settings file.
#   tests/wine/run-wine-checks.sh [BUILD-WIN] [LINUX-KADENO]
# Needs no standard input, no display and no sound card; runs as root or not.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build-win}" && pwd)
linux=$(realpath "${2:-$here/../../build/kadeno}")
# Again on a display of its own, in a private folder and home (tests/e2e/harness.py).
[ -n "${KADENO_PRIVATE:-}" ] || exec /usr/bin/python3 "$here/../e2e/harness.py" private "$0" "$build" "$linux"

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
command -v "$wine" >/dev/null || { echo "missing: $wine (scripts/deps.sh test installs it)"; exit 1; }
work=$KADENO_PRIVATE
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# No prompts to install Mono or Gecko: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
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
