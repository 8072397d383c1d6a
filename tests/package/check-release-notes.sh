#!/usr/bin/env bash
# The releases, newest first, as NEWS names them (version and date) must be the ones the
# AppStream release list and the Debian changelog name, and the newest must be the
# project's version and release date in CMakeLists.txt, the one source both fill in.
#   tests/package/check-release-notes.sh [SOURCE-FOLDER]
set -euo pipefail
src=${1:-$(dirname "$0")/../..}
fail() { echo "FAIL: $*"; exit 1; }

version=$(sed -n 's/^project(Kadeno VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")
date=$(sed -n 's/^set(KADENO_RELEASE_DATE \([0-9-]*\))$/\1/p' "$src/CMakeLists.txt")
[ -n "$version" ] && [ -n "$date" ] || fail "no version or release date in CMakeLists.txt"
fill() { sed "s/@PROJECT_VERSION@/$version/g; s/@KADENO_RELEASE_DATE@/$date/g" "$1"; }

news=$(sed -n 's/^Kadeno \([0-9][0-9.]*\) (\([0-9-]*\))$/\1 \2/p' "$src/NEWS")
appstream=$(fill "$src/desktop/kadeno.metainfo.xml.in" |
  sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p')
# The changelog's dates are written out (RFC 2822), the newest one by CMake.
changelog=$(fill "$src/packaging/changelog.in" | sed "s/@KADENO_RELEASE_DATE_RFC2822@/$date/" |
  awk '/^kadeno \(/ { v = substr($2, 2, length($2) - 2) }
       /^ -- / { sub(/^.*  /, ""); print v, $0 }' |
  while read -r v when; do echo "$v $(date -u -d "$when" +%F)"; done)

[ "$(head -n 1 <<<"$news")" = "$version $date" ] ||
  fail "NEWS starts with '$(head -n 1 <<<"$news")', not the project's $version $date"
for list in appstream changelog; do
  [ "${!list}" = "$news" ] || fail "the $list releases differ from NEWS:
${!list}
--- NEWS:
$news"
done
echo "release notes: $(wc -l <<<"$news") releases, $version newest, alike in NEWS, AppStream and changelog"
