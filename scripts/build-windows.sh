#!/usr/bin/env bash
# Cross-builds Kadeno for 64-bit Windows with Debian's mingw-w64 (posix threads) into
# build-win/: kadeno.exe, statically linked so that it needs no DLL beyond Windows' own,
# the core's and the Win32 pieces' tests (tests/wine/run-wine-checks.sh runs them),
# and the zip for players, build-win/Kadeno-Windows.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v zip >/dev/null ||
  scripts/deps.sh test

options=()
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# So that ctest --test-dir build-win runs the tests under Wine (given a display).
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] && options+=(-DCMAKE_CROSSCOMPILING_EMULATOR="$wine")
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKADENO_WITH_QT=OFF -DKADENO_WITH_FLUIDSYNTH=OFF \
  -DKADENO_WITH_BENCH=OFF "${options[@]}"
cmake --build build-win -j"${KADENO_JOBS:-2}"

# Nothing but the system's DLLs may be needed.
ours=$(x86_64-w64-mingw32-objdump -p build-win/kadeno.exe | sed -n 's/^\s*DLL Name: //p' |
  tr 'A-Z' 'a-z' | grep -v -x -E '(kernel32|user32|gdi32|winmm|advapi32|shell32|ole32|msvcrt)\.dll' ||
  true)
[ -z "$ours" ] || { echo "kadeno.exe needs DLLs of its own: $ours"; exit 1; }

# The zip: the program without its symbols, its two waves, its catalogs and the read-me, in
# a folder.
stage=build-win/zip/Kadeno
rm -rf build-win/zip build-win/Kadeno-Windows.zip
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/kadeno.exe" build-win/kadeno.exe
cp data/TenMore.wav data/AddFifty.wav "$stage/"
# The catalogs, where the program looks for them: locale\<lang>\LC_MESSAGES\kadeno.mo.
if [ -d build-win/locale ]; then cp -r build-win/locale "$stage/"; fi
# Windows' Notepad reads CR LF best.
sed 's/$/\r/' data/README-Windows.txt >"$stage/README-Windows.txt"
(cd build-win/zip && TZ=UTC zip -q -X -9 -r ../Kadeno-Windows.zip Kadeno)
ls -l build-win/kadeno.exe build-win/Kadeno-Windows.zip
