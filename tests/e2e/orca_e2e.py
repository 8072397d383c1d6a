"""End to end through a real screen reader: Orca listens while the program is played from
the keyboard alone, as a blind player plays it, and the test holds Orca to what it says.

    orca_e2e.py PATH-TO-KADENO

Runs inside run-on-private-display.sh (private X server, session bus and home). Starts a
light window manager, for focus goes back to the main window when a box closes as on every
desktop, and Orca with settings of its own, its speech going through speech-dispatcher and
espeak-ng to ALSA's null device: no sound card is needed. Exit code 77: a tool is missing.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from orca_log import NothingSaid, OrcaLog  # noqa: E402

ESPEAK_MODULE = "/usr/lib/speech-dispatcher-modules/sd_espeak-ng"
MAIN = "Kadeno: Musical Tumbla frame"
HELP_STARTS = ["  In this brief help area, if you hit yes then I",
               "  Kadeno is a musical game of tumbla.", "  In adition to the two ground rows,",
               "  Every scan, the falling note gets lower by",
               "  In true tumbla fashion, every combination", "  Every round goes faster."]
ABOUT_START = "  It does not interfere with or depend upon any particular"
PROMPT = ("Difficulty Level is now 2 out of ten.  Please enter the New value for Difficulty "
          "Level.")
HALL = [("1stPlaceScore", "1230.4"), ("1stPlaceName", "Ace"), ("2ndPlaceScore", "870"),
        ("2ndPlaceName", "Bee"), ("Difficulty", "2")]
LISTING = ("Here is the Kadeno Masters Hall of Fame:\n"
           "First Place, with 1230 points is Ace at a difficulty level of  5\n"
           "Second Place, with 870 points is Bee at a difficulty level of  1\n")
PRACTICE = "With practice, you will soon rank among the Kadeno Masters!"
# Each box's text, and how many times the walk below shows it: Orca must say it that often.
SHOWN = [(HELP_STARTS[0], 1), (HELP_STARTS[1], 1), (HELP_STARTS[2], 1), (HELP_STARTS[3], 1),
         (HELP_STARTS[4], 2), (HELP_STARTS[5], 1), (PROMPT, 1), ("Are you ready?", 2),
         ("Game Play canceled by user request", 1), (ABOUT_START, 1), ("Your score is 0", 1),
         (PRACTICE, 1), (LISTING, 1),
         ("Do you really want to quit?", 1)]


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class starts:  # noqa: N801 (reads as a phrase where it is used)
    """A long text, known by its first words."""

    def __init__(self, prefix):
        self.prefix = prefix

    def __call__(self, said):
        return said.startswith(self.prefix)

    def __repr__(self):
        return "a text starting %r" % self.prefix


def heard(said, want):
    """Orca ends a phrase with a full stop where it pauses after a letter or digit."""
    return want(said) if callable(want) else said in (want, want + ".")


class Keyboard:
    """Keys at a person's pace: a burst with no gap between the keys can lose one."""

    def key(self, name):
        subprocess.run(["xdotool", "key", name], check=True)
        time.sleep(0.3)

    def alt(self, letter):
        """Alt held a moment around the letter, as fingers do."""
        for args, pause in [(["keydown", "alt"], 0.1), (["key", letter], 0.1),
                            (["keyup", "alt"], 0.3)]:
            subprocess.run(["xdotool"] + args, check=True)
            time.sleep(pause)

    def active_window(self):
        return subprocess.run(["xdotool", "getactivewindow", "getwindowname"],
                              capture_output=True, text=True).stdout.strip()


class Ear:
    """What Orca says after each thing the player does."""

    def __init__(self, log):
        self.log = log

    def after(self, action, *expected, timeout=20.0):
        """Does action, then waits until Orca has said the expected phrases in that order;
        returns all it said meanwhile, once it has gone quiet."""
        mark = len(self.log.said())
        action()
        end = time.monotonic() + timeout
        while True:
            said, at = self.log.said()[mark:], 0
            for want in expected:
                at = next((i + 1 for i in range(at, len(said)) if heard(said[i], want)), None)
                if at is None:
                    break
            if at is not None:
                break
            check(time.monotonic() < end, "Orca did not say %r in order; it said %r"
                  % (expected, said))
            time.sleep(0.1)
        self.quiet()
        return self.log.said()[mark:]

    def quiet(self, gap=0.8):
        """Waits until nothing new has been said for gap seconds."""
        count, since = -1, time.monotonic()
        while time.monotonic() - since < gap:
            n = len(self.log.said())
            if n != count:
                count, since = n, time.monotonic()
            time.sleep(0.1)


