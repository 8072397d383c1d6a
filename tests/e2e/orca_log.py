"""What Orca said, read from its debug log (orca --debug-file=FILE) while it runs.

Each utterance is an entry "HH:MM:SS.ffffff - SPEECH OUTPUT: 'text'" followed by the voice
settings as a dict; the lines of a text that spans several are indented by 18 blanks.
"""

import re
import time

ENTRY = re.compile(r"^\d\d:\d\d:\d\d\.\d{6} - ", re.M)
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\S+)? ?\{.*\}\n?$", re.S)
INDENT = "\n" + " " * 18


class NothingSaid(AssertionError):
    pass


class OrcaLog:
    def __init__(self, path):
        self.path, self._read, self._pending, self._said = path, 0, "", []

    def said(self):
        """Every utterance so far, in order."""
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                f.seek(self._read)
                new = f.read()
                self._read = f.tell()
        except FileNotFoundError:
            return self._said
        self._pending += new
        starts = [m.start() for m in ENTRY.finditer(self._pending)]
        if not starts:
            return self._said
        # The last entry may still be in writing, unless it is a whole utterance already.
        last = self._pending[starts[-1]:]
        done = starts if SPEECH.search(last) and last.endswith("\n") else starts[:-1]
        ends = starts[1:] + [len(self._pending)]
        for start, end in zip(done, ends):
            entry = self._pending[start:end]
            text = entry[ENTRY.match(entry).end():].replace(INDENT, "\n")
            m = SPEECH.match(text)
            if m:
                self._said.append(m.group(1))
        self._pending = self._pending[ends[len(done) - 1]:] if done else self._pending
        return self._said

    def wait_for_speech(self, timeout, running=lambda: True):
        """Fails clearly when Orca says nothing at all: a changed log format must not let a
        test that looks for utterances pass on none."""
        end = time.monotonic() + timeout
        while not self.said():
            if not running():
                raise NothingSaid("Orca ended before it said anything")
            if time.monotonic() > end:
                raise NothingSaid("Orca's log %s holds no SPEECH OUTPUT line after %d s: Orca did "
                                  "not speak, or its log format has changed"
                                  % (self.path, timeout))
            time.sleep(0.1)
