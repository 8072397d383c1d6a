"""The program heard through Orca itself, played from the keyboard alone (walk); Orca must
say every box once. A light window manager gives the main window the focus back when a box
closes, as every desktop does; Orca speaks through speech-dispatcher and espeak-ng to
ALSA's null device, so no sound card is needed.
"""

import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import MAIN_TITLE, Failure, Program, _started, check, main, wait_for  # noqa: E402

HELP = ["In this brief help area", "Kadeno is a musical game of tumbla."]
PROMPT = "Difficulty Level is now 2 out of ten.  Please enter the New value for Difficulty Level."
LISTING = ("Here is the Kadeno Masters Hall of Fame:\n"
           "First Place, with 1230 points is Ace at a difficulty level of  5\n"
           "Second Place, with 870 points is Bee at a difficulty level of  1\n")
PRACTICE = "With practice, you will soon rank among the Kadeno Masters!"
# Each box's text, and how many times the walk shows it.
SHOWN = [(HELP[0], 2), (HELP[1], 1), (PROMPT, 1), ("Are you ready?", 2),
         ("Game Play canceled by user request", 1), ("Your score is 0", 1), (PRACTICE, 1),
         (LISTING, 1), ("Do you really want to quit?", 1)]
MAIN = MAIN_TITLE + " frame"


class OrcaLog:
    """What Orca said, from its debug log: entries "HH:MM:SS.ffffff - SPEECH OUTPUT: 'text'"
    then the voice as a dict, a text's further lines indented by 18 blanks."""
    ENTRY = re.compile(r"^\d\d:\d\d:\d\d\.\d{6} - ", re.M)
    SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\S+)? ?\{.*\}\n?$", re.S)

    def __init__(self, path):
        self.path, self._read, self._pending, self._said = path, 0, "", []

    def said(self):
        """Every utterance so far, in order."""
        if os.path.exists(self.path):
            with open(self.path, encoding="utf-8", errors="replace") as f:
                f.seek(self._read)
                self._pending += f.read()
                self._read = f.tell()
        text = self._pending
        starts = [m.start() for m in self.ENTRY.finditer(text)] + [len(text)]
        # The last entry may still be in writing, unless it is a whole utterance already.
        if not (len(starts) > 1 and self.SPEECH.search(text, starts[-2]) and text.endswith("\n")):
            starts.pop()
        for start, end in zip(starts, starts[1:]):
            m = self.SPEECH.match(text[start:end].replace("\n" + " " * 18, "\n"), 18)
            self._said += [m.group(1)] if m else []
        self._pending = text[starts[-1]:] if starts else text
        return self._said

    def after(self, action, *expected, timeout=20.0):
        """Does action, waits until Orca has said the expected phrases in that order (a
        leading ^: a phrase that starts so), then until it has been quiet for 0.8 s; returns
        all it said meanwhile. Orca ends a phrase with a full stop where it pauses. The
        timeout counts from the end of the action: an action that waits for the game (a
        round, on a loaded machine, can take minutes) must not use up Orca's time."""
        mark = len(self.said())
        action()
        end = time.monotonic() + timeout
        while True:
            said, at = self.said()[mark:], 0
            for want in expected:
                at = next((i + 1 for i in range(at, len(said)) if said[i] in (want, want + ".")
                           or want[0] == "^" and said[i].startswith(want[1:])), None)
                if at is None:
                    break
            if at is not None:
                break
            check(time.monotonic() < end, "Orca did not say %r in order; it said %r"
                  % (expected, said))
            time.sleep(0.1)
        count, since = -1, time.monotonic()
        while time.monotonic() - since < 0.8:
            if len(self.said()) != count:
                count, since = len(self.said()), time.monotonic()
            time.sleep(0.1)
        return self.said()[mark:]


def xdotool(*args, pause=0.3):
    """Keys at a person's pace: a burst with no gap between the keys can lose one."""
    subprocess.run(["xdotool", *args], check=True)
    time.sleep(pause)


def press(name):
    return lambda: xdotool("key", name)


