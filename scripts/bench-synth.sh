#!/usr/bin/env bash
# Runs the built-in synthesiser's benchmarks a few times each. Where no sound server
# answers (a build machine), it starts a private PulseAudio server with a null sink for
# the run and stops it afterwards; the figures are then those of PulseAudio's protocol
# and buffering without a sound card's clock behind them.
#   scripts/bench-synth.sh [build dir, default build] [runs, default 5]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-5}

server_pid=
if ! pactl info >/dev/null 2>&1; then
  command -v pulseaudio >/dev/null || { echo "no sound server and no pulseaudio to start" >&2; exit 1; }
  dir=$(mktemp -d)
  cat >"$dir/null.pa" <<PA
load-module module-null-sink sink_name=kadeno_bench
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/socket
set-default-sink kadeno_bench
PA
  pulseaudio -n -F "$dir/null.pa" --exit-idle-time=-1 --daemonize=no --log-target=file:"$dir/log" &
  server_pid=$!
  trap 'kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null; rm -rf "$dir"' EXIT
  export PULSE_SERVER=unix:$dir/socket
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || { echo "the private PulseAudio server did not start:" >&2; cat "$dir/log" >&2; exit 1; }
  echo "== private PulseAudio server with a null sink"
fi

for i in $(seq "$runs"); do
  echo "== latency, run $i"
  "$build/bench/bench_fluidsynth_latency" 300
done
for i in $(seq "$runs"); do
  echo "== start-up, run $i"
  "$build/bench/bench_fluidsynth_startup"
done
