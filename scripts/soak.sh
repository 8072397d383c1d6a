#!/usr/bin/env bash
# Does the whole suite hold on a loaded machine? Runs every test of an already built tree
# (ctest, the end-to-end scenarios included) and, with --wine, the Windows build's checks
# under Wine, RUNS times in a row, while one endless loop per core and one that starts
# short processes all the time (as a build does) keep the machine busy. Stops at the first
# failing run and keeps its output.
#
#   scripts/soak.sh [--wine] [RUNS, default 10]
#
# Needs build/ (and build-win/ with --wine) from scripts/test.sh. Each run's output goes to
# soak/run-N.log; soak/summary.txt has one line a run: its number, its result and its time.
set -uo pipefail
cd "$(dirname "$0")/.."
wine=0
if [ "${1:-}" = --wine ]; then
  wine=1
  shift
fi
runs=${1:-10}
[ -f build/CTestTestfile.cmake ] || { echo "build/ is not built: run scripts/test.sh first" >&2; exit 2; }
[ "$wine" = 0 ] || [ -f build-win/kadeno.exe ] || { echo "build-win/ is not built" >&2; exit 2; }

mkdir -p soak
: >soak/summary.txt
loads=()
for _ in $(seq "$(nproc)"); do
  sh -c 'while :; do :; done' &
  loads+=($!)
done
sh -c 'while :; do /bin/true; done' &
loads+=($!)
trap 'kill "${loads[@]}" 2>/dev/null' EXIT

passed=0
for run in $(seq "$runs"); do
  start=$SECONDS
  {
    echo "== run $run, load average $(cut -d' ' -f1-3 /proc/loadavg)"
    ctest --test-dir build --output-on-failure -j"${KADENO_JOBS:-2}" &&
      if [ "$wine" = 1 ]; then tests/wine/run-wine-checks.sh build-win build/kadeno; fi
  } >"soak/run-$run.log" 2>&1
  rc=$?
  verdict=$([ $rc = 0 ] && echo passed || echo FAILED)
  printf 'run %d: %s in %d s\n' "$run" "$verdict" $((SECONDS - start)) | tee -a soak/summary.txt
  [ $rc = 0 ] || { echo "see soak/run-$run.log" >&2; exit 1; }
  passed=$((passed + 1))
done
echo "$passed of $runs runs passed in a row under load" | tee -a soak/summary.txt
