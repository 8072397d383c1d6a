#!/bin/sh
# Extracts every message the program shows or speaks, and the desktop entry's and the
# software centre's texts, into po/kadeno.pot, the template each po/<lang>.po is merged
# against. Run it after changing a text; then
#   for f in po/*.po; do msgmerge --update --backup=none "$f" po/kadeno.pot; done
# The software centre's rules come with Debian's appstream package.
set -eu
cd "$(dirname "$0")/.."
new=po/kadeno.pot.new
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >po/POTFILES
xgettext --from-code=UTF-8 --language=C++ --add-comments=TRANSLATORS --sort-by-file \
  --keyword= --keyword=Tr --keyword=TrLines --keyword=N_ \
  --package-name=kadeno --msgid-bugs-address= \
  --files-from=po/POTFILES --output=$new 2>/dev/null
rm -f po/POTFILES
xgettext --join-existing --add-comments=TRANSLATORS --language=Desktop \
  --output=$new desktop/kadeno.desktop
xgettext --join-existing --its=/usr/share/gettext/its/metainfo.its \
  --output=$new desktop/kadeno.metainfo.xml.in
# The creation date alone changes from run to run; keep the file when nothing else did.
if [ -f po/kadeno.pot ] &&
  diff -q -I '^"POT-Creation-Date:' po/kadeno.pot $new >/dev/null; then
  rm $new
else
  mv $new po/kadeno.pot
fi
