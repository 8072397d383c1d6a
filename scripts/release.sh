#!/usr/bin/env bash
# Makes the release files of the commit checked out, from a clean tree: the Debian package,
# the Windows zip and the Windows installer, each built afresh in build-release/, and their
# checksums. Leaves
#   release/kadeno_VERSION_ARCH.deb  release/Kadeno-VERSION-Windows.zip
#   release/Kadeno-VERSION-Setup.exe  release/SHA256SUMS
# VERSION is project(VERSION) in CMakeLists.txt; NEWS, the AppStream release list and the
# Debian changelog must name it (tests/package/check-release-notes.sh).
#   scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# What is released is a commit: no change, and nothing untracked that a build could take in.
if [ -n "$(git status --porcelain)" ]; then
  echo "release.sh: the tree is not clean; commit or remove first:" >&2
  git status --short >&2
  exit 1
fi
tests/package/check-release-notes.sh
version=$(sed -n 's/^project(Kadeno VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)

out=release
rm -rf build-release "$out"
mkdir -p "$out"
deb=$(scripts/build-deb.sh build-release/deb)
scripts/build-windows.sh build-release/win
cp "$deb" "$out/"
cp build-release/win/Kadeno-Windows.zip "$out/Kadeno-$version-Windows.zip"
cp "build-release/win/Kadeno-$version-Setup.exe" "$out/"
(
  cd "$out"
  files=("$(basename "$deb")" "Kadeno-$version-Windows.zip" "Kadeno-$version-Setup.exe")
  sha256sum -- "${files[@]}" >SHA256SUMS
  # The folder holds these three and SHA256SUMS, which lists every other file once, and
  # each checksum holds.
  [ "$(ls | grep -v -x SHA256SUMS | LC_ALL=C sort)" = "$(cut -d' ' -f3- SHA256SUMS | LC_ALL=C sort)" ] &&
    sha256sum --strict -c SHA256SUMS || { echo "release.sh: SHA256SUMS does not hold" >&2; exit 1; }
)
echo "release $version of $(git rev-parse --short HEAD) in $out/:"
ls -l "$out"
