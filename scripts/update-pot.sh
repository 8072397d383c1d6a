#!/bin/sh
# Extracts every message the program shows or speaks into po/kadeno.pot, the template each
# po/<lang>.po is merged against. Run it after changing a text; then
#   for f in po/*.po; do msgmerge --update --backup=none "$f" po/kadeno.pot; done
set -eu
cd "$(dirname "$0")/.."
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >po/POTFILES
xgettext --from-code=UTF-8 --language=C++ --add-comments=TRANSLATORS --sort-by-file \
  --keyword= --keyword=Tr --keyword=TrLines --keyword=N_ \
  --package-name=kadeno --msgid-bugs-address= \
  --files-from=po/POTFILES --output=po/kadeno.pot.new
rm -f po/POTFILES
# The creation date alone changes from run to run; keep the file when nothing else did.
if [ -f po/kadeno.pot ] &&
  diff -q -I '^"POT-Creation-Date:' po/kadeno.pot po/kadeno.pot.new >/dev/null; then
  rm po/kadeno.pot.new
else
  mv po/kadeno.pot.new po/kadeno.pot
fi
