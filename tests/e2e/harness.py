"""What the end-to-end tests share: the real program on a private display (see
run-on-private-display.sh) in a folder of its own, keys typed through the X server, its
sound read from the message log."""

import os
import re
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = "Kadeno: Musical Tumbla"
_started, _programs = [], []  # the processes main() ends, the programs among them


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=20.0):
    end = time.monotonic() + timeout
    while not (value := probe()):
        check(time.monotonic() < end, "timed out waiting for " + what)
        time.sleep(0.05)
    return value


def key(*names, window=None):
    """Keys typed through the X server; with no window manager, nobody but us gives a
    window the keyboard."""
    if window:
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    for name in names:
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


def windows(title=None):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                            ".*" if title is None else "^%s$" % re.escape(title)],
                           capture_output=True, text=True)
    return found.stdout.split()


class Program:
    """The program with its settings in WORK/config and its MIDI in the message log
    WORK/midi.log; its standard error goes to WORK/stderr.txt. settings: bytes to start
    the settings file with; env: more of the environment (the program's own voice is off
    unless it says)."""

    def __init__(self, command, work, settings=None, settings_path=None, env=()):
        os.makedirs(work, exist_ok=True)
        self.work, self.log_path = work, os.path.join(work, "midi.log")
        self.settings_path = settings_path or os.path.join(work, "config", "kadeno", "Kadeno.ini")
        if settings is not None:
            os.makedirs(os.path.dirname(self.settings_path), exist_ok=True)
            with open(self.settings_path, "wb") as f:
                f.write(settings)
        self.stderr = open(os.path.join(work, "stderr.txt"), "w")
        _programs.append(self)
        environment = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
                           XDG_DATA_HOME=os.path.join(work, "data"), KADENO_SPEECH="off",
                           KADENO_MIDI_OUT="log:" + self.log_path)
        environment.update(env)
        self.process = subprocess.Popen(command, env=environment, stdin=subprocess.DEVNULL,
                                        stderr=self.stderr)
        _started.append(self.process)

    def log(self):
        """[(ms, [bytes...]) or (ms, 'wave ...')] from the message log."""
        if not os.path.exists(self.log_path):
            return []
        with open(self.log_path) as f:
            lines = [line.split(None, 1) for line in f if len(line.split()) > 1]
        return [(float(t), rest.strip() if rest.startswith("wave") else
                 [int(b, 16) for b in rest.split()]) for t, rest in lines]

    def settings(self):
        with open(self.settings_path, "rb") as f:
            return f.read()

    def errors(self):
        with open(self.stderr.name) as f:
            return f.read().splitlines()

    def end(self):
        try:
            check(self.process.wait(30) == 0, "Kadeno ended with %s" % self.process.returncode)
        except subprocess.TimeoutExpired:
            raise Failure("Kadeno did not end")


def first_scan(p):
    """The MIDI messages up to the eighth column's placement (B0 0A), which opens the second
    scan; None while the first scan plays."""
    words = [m for _, m in p.log() if isinstance(m, list)]
    starts = [i for i, m in enumerate(words) if m[:2] == [0xB0, 0x0A]]
    return words[:starts[7]] if len(starts) >= 8 else None


def shipped_settings(exe):
    """The default settings file beside the program's award sounds: in its own folder in
    the build tree, in ../share/kadeno once installed."""
    folder = os.path.dirname(os.path.abspath(exe))
    for data in (folder, os.path.join(folder, "..", "share", "kadeno")):
        if os.path.exists(os.path.join(data, "TenMore.wav")):
            return os.path.join(data, "Kadeno-default.ini")
    raise Failure("no award sounds beside %s" % exe)


# The factory settings' voices as the first scan must sound them: channel, velocity and
# instrument (the drum channel keeps program 0).
FACTORY_VOICES = {1: (127, 24), 2: (100, 24), 3: (100, 24), 4: (100, 1), 5: (100, 1), 6: (100, 0),
                  9: (100, 0)}


def check_factory_sound(scan):
    """Every note of the scan at its voice's factory velocity, every instrument its factory
    one; the base line, the falling note and the drum among them."""
    played = {m[0] & 15 for m in scan if m[0] & 0xF0 == 0x90}
    check({1, 5, 9} <= played, "the first scan played channels %s" % sorted(played))
    for m in scan:
        channel = m[0] & 15
        if m[0] & 0xF0 == 0x90:
            check(m[2] == FACTORY_VOICES[channel][0], "note %s at velocity %d" % (m, m[2]))
        if m[0] & 0xF0 == 0xC0:
            check(m[1] == FACTORY_VOICES[channel][1], "instrument %s" % m)


def main(scenarios):
    """Runs the scenario sys.argv[1] names, in a fresh folder, with the other arguments."""
    name = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="kadeno-e2e-") as work:
        try:
            status = scenarios[name](work, *sys.argv[2:]) or 0
        except Failure as e:
            print("FAIL: %s: %s" % (name, e), file=sys.stderr)
            for p in _programs:
                print("Kadeno's last messages:\n  " + "\n  ".join(p.errors()[-10:]), file=sys.stderr)
            status = 1
        finally:
            for p in _started:
                p.kill()
                p.wait()
    if status == 0:
        print("%s: passed" % name)
    return status
