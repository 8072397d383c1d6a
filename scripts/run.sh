#!/usr/bin/env bash
# Builds Kadeno and starts it. Installs the Debian packages it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"${KADENO_JOBS:-2}"
if [ ! -x build/kadeno ]; then
  echo "Built the game's core, but the window is not there yet: build/kadeno is missing." >&2
  exit 1
fi
exec build/kadeno "$@"
