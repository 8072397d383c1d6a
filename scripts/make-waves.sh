#!/usr/bin/env bash
# Makes the game's two award sounds, data/TenMore.wav (after a chord) and
# data/AddFifty.wav (after a scale): a short rising chime, then the award spoken.
# The sounds are our own, made from nothing but espeak-ng and sox, so anyone can
# rebuild or change them. Output: mono, 22050 Hz, 16 bit, normalised to -1 dBFS.
#   scripts/make-waves.sh [output folder, default data/]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-data}
for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh test installs it)" >&2; exit 1; }
done

# Repeatable mode: the same tools give the same files, byte for byte.
sox() { command sox -R "$@"; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
rate=22050

# chime NAME FREQ...: quick plucked sine notes one after another, each 90 ms.
chime() {
  local name=$1; shift
  local parts=()
  local i=0
  for f in "$@"; do
    sox -n -r $rate -c 1 -b 16 "$tmp/$name-$i.wav" synth 0.09 sine "$f" fade q 0.005 0.09 0.06 vol 0.5
    parts+=("$tmp/$name-$i.wav")
    i=$((i + 1))
  done
  sox "${parts[@]}" "$tmp/$name-chime.wav"
}

# say NAME TEXT: the words in a clear, brisk voice, silence trimmed from both ends.
say() {
  espeak-ng -v en-gb -s 165 -p 55 -w "$tmp/$1-raw.wav" "$2"
  sox "$tmp/$1-raw.wav" -r $rate -c 1 -b 16 "$tmp/$1-voice.wav" \
    silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse
}

make() {
  local name=$1 text=$2; shift 2
  chime "$name" "$@"
  say "$name" "$text"
  sox "$tmp/$name-chime.wav" "$tmp/$name-voice.wav" -r $rate -c 1 -b 16 "$out/$name.wav" \
    norm -1 fade t 0 -0 0.03
  echo "$out/$name.wav: $(soxi -D "$out/$name.wav") s"
}

make TenMore "Ten more!" 784 1047
make AddFifty "Add fifty!" 523 659 784 1047
