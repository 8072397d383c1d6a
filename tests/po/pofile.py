"""A .po file read as the checks need it: each entry's msgid, msgstr and flags.
    pofile.py PO-FILE MSGID: the message's translation, for the shell scripts."""

import re
import sys


def _literal(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t", "r": "\r"}.get(m.group(1), m.group(1)),
                  text[1:-1])


def entries(path):
    """[{msgid, msgstr, flags}] in file order, the header first; obsolete entries (#~) left out, a
    plural message's first form as its msgstr."""
    found, entry, field = [], {"flags": set()}, None
    with open(path, encoding="utf-8") as f:
        for line in [line.strip() for line in f] + [""]:
            if not line:
                if "msgid" in entry:
                    found.append(entry)
                entry, field = {"flags": set()}, None
            elif line.startswith("#,"):
                entry["flags"] |= {flag.strip() for flag in line[2:].split(",")}
            elif line.startswith('"') and field:
                entry[field] += _literal(line)
            elif not line.startswith("#"):
                name, rest = line.split(" ", 1)
                field = {"msgid": "msgid", "msgstr": "msgstr", "msgstr[0]": "msgstr"}.get(name)
                if field:
                    entry[field] = _literal(rest)
    return found


def translations(path):
    """{msgid: msgstr} of the translated entries, the header left out."""
    return {e["msgid"]: e["msgstr"] for e in entries(path)
            if e["msgid"] and e.get("msgstr") and "fuzzy" not in e["flags"]}


if __name__ == "__main__":
    print(translations(sys.argv[1])[sys.argv[2]])
