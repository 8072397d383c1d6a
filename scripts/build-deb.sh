#!/usr/bin/env bash
# Builds the Debian package kadeno_<version>_<arch>.deb: a build of its own, configured for
# /usr with the program in /usr/games and Debian's hardening flags, then cpack.
#   scripts/build-deb.sh [BUILD-FOLDER]     (default build-deb)
# Prints the package's path on standard output, everything else on standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh deb >&2
build=${1:-build-deb}
jobs=${KADENO_JOBS:-2}

# The flags Debian builds its own packages with: fortified, stack-protected, read-only
# relocations bound at start-up.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_INSTALL_BINDIR=games -DKADENO_WITH_TESTS=OFF -DKADENO_WITH_BENCH=OFF >&2
cmake --build "$build" -j"$jobs" >&2
rm -f "$build"/kadeno_*.deb
(cd "$build" && cpack -G DEB >&2)
ls "$PWD/$build"/kadeno_*.deb
