#!/usr/bin/env bash
# Builds Kadeno and runs every test: the whole suite, the Debian package and the program
# unpacked from it, then the core and the synthesiser again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of each fuzzer. Installs the Debian
# packages it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test

jobs=${KADENO_JOBS:-2}

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== without the built-in synthesiser: the message log and no device only"
cmake -S . -B build-nosynth -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKADENO_WITH_FLUIDSYNTH=OFF
cmake --build build-nosynth -j"$jobs"
ctest --test-dir build-nosynth --output-on-failure -j"$jobs" -L unit
build-nosynth/kadeno --version

echo "== Debian package"
deb=$(scripts/build-deb.sh build-deb)
tests/package/check-deb.sh "$deb"

echo "== sanitizers (address, undefined)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKADENO_SANITIZE=ON \
  -DKADENO_WITH_QT=OFF -DKADENO_WITH_BENCH=OFF
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== fuzzers (smoke run; see README for the long run)"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKADENO_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DKADENO_WITH_QT=OFF -DKADENO_WITH_FLUIDSYNTH=OFF \
  -DKADENO_WITH_TESTS=OFF -DKADENO_WITH_BENCH=OFF
cmake --build build-fuzz -j"$jobs"
for f in build-fuzz/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  echo "-- $f"
  "$f" -max_total_time="${KADENO_FUZZ_SECONDS:-20}" -max_len=4096 2>&1 | tail -n 2
done

echo "== Windows: cross build, zip, and the checks under Wine"
scripts/build-windows.sh
tests/wine/run-wine-checks.sh build-win build/kadeno
echo "All tests passed."
