#!/usr/bin/env bash
# Builds the registry module, the advapi32 registry and the module's tests for 64-bit
# Windows with Debian's mingw-w64 cross compiler, so the Windows side at least compiles.
# The test program is left in build-cross-registry/ to be run on a Windows machine.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v x86_64-w64-mingw32-g++-posix >/dev/null || scripts/deps.sh test

cmake -S . -B build-cross-registry -DKADENO_REGISTRY_ONLY=ON \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
cmake --build build-cross-registry -j"${KADENO_JOBS:-2}" --target kadeno_registry test_registry_module
ls -l build-cross-registry/src/registry/test_registry_module.exe
