"""check_catalogs.py SOURCE-FOLDER: the template is current (scripts/update-pot.sh finds nothing
new or gone); each po/<lang>.po compiles with msgfmt --check (which sees to the line ends), has
every template message translated, none fuzzy or extra, each placeholder kept as often, and one
"&" before a letter where the message has an access key. The unit tests, which know the menus,
check that the keys are unique."""

import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile

import polib


def entries(path):  # obsolete (#~) entries aside
    return [e for e in polib.pofile(path) if not e.obsolete]


def template_is_current(source, problem):
    with tempfile.TemporaryDirectory() as work:
        for part in ("src", "desktop", "scripts", "po"):
            shutil.copytree(os.path.join(source, part), os.path.join(work, part),
                            ignore=shutil.ignore_patterns("*.po"))
        subprocess.run([work + "/scripts/update-pot.sh"], check=True, stderr=subprocess.DEVNULL)
        fresh = {e.msgid for e in entries(os.path.join(work, "po", "kadeno.pot"))}
    kept = {e.msgid for e in entries(os.path.join(source, "po", "kadeno.pot"))}
    for msgid in sorted(fresh - kept):
        problem("kadeno.pot lacks %r: run scripts/update-pot.sh" % msgid[:60])
    for msgid in sorted(kept - fresh):
        problem("kadeno.pot holds %r, which nothing uses: run scripts/update-pot.sh" % msgid[:60])
    return kept


def check_catalog(path, template, problem):
    name, marks = os.path.basename(path), lambda text, mark: sorted(re.findall(mark, text))
    run = subprocess.run(["msgfmt", "--check", "-o", os.devnull, path], capture_output=True, text=True)
    if run.returncode != 0:
        problem("%s does not compile: %s" % (name, run.stderr.strip()))
    found = {e.msgid: e for e in entries(path)}
    for msgid in sorted(template - set(found)):
        problem("%s lacks %r" % (name, msgid[:60]))
    for msgid, e in sorted(found.items()):
        short, text = "%s: %r" % (name, msgid[:50]), e.msgstr
        if msgid not in template:
            problem("%s is not in the template (msgmerge it)" % short)
        if e.fuzzy:
            problem("%s is fuzzy" % short)
        if not text:
            problem("%s is not translated" % short)
        elif marks(text, r"%[1-9]") != marks(msgid, r"%[1-9]"):
            problem("%s has the placeholders %s, not %s" % (short, marks(text, r"%[1-9]"),
                                                              marks(msgid, r"%[1-9]")))
        if text and marks(msgid, "&(.)") and (len(marks(text, "&(.)")) != 1 or
                                              not marks(text, "&(.)")[0].isalnum()):
            problem("%s needs exactly one access key (& before a letter)" % short)


def main(source):
    problems = []
    template = template_is_current(source, problems.append)
    catalogs = sorted(glob.glob(os.path.join(source, "po", "*.po")))
    for path in catalogs:
        check_catalog(path, template, problems.append)
    print("\n".join(problems + ["%d catalogs, %d messages each: %s" % (len(catalogs), len(template), (
        "%d problems" % len(problems)) if problems else "pass")]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
