"""The language the real program chooses, seen in its answer to an unknown argument (which
it gives before it opens a window): KADENO_LANG above LANGUAGE, LC_ALL, LC_MESSAGES and
LANG, as gettext has them, also for a locale this system has not installed; English, with
one line on standard error, when the catalog is missing or damaged.

    check_language_choice.py PATH-TO-KADENO SOURCE-FOLDER
"""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pofile  # noqa: E402

REFUSAL = "kadeno: unknown argument '%1' (try kadeno --help)"


def run(exe, env):
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("KADENO_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
    environment.update(env, DISPLAY="", KADENO_MIDI_OUT="none")
    done = subprocess.run([exe, "--x"], env=environment, capture_output=True, text=True,
                          timeout=20, stdin=subprocess.DEVNULL)
    return done.stderr.splitlines()


def main(exe, source):
    said = {lang: pofile.translations(os.path.join(source, "po", lang + ".po"))[REFUSAL]
            .replace("%1", "--x") for lang in ("de", "fr", "pt_BR")}
    english = REFUSAL.replace("%1", "--x")
    # (environment, the refusal it must read, lines before it on standard error)
    cases = [
        ({}, english, 0),
        ({"LANG": "C.UTF-8"}, english, 0),
        ({"KADENO_LANG": "de"}, said["de"], 0),
        ({"KADENO_LANG": "pt-BR"}, said["pt_BR"], 0),
        ({"LANGUAGE": "fr", "LANG": "C.UTF-8"}, said["fr"], 0),
        # A locale this system may not have installed still gives its language.
        ({"LANG": "de_AT.UTF-8"}, said["de"], 0),
        ({"LC_ALL": "fr_CA.UTF-8", "LANG": "de_DE.UTF-8"}, said["fr"], 0),
        # The C locale asks for the program's own texts, whatever LANGUAGE says.
        ({"LC_ALL": "C", "LANGUAGE": "de"}, english, 0),
        ({"KADENO_LANG": "de", "LC_ALL": "C"}, said["de"], 0),
        ({"KADENO_LANG": "en", "LANGUAGE": "de", "LANG": "C.UTF-8"}, english, 0),
        ({"LANGUAGE": "en:de", "LANG": "C.UTF-8"}, english, 0),
        ({"LANGUAGE": "xx:fr", "LANG": "C.UTF-8"}, said["fr"], 0),
        ({"KADENO_LANG": "xx"}, english, 1),
    ]
    failures = []
    for env, want, before in cases:
        lines = run(exe, env)
        if lines[before:] != [want] or len(lines) != before + 1:
            failures.append("%s: %r, not %r" % (env, lines, want))
    # A damaged catalog beside the program: English, and one line saying so.
    with tempfile.TemporaryDirectory() as work:
        shutil.copy(exe, work)
        folder = os.path.join(work, "locale", "de", "LC_MESSAGES")
        os.makedirs(folder)
        with open(os.path.join(os.path.dirname(exe), "locale", "de", "LC_MESSAGES", "kadeno.mo"),
                  "rb") as f:
            damaged = b"\0\0\0\0" + f.read()[4:]
        with open(os.path.join(folder, "kadeno.mo"), "wb") as f:
            f.write(damaged)
        lines = run(os.path.join(work, os.path.basename(exe)), {"KADENO_LANG": "de"})
        said_missing = lines[:1] and lines[0].startswith("kadeno: no catalog for de in ") and \
            lines[0].endswith("; the texts stay English")
        if len(lines) != 2 or not said_missing or lines[1] != english:
            failures.append("a damaged catalog: %r" % lines)
    for f in failures:
        print("FAIL: " + f)
    print("language choice: %d of %d cases as expected" % (len(cases) + 1 - len(failures),
                                                          len(cases) + 1))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