def alt(orca, letter, opens):
    """Alt held around the letter, as fingers do, and let go once Orca says the item the
    menu opens on (or after 20 s). Every key goes to Orca's key listener before it reaches
    the program, and Qt's bridge can reorder keys whose answers from a loaded Orca come
    late: an Alt let go too soon overtook the letter and the menu never opened. So the
    letter follows Orca's echo of Alt, and Alt is let go after the menu opened."""
    def heard(what, mark, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end and not any(s.startswith(what) for s in orca.said()[mark:]):
            time.sleep(0.05)

    def act():
        mark = len(orca.said())
        xdotool("keydown", "alt", pause=0)
        heard("left alt", mark, 10)
        xdotool("key", letter, pause=0)
        heard(opens, mark, 20)
        xdotool("keyup", "alt")
    return act


def box(title, text, button):
    """A box as Orca reads it: role and title, the text, the button that has the focus."""
    return ("alert " + title, text, button + " push button")


READY = box("About to start Game Play", "Are you ready?", "Yes")


def start_program(orca, exe, work, settings, timeout):
    """The program started, once Orca has read the first help page; Escape leaves the help."""
    started = []
    orca.after(lambda: started.append(Program([exe], work, env={"KADENO_SPEECH": "auto"},
                                              settings=settings)),
               *box("Kadeno Help", "^  " + HELP[0], "Yes"), timeout=timeout)
    return started[0]


def open_file_menu(orca, tries=3):
    """Alt+F, until Orca says the menu's first item. Under load Qt's bridge now and then
    loses a key while it waits on a loaded Orca's answer (keyEventError NoReply), and the
    menu does not open: it is asked for again, without an Escape, which would reach the game
    and ask to quit. Each retry is said on stderr."""
    for attempt in range(tries):
        try:
            return orca.after(alt(orca, "f", "Start Game"), "Start Game")
        except Failure as e:
            if attempt == tries - 1:
                raise
            print("the File menu did not open (%s); Alt+F again" % e, file=sys.stderr)


def ask_to_start(orca):
    """Alt+F, Start Game, Return: the start question."""
    open_file_menu(orca)
    orca.after(press("Return"), *READY)


def quit_game(orca, game, timeout=20.0):
    orca.after(press("Escape"), *box("Kadeno", "Do you really want to quit?", "Yes"), timeout=timeout)
    press("y")()
    game.end()


def start_desktop(work):
    """Openbox, then Orca; returns Orca's log once it has spoken, or None, with a line saying
    so, when Orca, its speech or openbox is not installed."""
    missing = [t for t in ["orca", "speech-dispatcher", "openbox"] if not shutil.which(t)]
    if missing or not os.path.exists("/usr/lib/speech-dispatcher-modules/sd_espeak-ng"):
        print("SKIP: not installed: " + ", ".join(missing or ["speech-dispatcher-espeak-ng"]))
        return None
    speechd = os.path.join(os.environ["XDG_CONFIG_HOME"], "speech-dispatcher")
    os.makedirs(speechd, exist_ok=True)
    with open(os.path.join(speechd, "speechd.conf"), "w") as f:
        f.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDefaultModule espeak-ng\n'
                'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n')
    prefs, shims = os.path.join(work, "orca"), os.path.join(work, "bin")
    os.makedirs(prefs)
    os.makedirs(shims)
    with open(os.path.join(prefs, "orca-customizations.py"), "w") as f:  # a log read as it goes
        f.write("from orca import debug\nif debug.debugFile:\n"
                "    debug.debugFile.reconfigure(line_buffering=True)\n")
    out = open(os.path.join(work, "desktop.out"), "w+")
    # Now and then, with other tests starting beside it, openbox fails to open the display
    # that answers everyone else: it is given three tries.
    for _ in range(3):
        wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=out, stderr=subprocess.STDOUT)
        _started.append(wm)
        end = time.monotonic() + 10
        while wm.poll() is None and time.monotonic() < end and subprocess.run(
                ["xdotool", "get_num_desktops"], capture_output=True).returncode:
            time.sleep(0.1)
        if wm.poll() is None:
            break
        time.sleep(1)
    # Orca will not start beside another Orca of the same user, wherever that one runs (on
    # the user's desktop, in another test): this one looks in its own session only.
    if shutil.which("pgrep"):
        with open(os.path.join(shims, "pgrep"), "w") as f:
            f.write('#!/bin/sh\nexec %s -s 0 "$@"\n' % shutil.which("pgrep"))
        os.chmod(os.path.join(shims, "pgrep"), 0o755)
    log = OrcaLog(os.path.join(work, "orca.log"))
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", LANGUAGE="",  # Orca in English
               PATH=shims + os.pathsep + os.environ["PATH"])
    orca = subprocess.Popen(["orca", "-u", prefs, "--debug-file=" + log.path], env=env,
                            stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
    _started.append(orca)
    # A changed log format must not let the walk pass on no utterance at all.
    try:
        wait_for("Orca's first words in %s" % log.path,
                 lambda: log.said() or orca.poll() is not None, 60)
        check(orca.poll() is None and wm.poll() is None, "Orca or openbox ended")
    except Failure:
        out.seek(0)
        raise Failure("no Orca on the desktop; Orca and openbox printed:\n" + out.read())
    return log


def active_window():
    return subprocess.run(["xdotool", "getactivewindow", "getwindowname"],
                          capture_output=True, text=True).stdout.strip()


def walk(work, exe):
    orca = start_desktop(work)
    if orca is None:
        return 77
    try:
        play(orca, exe, work)
    except Failure:
        print("Orca's last words:\n  " + "\n  ".join(map(repr, orca.said()[-25:])), file=sys.stderr)
        raise


def play(orca, exe, work):
    # The help pages, forward with Y, back with N, left with Escape.
    game = start_program(orca, exe, work, b"1stPlaceScore = 1230.4\r\n1stPlaceName = Ace\r\n"
                         b"2ndPlaceScore = 870\r\n2ndPlaceName = Bee\r\nDifficulty = 2\r\n", 120)
    for name, page in [("y", 2), ("n", 1)]:
        orca.after(press(name), *box("Kadeno Help", "^  " + HELP[page - 1], "Yes"))
    orca.after(press("Escape"), MAIN)
    # The menu read item by item as the arrows reach it; a value command.
    open_file_menu(orca)
    for name, item in [("Down", "Set Difficulty"), ("Down", "Hall Of Fame"), ("Up", "Set Difficulty")]:
        orca.after(press(name), item)
    said = orca.after(press("Return"), "Kadeno dialog", PROMPT + " text")
    check(any(re.fullmatch(r"(.* )?2( selected)?\.?", s) for s in said),
          "the offered value 2 is not said: %r" % said)
    press("3")()
    orca.after(press("Return"), MAIN)
    wait_for("the difficulty typed in the settings file",
             lambda: b"\r\nDifficulty = 3\r\n" in game.settings(), 10)
    # Start Game declined; Alt with a letter right after a box closed.
    ask_to_start(orca)
    orca.after(press("n"), *box("Kadeno", "Game Play canceled by user request", "OK"))
    orca.after(press("Return"), MAIN)
    # A game of dropped notes to its score and the hall of fame.
    ask_to_start(orca)

    def play_until_the_round_ends():
        # Orca falls behind while the game runs (the program answers it only between the
        # scan's steps): the game is followed by its windows. Space would press the score
        # box's button: drop only while the game has the keys. Every key goes through
        # Orca's key listener before it reaches the game; on a loaded machine a key every
        # 0.7 s left Orca minutes behind (230 echoes queued, the score box said after them),
        # so one every 2 s: the round still ends in about a minute.
        press("y")()
        end = time.monotonic() + 400
        while (window := active_window()) != "Kadeno":
            check(time.monotonic() < end, "the round did not end")
            if window == MAIN_TITLE:
                xdotool("key", "space", pause=2.0)
            else:  # no window has the focus yet: ask again shortly, without a busy loop
                time.sleep(0.1)
    orca.after(play_until_the_round_ends, *box("Kadeno", "Your score is 0", "OK"), timeout=120)
    orca.after(press("Return"), *box("Kadeno", PRACTICE, "OK"))
    orca.after(press("Return"), *box("Kadeno", LISTING, "OK"))
    orca.after(press("Return"), MAIN)
    quit_game(orca, game)
    for text, times in SHOWN:
        n = sum(text in s for s in orca.said())
        check(n == times, "Orca said %r %d times, not %d" % (text[:50], n, times))


if __name__ == "__main__":
    sys.exit(main({"walk": walk}))
