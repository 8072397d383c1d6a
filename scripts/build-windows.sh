#!/usr/bin/env bash
# Cross-builds Kadeno for 64-bit Windows with Debian's mingw-w64 (posix threads) into
# build-win/ (or the folder given): kadeno.exe, statically linked so that it needs no DLL
# beyond Windows' own, the core's and the Win32 pieces' tests (tests/wine/run-wine-checks.sh
# runs them), the zip for players, build-win/Kadeno-Windows.zip, and the installer that lays
# down the same files, build-win/Kadeno-VERSION-Setup.exe (packaging/kadeno.nsi).
#   scripts/build-windows.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v zip >/dev/null &&
  command -v makensis >/dev/null || scripts/deps.sh test

options=()
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# So that ctest --test-dir build-win runs the tests under Wine (given a display).
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] && options+=(-DCMAKE_CROSSCOMPILING_EMULATOR="$wine")
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKADENO_WITH_QT=OFF -DKADENO_WITH_FLUIDSYNTH=OFF \
  -DKADENO_WITH_BENCH=OFF "${options[@]}"
cmake --build "$build" -j"${KADENO_JOBS:-2}"

# Nothing but the system's DLLs may be needed.
ours=$(x86_64-w64-mingw32-objdump -p "$build/kadeno.exe" | sed -n 's/^\s*DLL Name: //p' |
  tr 'A-Z' 'a-z' | grep -v -x -E '(kernel32|user32|gdi32|winmm|advapi32|shell32|ole32|msvcrt)\.dll' ||
  true)
[ -z "$ours" ] || { echo "kadeno.exe needs DLLs of its own: $ours"; exit 1; }

# The zip: in a folder, the program without its symbols and beside it its data (the waves
# and the default settings a new player starts from) and its texts.
stage=$build/zip/Kadeno
rm -rf "$build/zip" "$build/Kadeno-Windows.zip"
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/kadeno.exe" "$build/kadeno.exe"
# As they are: the settings file has its CR LF endings already.
cp data/TenMore.wav data/AddFifty.wav "$build/Kadeno-default.ini" "$stage/"
# The catalogs, where the program looks for them: locale\<lang>\LC_MESSAGES\kadeno.mo.
if [ -d "$build/locale" ]; then cp -r "$build/locale" "$stage/"; fi
# Texts, source and name in the zip: with CR LF endings, which Windows' Notepad reads best.
while read -r from to; do
  sed 's/$/\r/' "$from" >"$stage/$to"
done <<EOF_TEXTS
data/README-Windows.txt README-Windows.txt
LICENSE LICENSE.txt
EOF_TEXTS
(cd "$build/zip" && TZ=UTC zip -q -X -9 -r ../Kadeno-Windows.zip Kadeno)

# The installer: the zip's folder, and for its uninstaller the lines that remove each file
# and then each folder, the deepest first.
version=$(sed -n 's/^project(Kadeno VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
(
  cd "$stage"
  find . -type f | LC_ALL=C sort | sed 's|^\./\(.*\)|Delete "$INSTDIR\\\1"|'
  find . -mindepth 1 -type d | LC_ALL=C sort -r | sed 's|^\./\(.*\)|RMDir "$INSTDIR\\\1"|'
) | tr / '\\' >"$build/uninstall-files.nsh"
rm -f "$build"/Kadeno-*-Setup.exe
makensis -V2 -DVERSION="$version" -DBUILD="$(realpath "$build")" \
  -DOUTFILE="$(realpath "$build")/Kadeno-$version-Setup.exe" packaging/kadeno.nsi
ls -l "$build/kadeno.exe" "$build/Kadeno-Windows.zip" "$build/Kadeno-$version-Setup.exe"
