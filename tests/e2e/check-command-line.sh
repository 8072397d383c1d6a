#!/usr/bin/env bash
# The program's command line, run with no display at all: --version and --help print and
# exit 0 without touching the window system (which would abort here); any other argument
# gets one line on standard error and exit status 2.
#   check-command-line.sh PATH-TO-KADENO VERSION
set -uo pipefail
exe=$1 version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: kadeno $*"; exit 1; }
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb KADENO_MIDI_OUT=none \
    timeout 20 "$exe" "$@" >"$out/stdout" 2>"$out/stderr" </dev/null
  status=$?
}

run --version
[ $status -eq 0 ] && [ "$(cat "$out/stdout")" = "kadeno $version" ] && [ ! -s "$out/stderr" ] ||
  fail "--version: status $status, printed '$(cat "$out/stdout" "$out/stderr")'"
run --help
[ $status -eq 0 ] && [ "$(head -n 1 "$out/stdout")" = "Usage: kadeno [--help | --version]" ] &&
  [ ! -s "$out/stderr" ] || fail "--help: status $status, printed '$(head -n 3 "$out/stdout" "$out/stderr")'"
for args in "--bogus" "-platform offscreen" "--version --bogus" "-"; do
  # shellcheck disable=SC2086  # each row is a list of words
  run $args
  [ $status -eq 2 ] && [ ! -s "$out/stdout" ] && [ "$(wc -l <"$out/stderr")" -eq 1 ] &&
    grep -q "^kadeno: " "$out/stderr" || fail "$args: status $status, printed '$(cat "$out/stdout" "$out/stderr")'"
done
echo "command line: --version, --help and refused arguments as expected"
