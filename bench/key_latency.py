"""How soon a key is answered: the real program on a private display with the message log,
a game played, arrow keys pressed through XTEST at random phases of the scan, and each
press timed to the first MIDI word of that key's own answer (a pan sent to one channel
alone; the scan only ever pans all sixteen at once). Printed for the starting speed
(difficulty 2) and a fast game (difficulty 28 in the settings file, whose scan steps are
measured and printed), with the synthesiser's budget added to give key to sound.

    /usr/bin/python3 tests/e2e/harness.py private /usr/bin/python3 bench/key_latency.py build/kadeno [presses]

The synthesiser's budget comes from bench_fluidsynth_latency when a sound server answers
(scripts/bench-synth.sh starts one), else from KADENO_SYNTH_BUDGET="median,p99" in ms.
"""

import ctypes
import ctypes.util
import os
import random
import re
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from player import BOXES, Box, Player, wait_for  # noqa: E402

PAN, DRUM = 10, 9
LEVELS = [(l, int(d)) for l, d in (("starting speed, difficulty 2", 2), ("fast game, difficulty 28", 28))
          if str(d) in os.environ.get("KADENO_BENCH_LEVELS", "2,28").split(",")]
XK_LEFT, XK_RIGHT = 0xFF51, 0xFF53


class Keyboard:
    """Key presses through the XTEST extension, timed at the moment they are flushed."""

    def __init__(self):
        self.x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        self.xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst"))
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.display = ctypes.c_void_p(self.x11.XOpenDisplay(None))

    def press(self, keysym, hold=0.03):
        code = self.x11.XKeysymToKeycode(self.display, ctypes.c_ulong(keysym))
        self.xtst.XTestFakeKeyEvent(self.display, code, 1, ctypes.c_ulong(0))
        self.x11.XFlush(self.display)
        at = time.monotonic()
        time.sleep(hold)
        self.xtst.XTestFakeKeyEvent(self.display, code, 0, ctypes.c_ulong(0))
        self.x11.XFlush(self.display)
        return at


class LogClock:
    """Follows the message log as it grows, to learn where its clock (milliseconds since
    the device opened) stands on ours: the smallest gap between a line's own time and the
    moment it was read."""

    def __init__(self, path):
        self.path, self.offset, self.stop = path, None, False
        self.thread = threading.Thread(target=self._follow, daemon=True)
        self.thread.start()

    def _follow(self):
        wait_for("the message log", lambda: os.path.exists(self.path), 30)
        with open(self.path) as f:
            rest = ""
            while not self.stop:
                chunk = f.read()
                now = time.monotonic()
                if not chunk:
                    time.sleep(0.0002)
                    continue
                rest += chunk
                *lines, rest = rest.split("\n")
                for line in lines:
                    try:
                        gap = now - float(line.split()[0]) / 1000
                    except (ValueError, IndexError):
                        continue
                    self.offset = gap if self.offset is None else min(self.offset, gap)

    def close(self):
        self.stop = True
        self.thread.join()


def lone_pans(log):
    """Times (log ms) of pans sent to the drum channel alone: the answer of an arrow key
    with the factory movement sound (a landing pans the effect channel alone, so that one
    is no key's answer here). The scan pans channels 0 to 15 in one run, which is left out;
    its channel-0 pans are returned too, to measure the scan step."""
    pans = [(i, t, m[0] & 0x0F) for i, (t, m) in enumerate(log)
            if isinstance(m, list) and len(m) == 3 and m[0] & 0xF0 == 0xB0 and m[1] == PAN]
    in_sweep = set()
    for k in range(len(pans) - 15):
        run = pans[k:k + 16]
        if [c for _, _, c in run] == list(range(16)) and run[-1][0] - run[0][0] == 15:
            in_sweep.update(i for i, _, _ in run)
    return ([t for i, t, c in pans if i not in in_sweep and c == DRUM],
            [t for i, t, c in pans if c == 0 and i in in_sweep])


def scanning(p, clock):
    """Whether the game is sounding now: a key is pressed only then, never into a box or
    between two games."""
    words = [t for t, m in p.log()[-20:] if isinstance(m, list)]
    return clock.offset is not None and bool(words) and \
        words[-1] / 1000 + clock.offset > time.monotonic() - 0.15


def settings_file(exe, work, difficulty):
    """The factory settings with the given difficulty, written by the program itself."""
    p = Player(exe, work)
    try:
        p.next_box("the first help page").press("Cancel")
        p.main_window()
        p.choose("Midi", "Set Midi Back to Default")
        p.next_box("reset question").press("Yes")
        p.next_box("reset message").press("OK")
        p.choose("File", "Exit")
        p.wait_exit()
    finally:
        p.kill()
    with open(p.settings_path, newline="") as f:
        text = f.read()
    with open(p.settings_path, "w", newline="") as f:
        f.write(re.sub(r"Difficulty = -?\d+", "Difficulty = %d" % difficulty, text))
    os.remove(p.log_path)


def answer_box(p, box):
    if box.field is not None:
        box.type("bench")
        box.press("OK")
    else:
        box.press(next(b for b in ("Yes", "OK") if b in box.buttons))


def start_game(p):
    p.choose("File", "Start Game")
    box = p.next_box("the start question")
    box.press("Yes")


