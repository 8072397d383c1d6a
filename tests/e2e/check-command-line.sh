#!/usr/bin/env bash
# The command line with no display at all: --version and --help print and exit 0 without
# touching the window system (which would abort here); any other argument gets one line on
# standard error, nothing on standard output and status 2.
#   check-command-line.sh PATH-TO-KADENO VERSION
set -uo pipefail
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for row in "0 kadeno $2;--version" "0 Usage: kadeno [--help | --version];--help" \
  "2 ;--bogus" "2 ;-platform offscreen" "2 ;--version --bogus" "2 ;-"; do
  # shellcheck disable=SC2086  # each row's arguments are a list of words
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb KADENO_MIDI_OUT=none \
    timeout 20 "$1" ${row#*;} >"$out/stdout" 2>"$out/stderr" </dev/null
  status=$?
  refused=$((status / 2))  # 0 or 1: the lines on stderr, each starting "kadeno: "
  [ "$status $(head -n 1 "$out/stdout")" = "${row%%;*}" ] && { [ $refused = 0 ] || [ ! -s "$out/stdout" ]; } &&
    [ "$(wc -l <"$out/stderr")" -eq $refused ] && [ "$(grep -c '^kadeno: ' "$out/stderr")" -eq $refused ] ||
    { echo "FAIL: kadeno ${row#*;}: status $status, printed: $(cat "$out/stdout" "$out/stderr")"; exit 1; }
done
# --version ends with the licence, as command-line programs' do.
env -u DISPLAY KADENO_MIDI_OUT=none timeout 20 "$1" --version </dev/null | tail -n 1 >"$out/last"
grep -qx 'Licence: MIT <https://opensource.org/license/mit>' "$out/last" ||
  { echo "FAIL: kadeno --version ends with: $(cat "$out/last")"; exit 1; }
echo "command line: --version, --help and refused arguments as expected"
