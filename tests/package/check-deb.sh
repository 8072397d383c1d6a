#!/usr/bin/env bash
# Checks the Debian package as a distribution and a desktop would, then the program
# unpacked from it on its command line and end to end.
#   tests/package/check-deb.sh PATH/kadeno_VERSION_ARCH.deb
set -euo pipefail
deb=$1
here=$(cd "$(dirname "$0")/.." && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

version=$(dpkg-deb -f "$deb" Version)
[ "$(basename "$deb")" = "kadeno_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "the package is named $(basename "$deb") for version $version"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "not in the games section"
depends=$(dpkg-deb -f "$deb" Depends)
names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
# The libraries come from dpkg-shlibdeps, the soundfont by hand.
for want in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libfluidsynth3 libsndfile1 \
  timgm6mb-soundfont; do
  grep -Fxq "$want" <<<"$names" || fail "Depends lacks $want: $depends"
done

# What a desktop needs, nothing elsewhere; the default settings read-only (a new player's
# first save writes a file of their own).
listing=$(dpkg-deb -c "$deb")
for path in games/kadeno share/kadeno/{TenMore\\.wav,AddFifty\\.wav,Kadeno-default\\.ini} \
  share/applications/kadeno\\.desktop share/icons/hicolor/scalable/apps/kadeno\\.svg \
  share/man/man6/kadeno\\.6\\.gz 'share/metainfo/[a-z0-9.]+\.metainfo\.xml' \
  share/doc/kadeno/{copyright,changelog\\.gz}; do
  mode=$([ "$path" = games/kadeno ] && echo -rwxr-xr-x || echo -rw-r--r--)
  grep -Eq "^$mode root/root .* \./usr/$path$" <<<"$listing" || fail "no /usr/$path ($mode) in the package"
done
strays=$(awk '{print $NF}' <<<"$listing" | grep -Ev '^\./usr/(games|share)/' | grep -Evx '\./(usr/)?' || true)
[ -z "$strays" ] || fail "files outside /usr/games and /usr/share: $strays"
owners=$(awk '{print $2}' <<<"$listing" | sort -u)
[ "$owners" = root/root ] || fail "files owned by $owners"

echo "-- lintian (errors fail; warnings listed)"
lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' ||
  [ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian found errors"

# Pedantic, for what a distribution asks of the copyright file and the licence.
licence=$(lintian --pedantic --display-info --tag-display-limit 0 "$deb" 2>&1 | grep -Ei 'copyright|licen[cs]e' || true)
[ -z "$licence" ] || fail "lintian on the licence: $licence"

dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/kadeno.desktop"
# Every catalog where gettext looks for it; the menu entry and AppStream summary in each.
for po in "$here"/../po/*.po; do
  [ -e "$po" ] || continue
  lang=$(basename "$po" .po)
  grep -Eq "^-rw-r--r-- root/root .* \./usr/share/locale/$lang/LC_MESSAGES/kadeno\.mo$" <<<"$listing" ||
    fail "no catalog for $lang in the package"
  grep -q "^Comment\[$lang\]=" "$root/usr/share/applications/kadeno.desktop" ||
    fail "the menu entry has no comment in $lang"
  grep -q "<summary xml:lang=\"$lang\">" "$root"/usr/share/metainfo/*.metainfo.xml ||
    fail "the AppStream data has no summary in $lang"
done
metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate-tree --no-net --pedantic "$root" >/dev/null ||
  appstreamcli validate-tree --no-net --pedantic "$root"
grep -q "<project_license>MIT</project_license>" "$metainfo" || fail "the AppStream data names no licence"
! appstreamcli validate --no-net --pedantic "$metainfo" 2>&1 | grep -i 'licen' ||
  fail "appstreamcli has a word about the licence"
grep -q "<launchable type=\"desktop-id\">kadeno.desktop</launchable>" "$metainfo" ||
  fail "the AppStream data does not launch kadeno.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "no AppStream release $version"
zcat "$root/usr/share/doc/kadeno/changelog.gz" | head -n 1 | grep -q "^kadeno ($version)" ||
  fail "the changelog does not start with $version"
# The manual page reads without a complaint from groff.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$root/usr/share/man/man6/kadeno.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page: $warnings"
echo "package: name, Depends, files, lintian, menu entry, AppStream and manual page pass"

# The program unpacked: its command line, a catalog where the package puts it, a walk and
# a new player's first game from the shipped defaults.
exe=$root/usr/games/kadeno
german=$(/usr/bin/python3 -c 'import polib, sys; print(polib.pofile(sys.argv[1]).find(sys.argv[2]).msgstr)' \
  "$here/../po/de.po" "kadeno: unknown argument '%1' (try kadeno --help)")
[ "$(KADENO_LANG=de "$exe" --x 2>&1)" = "${german//%1/--x}" ] ||
  fail "the packaged program does not answer in German"
/usr/bin/python3 "$here/e2e/harness.py" command_line "$exe" "$version"
/usr/bin/python3 "$here/e2e/harness.py" language "$exe" en
/usr/bin/python3 "$here/e2e/harness.py" kadeno.first "$exe"