def box(title, text, button):
    """A box as Orca reads it: role and title, the text, the button that has the focus."""
    return ("alert " + title, text, button + " push button")


READY = box("About to start Game Play", "Are you ready?", "Yes")


def start_desktop(work):
    """Openbox, then Orca; returns them once Orca has spoken."""
    speechd = os.path.join(os.environ["XDG_CONFIG_HOME"], "speech-dispatcher")
    os.makedirs(speechd, exist_ok=True)
    with open(os.path.join(speechd, "speechd.conf"), "w") as f:
        f.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDefaultModule espeak-ng\n'
                'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n')
    # Orca writes its log through a buffered file; the test reads it as it goes.
    prefs = os.path.join(work, "orca")
    os.makedirs(prefs)
    with open(os.path.join(prefs, "orca-customizations.py"), "w") as f:
        f.write("from orca import debug\nif debug.debugFile:\n"
                "    debug.debugFile.reconfigure(line_buffering=True)\n")
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    said = open(os.path.join(work, "openbox.out"), "w+")
    # Now and then, with other tests starting beside it, openbox fails to open the display
    # that answers everyone else: it is given another try.
    end, tries = time.monotonic() + 20, 3
    wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=said, stderr=subprocess.STDOUT)
    while subprocess.run(["xdotool", "get_num_desktops"], **quiet).returncode != 0:
        if wm.poll() is not None and tries > 1:
            tries -= 1
            time.sleep(1)
            wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=said,
                                  stderr=subprocess.STDOUT)
        elif time.monotonic() > end or wm.poll() is not None:
            said.seek(0)
            raise Failure("openbox did not start (%s): %s" % (wm.poll(), said.read()))
        time.sleep(0.1)
    # Orca will not start beside another Orca of the same user, wherever that one runs (on
    # the desktop of a user who runs it, in another test): this one looks for others in its
    # own session only.
    shims = os.path.join(work, "bin")
    os.makedirs(shims)
    if shutil.which("pgrep"):  # without it, Orca finds no other
        with open(os.path.join(shims, "pgrep"), "w") as f:
            f.write('#!/bin/sh\nexec %s -s 0 "$@"\n' % shutil.which("pgrep"))
        os.chmod(os.path.join(shims, "pgrep"), 0o755)
    # Orca's words in English whatever the user's language.
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8",
               PATH=shims + os.pathsep + os.environ["PATH"])
    env.pop("LANGUAGE", None)
    log = OrcaLog(os.path.join(work, "orca.log"))
    out = open(os.path.join(work, "orca.out"), "w+")
    orca = subprocess.Popen(["orca", "-u", prefs, "--debug-file=" + log.path], env=env,
                            stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        log.wait_for_speech(60, lambda: orca.poll() is None)
    except NothingSaid:
        out.seek(0)
        print("Orca printed:\n" + out.read(), file=sys.stderr)
        raise
    return wm, orca, log


def settings(path):
    with open(path, newline="") as f:
        return f.read().split("\r\n")


def walk(exe, work, log):
    ear, keys = Ear(log), Keyboard()
    config = os.path.join(work, "config")
    os.makedirs(os.path.join(config, "kadeno"))
    ini = os.path.join(config, "kadeno", "Kadeno.ini")
    with open(ini, "w", newline="") as f:
        f.write("".join("%s = %s\r\n" % kv for kv in HALL))
    env = dict(os.environ, XDG_CONFIG_HOME=config, XDG_DATA_HOME=os.path.join(work, "data"),
               KADENO_MIDI_OUT="log:" + os.path.join(work, "midi.log"))
    # Its messages (the accessibility bridge complains of Orca's slow replies during a
    # game) are shown only when the test fails.
    messages = open(os.path.join(work, "kadeno.err"), "w+")
    game = None

    def start():
        nonlocal game
        game = subprocess.Popen([exe], env=env, stderr=messages)

    try:
        # The help pages, forward with Y to the last, back one with N, left with Escape.
        ear.after(start, *box("Kadeno Help", starts(HELP_STARTS[0]), "Yes"), timeout=30)
        for key, page in [("y", 2), ("y", 3), ("y", 4), ("y", 5), ("y", 6), ("n", 5)]:
            ear.after(lambda: keys.key(key),
                      *box("Kadeno Help", starts(HELP_STARTS[page - 1]), "Yes"))
        ear.after(lambda: keys.key("Escape"), MAIN)

        # The menu read item by item as the arrows reach it; a value command.
        ear.after(lambda: keys.alt("f"), "Start Game")
        for key, item in [("Down", "Set Difficulty"), ("Down", "Hall Of Fame"), ("Down", "Exit"),
                          ("Up", "Hall Of Fame"), ("Up", "Set Difficulty")]:
            ear.after(lambda: keys.key(key), item)
        said = ear.after(lambda: keys.key("Return"), "Kadeno dialog", PROMPT + " text")
        check(any(re.fullmatch(r"(.* )?2( selected)?\.?", s) for s in said),
              "the offered value 2 is not said: %r" % said)
        keys.key("3")
        ear.after(lambda: keys.key("Return"), MAIN)
        end = time.monotonic() + 10
        while "Difficulty = 3" not in settings(ini):
            check(time.monotonic() < end, "the difficulty typed did not reach the settings file")
            time.sleep(0.1)

        # Start Game declined; Alt with a letter right after a box closed.
        ear.after(lambda: keys.alt("f"), "Start Game")
        ear.after(lambda: keys.key("Return"), *READY)
        ear.after(lambda: keys.key("n"), *box("Kadeno", "Game Play canceled by user request", "OK"))
        ear.after(lambda: keys.key("Return"), MAIN)
        ear.after(lambda: keys.alt("h"), "Instructions")
        ear.after(lambda: keys.key("Down"), "About")
        ear.after(lambda: keys.key("Return"), *box("Kadeno", starts(ABOUT_START), "OK"))
        ear.after(lambda: keys.key("Return"), MAIN)

        # A game of dropped notes, to its score and the hall of fame.
        ear.after(lambda: keys.alt("f"), "Start Game")
        ear.after(lambda: keys.key("Return"), *READY)

        def play_until_the_round_ends():
            # Orca falls behind while the game runs (the program answers its questions only
            # between the scan's steps), so the game is followed by its windows, not by ear.
            keys.key("y")
            end = time.monotonic() + 240
            # Space would press the score box's button: drop only while the game has the
            # keys, until the score box (titled Kadeno) takes them.
            while (window := keys.active_window()) != "Kadeno":
                check(time.monotonic() < end, "the round did not end")
                if window == "Kadeno: Musical Tumbla":
                    keys.key("space")
                time.sleep(0.7)

        started = time.monotonic()
        ear.after(play_until_the_round_ends, *box("Kadeno", "Your score is 0", "OK"), timeout=120)
        print("e2e: the game took %.0f s to its score box" % (time.monotonic() - started))
        ear.after(lambda: keys.key("Return"), *box("Kadeno", PRACTICE, "OK"))
        ear.after(lambda: keys.key("Return"), *box("Kadeno", LISTING, "OK"))
        ear.after(lambda: keys.key("Return"), MAIN)

        # The quit question; Y ends the program.
        ear.after(lambda: keys.key("Escape"), *box("Kadeno", "Do you really want to quit?", "Yes"))
        keys.key("y")
        try:
            check(game.wait(20) == 0, "Kadeno ended with %s" % game.returncode)
        except subprocess.TimeoutExpired:
            raise Failure("Kadeno did not end after Y to the quit question")

        said = log.said()
        for text, times in SHOWN:
            n = sum(text in s for s in said)
            check(n == times, "Orca said %r %d times, not %d" % (text[:50], n, times))
    except Failure:
        messages.seek(0)
        print("Kadeno's last messages:\n  " + "\n  ".join(messages.read().splitlines()[-10:]),
              file=sys.stderr)
        raise
    finally:
        if game and game.poll() is None:
            game.kill()
            game.wait()
        messages.close()


def main():
    tools = ["orca", "speech-dispatcher", "openbox", "xdotool"]
    missing = [t for t in tools if not shutil.which(t)]
    missing += [] if os.path.exists(ESPEAK_MODULE) else ["speech-dispatcher-espeak-ng"]
    if missing:
        print("SKIP: not installed: " + ", ".join(missing))
        return 77
    with tempfile.TemporaryDirectory(prefix="kadeno-orca-") as work:
        wm = orca = log = None
        try:
            wm, orca, log = start_desktop(work)
            walk(sys.argv[1], work, log)
        except (Failure, NothingSaid) as e:
            print("FAIL:", e, file=sys.stderr)
            if log:
                print("Orca's last words:\n  " + "\n  ".join(map(repr, log.said()[-25:])),
                      file=sys.stderr)
            return 1
        finally:
            for p in filter(None, [orca, wm]):
                p.terminate()
                try:
                    p.wait(10)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
    print("e2e: Orca heard every box once")
    return 0


if __name__ == "__main__":
    sys.exit(main())