def measure(exe, difficulty, presses):
    with tempfile.TemporaryDirectory(prefix="kadeno-keys-") as work:
        settings_file(exe, work, difficulty)
        p = Player(exe, work)
        clock = LogClock(p.log_path)
        keys = Keyboard()
        pressed = []
        try:
            p.next_box("the first help page").press("Cancel")
            p.main_window()
            start_game(p)
            p.focus_main_window()
            last_box = time.monotonic()
            while len(pressed) < presses:
                if p.boxes_pending():
                    # The game ends, or speaks: no key is pressed while a box is up.
                    answer_box(p, p.next_box("a box of the game", alert=None))
                    last_box = time.monotonic()
                    continue
                stray = time.monotonic() - last_box > 3.0 and not scanning(p, clock) and \
                    p._windows(BOXES)
                if stray:  # a box whose showing the bridge did not announce
                    answer_box(p, Box(stray[0], p))
                    last_box = time.monotonic()
                    continue
                if time.monotonic() - last_box > 1.0:
                    recent = [t for t, m in p.log()[-40:] if isinstance(m, list)]
                    if clock.offset is not None and (not recent or recent[-1] / 1000 + clock.offset <
                                                     time.monotonic() - 1.0):
                        start_game(p)  # the game ended: play another
                        p.focus_main_window()
                        last_box = time.monotonic()
                        continue
                time.sleep(random.uniform(0.12, 0.5))
                if p.boxes_pending() or not scanning(p, clock):
                    continue
                pressed.append(keys.press(random.choice((XK_LEFT, XK_RIGHT))))
            time.sleep(0.5)
        finally:
            p.kill()
            clock.close()
        p_log = p.log()
        answers, steps = lone_pans(p_log)
    in_play = [at for at in pressed if not held(at, p_log, clock.offset)]
    gaps, missed = answer_times(in_play, answers, clock.offset)
    kept = len(pressed) - len(in_play)
    step = statistics.median(b - a for a, b in zip(steps, steps[1:]) if b - a < 2000) if len(steps) > 2 else 0
    dump = os.environ.get("KADENO_BENCH_DUMP")
    if dump:  # the log around every slow answer, to see what held it
        with open(dump, "a") as f:
            for at in in_play:
                slow = answer_times([at], answers, clock.offset)[0]
                if slow and slow[0] < 5:
                    continue
                f.write("press at %.3f, answered after %s ms\n" % (
                    (at - clock.offset) * 1000, "%.1f" % slow[0] if slow else "never"))
                for t, m in p_log:
                    if -50 <= t - (at - clock.offset) * 1000 <= 150:
                        f.write("  %.3f %s\n" % (t, m if not isinstance(m, list)
                                                    else " ".join("%02X" % b for b in m)))
    return gaps, missed, kept, step


def held(at, log, offset):
    """Whether the program held every key by design when this press came: in the pause
    after an award (a wave played within the second before) or with a box up (a second
    or more with no MIDI word at all around the press)."""
    times = [t / 1000 + offset for t, _ in log]
    waves = [t / 1000 + offset for t, m in log if not isinstance(m, list)]
    if any(at - 1.0 <= w <= at for w in waves):
        return True
    before = max((t for t in times if t <= at), default=None)
    after = min((t for t in times if t > at), default=None)
    return before is None or after is None or after - before >= 1.0


def answer_times(pressed, answers, offset):
    """For each press, ms to the first lone pan after it and before the next press; a press
    with none (it went to a box, or came between games) counts as missed."""
    gaps, missed = [], 0
    for k, at in enumerate(pressed):
        until = pressed[k + 1] if k + 1 < len(pressed) else float("inf")
        later = [t / 1000 + offset - at for t in answers if at - 0.0005 <= t / 1000 + offset < until]
        if later:
            gaps.append(max(0.0, later[0]) * 1000)
        else:
            missed += 1
    return gaps, missed


def percentile(values, q):
    values = sorted(values)
    return values[min(len(values) - 1, int(round(q / 100 * (len(values) - 1))))]


def synth_budget(exe):
    given = os.environ.get("KADENO_SYNTH_BUDGET")
    if given:
        median, p99 = (float(x) for x in given.split(","))
        return median, p99, "as given"
    bench = os.path.join(os.path.dirname(os.path.abspath(exe)), "bench", "bench_fluidsynth_latency")
    if os.access(bench, os.X_OK):
        out = subprocess.run([bench, "100"], capture_output=True, text=True).stdout
        m = re.search(r"budget: median ([0-9.]+) ms, p99 ([0-9.]+) ms", out)
        if m:
            return float(m.group(1)), float(m.group(2)), "measured now, 100 notes"
    return None


def main():
    exe = sys.argv[1]
    presses = int(sys.argv[2]) if len(sys.argv) > 2 else 120
    budget = synth_budget(exe)
    for label, difficulty in LEVELS:
        gaps, missed, kept, step = measure(exe, difficulty, presses)
        if not gaps:
            print("%s: no key was answered (%d presses)" % (label, missed))
            continue
        med, p99, top = statistics.median(gaps), percentile(gaps, 99), max(gaps)
        print("%s (scan step %.0f ms): %d presses in play answered, %d unanswered; %d more "
              "held by design (an award's pause, a box)" % (label, step, len(gaps), missed, kept))
        print("  key to first MIDI word: median %.2f ms, p99 %.2f ms, max %.2f ms" % (med, p99, top))
        if budget:
            print("  key to sound, with the synthesiser's budget (%.2f / %.2f ms, %s): "
                  "median %.2f ms, p99 %.2f ms" % (budget[0], budget[1], budget[2],
                                                   med + budget[0], p99 + budget[1]))
    if not budget:
        print("no synthesiser budget: no sound server answered and KADENO_SYNTH_BUDGET is unset")


if __name__ == "__main__":
    main()
