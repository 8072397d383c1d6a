"""A .po file read as the checks need it: each entry's msgid, msgstr and flags."""

import re

_UNESCAPE = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "r": "\r"}


def _literal(text):
    return re.sub(r'\\(.)', lambda m: _UNESCAPE.get(m.group(1), m.group(1)), text[1:-1])


def entries(path):
    """[{msgid, msgstr, flags, plural}] in file order, the header first; obsolete
    entries (#~) left out."""
    found, entry, field = [], None, None
    with open(path, encoding="utf-8") as f:
        for line in list(f) + [""]:
            line = line.strip()
            if not line:
                if entry and "msgid" in entry:
                    found.append(entry)
                entry, field = None, None
                continue
            entry = entry if entry is not None else {"flags": set(), "plural": False}
            if line.startswith("#,"):
                entry["flags"] |= {f.strip() for f in line[2:].split(",")}
            elif line.startswith("#"):
                continue
            elif line.startswith('"') and field:
                entry[field] += _literal(line)
            else:
                field, rest = line.split(" ", 1)
                if field == "msgid_plural":
                    entry["plural"] = True
                field = "msgstr" if field == "msgstr[0]" else field
                entry[field] = _literal(rest) if field in ("msgid", "msgstr") else ""
                if field not in ("msgid", "msgstr"):
                    field = None
    return found


def translations(path):
    """{msgid: msgstr} of the translated entries, the header left out."""
    return {e["msgid"]: e["msgstr"] for e in entries(path)
            if e["msgid"] and e.get("msgstr") and "fuzzy" not in e["flags"]}


if __name__ == "__main__":
    # pofile.py PO-FILE MSGID: the message's translation, for the shell scripts.
    import sys
    print(translations(sys.argv[1])[sys.argv[2]])
