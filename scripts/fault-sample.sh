#!/usr/bin/env bash
# How many small deliberate faults do the fast tests catch? Each fault of the table
# (scripts/fault-sample.faults) is one textual substitution in one product source file. The
# faults are put, one at a time, into a copy of the tree (never the tree itself); the copy
# builds only its unit-test programs and runs `ctest -LE e2e` without the Qt and synthesiser
# labels (nor the placeholders of test programs not built, nor language_choice, which
# needs the program). A fault is caught when a test
# fails. Prints the catch rate and the missed faults.
#
#   scripts/fault-sample.sh [faults-file] [fault-id...]
#
# FAULT_SAMPLE_MATRIX=1 runs every test for every fault (no stop at the first failure) and
# writes, per fault, the tests that failed to $FAULT_SAMPLE_DIR/matrix.txt: a test that is
# never a fault's only catcher is a candidate for merging or removal.
#
# FAULT_SAMPLE_SUITE=fast builds everything instead and runs every test but the end-to-end
# ones (the Qt window's and the synthesiser's tests and language_choice among them);
# FAULT_SAMPLE_SUITE=whole runs the end-to-end ones too (minutes a fault).
#
# FAULT_SAMPLE_DIR (default build-faults) holds the copy and its build; it is kept between
# runs, so a second run only rebuilds what changed. FAULT_SAMPLE_REV=commit samples the
# tests of that commit instead of the working tree. Needs cmake, a C++ compiler and perl.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
faults=${1:-$root/scripts/fault-sample.faults}
shift $(($# > 0 ? 1 : 0))
only=" $* "
work=${FAULT_SAMPLE_DIR:-$root/build-faults}
tree=$work/tree
build=$tree/build
jobs=${KADENO_JOBS:-2}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
# The copy builds in a folder of its own: let it share the cache with the main build.
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

# The copy: everything but builds and history, of the working tree or, with
# FAULT_SAMPLE_REV, of that commit. Only files whose text changed are replaced, so that the
# copy's build stays incremental from one run to the next.
stage=$work/stage
rm -rf "$stage"
mkdir -p "$stage" "$tree"
if [ -n "${FAULT_SAMPLE_REV:-}" ]; then
  git -C "$root" archive "$FAULT_SAMPLE_REV" | tar -C "$stage" -xf -
else
  tar -C "$root" --exclude='./build*' --exclude=./.git --exclude=./fuzz-corpus -cf - . |
    tar -C "$stage" -xf -
fi
(cd "$tree" && find . -path ./build -prune -o -type f -print) | while read -r f; do
  [ -e "$stage/$f" ] || rm -f "$tree/$f"
done
(cd "$stage" && find . -type f) | while read -r f; do
  if ! cmp -s "$stage/$f" "$tree/$f"; then
    mkdir -p "$(dirname "$tree/$f")"
    cp "$stage/$f" "$tree/$f"
  fi
done
rm -rf "$stage"

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKADENO_WITH_BENCH=OFF \
  "${launcher[@]}" >"$work/configure.log" 2>&1 || {
  echo "configure failed: see $work/configure.log" >&2
  exit 2
}
# The unit-test programs: every test_ target but the platform ones.
mapfile -t targets < <(cmake --build "$build" --target help | sed -n 's/^\.\.\. \(test_[a-z0-9_]*\).*/\1/p' |
  grep -v -x -e test_qt -e test_fluidsynth -e test_win32 -e '.*_autogen')
[ ${#targets[@]} -gt 0 ] || {
  echo "no unit-test targets found" >&2
  exit 2
}

build_and_test() {
  local stop=(--stop-on-failure) skip=(-LE 'e2e|qt|synth' -E '_NOT_BUILT$|^language_choice$')
  [ -n "${FAULT_SAMPLE_MATRIX:-}" ] && stop=()
  if [ -n "${FAULT_SAMPLE_SUITE:-}" ]; then
    cmake --build "$build" -j"$jobs" >"$work/build.log" 2>&1 || return 2
    skip=(-LE e2e -E '_NOT_BUILT$')
    [ "$FAULT_SAMPLE_SUITE" = whole ] && skip=(-E '_NOT_BUILT$')
  else
    cmake --build "$build" -j"$jobs" --target "${targets[@]}" >"$work/build.log" 2>&1 || return 2
  fi
  # Without FAULT_SAMPLE_SUITE, language_choice is left out: it runs the program itself,
  # which the copy does not build.
  ctest --test-dir "$build" "${skip[@]}" -j"$jobs" --timeout 600 "${stop[@]}" \
    >"$work/ctest.log" 2>&1 || return 1
  return 0
}

# Whatever happens, the file under test gets its own text back.
current=""
restore() {
  if [ -n "$current" ]; then
    cp "$work/original" "$tree/$current"
    current=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

echo "== baseline: $(IFS=,; echo "${targets[*]}")"
build_and_test
case $? in
  0) ;;
  2) echo "the tree does not build: see $work/build.log" >&2; exit 2 ;;
  *) echo "the tests fail without any fault: see $work/ctest.log" >&2; exit 2 ;;
esac

total=0 caught=0 missed=() skipped=()
results=$work/results.txt
matrix=$work/matrix.txt
: >"$results"
: >"$matrix"
while IFS=$'\t' read -r id file pattern replacement what; do
  [[ -z "$id" || "$id" == \#* ]] && continue
  [[ "$only" == "  " || "$only" == *" $id "* ]] || continue
  pattern=${pattern//\\n/$'\n'} replacement=${replacement//\\n/$'\n'}
  if [ ! -f "$tree/$file" ] ||
    ! PAT=$pattern perl -0ne 'exit(index($_, $ENV{PAT}) >= 0 ? 0 : 3)' "$tree/$file"; then
    skipped+=("$id (text not found in $file)")
    echo "skip    $id: text not found in $file"
    continue
  fi
  cp "$tree/$file" "$work/original"
  current=$file
  # The first occurrence only, as plain text.
  PAT=$pattern REP=$replacement perl -0pi -e 's/\Q$ENV{PAT}\E/$ENV{REP}/' "$tree/$file"
  start=$SECONDS
  build_and_test
  rc=$?
  restore
  case $rc in
    2)
      skipped+=("$id (does not compile)")
      echo "skip    $id: does not compile"
      continue
      ;;
    1)
      verdict=caught caught=$((caught + 1))
      printf '%s\t%s\n' "$id" "$(sed -n 's/^[[:space:]]*[0-9][0-9]* - \([^ ]*\) (.*/\1/p' "$work/ctest.log" | tr '\n' ' ')" >>"$matrix"
      ;;
    *) verdict=MISSED missed+=("$id: $what") ;;
  esac
  total=$((total + 1))
  printf '%-7s %s (%ds): %s\n' "$verdict" "$id" $((SECONDS - start)) "$what" | tee -a "$results"
done <"$faults"

# The copy ends as it began; its objects are rebuilt from the restored sources next time.
echo
if [ "$total" -gt 0 ]; then
  echo "caught $caught of $total faults ($((100 * caught / total)) %)"
else
  echo "no fault was run"
fi
if [ ${#missed[@]} -gt 0 ]; then
  echo "missed:"
  printf '  %s\n' "${missed[@]}"
fi
if [ ${#skipped[@]} -gt 0 ]; then
  echo "not run:"
  printf '  %s\n' "${skipped[@]}"
fi
