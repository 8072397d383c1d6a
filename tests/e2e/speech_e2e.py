"""End to end: the program's own voice. The real program under Xvfb speaks to a stand-in
speech service while the script answers its boxes through AT-SPI and checks what was said.

    speech_e2e.py --alone PATH-TO-KADENO    no screen reader: each box said once, in order
    speech_e2e.py --reader PATH-TO-KADENO   a screen reader stops and starts during the run
    speech_e2e.py --modes PATH-TO-KADENO    KADENO_SPEECH off and on; a missing service, one
                                            that never answers, one that drops the connection
"""

import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gi.repository import Gio, GLib  # noqa: E402
from player import BOXES, Failure, Player, check, wait_for  # noqa: E402
from ssip_server import SpeechServer  # noqa: E402
from kadeno_e2e import FALLING, notes_on  # noqa: E402

HELP_1 = ("Kadeno Help.\nIn this brief help area, if you hit yes then I\nwill move on to the next"
          " part.  If you hit no\nthen I will rewind to the previous part.  If\nyou hit cancel I"
          " will abort this help dialog.\nYou can hit Y for Yes, N for No or Escape for\ncancel."
          "\nYes, No, Cancel.")
HELP_2_START = "Kadeno Help.\nKadeno is a musical game of tumbla.  It is\nplayed on a field"
DRUM = ("Drum Volume is now 100 out of 127.  Please enter the New value for Drum Volume.\n"
        "In the field: 100.\nOK, Cancel.")
READY = "About to start Game Play.\nAre you ready?\nYes, No."
SCORE = "Your score is 0.\nOK."
QUIT = "Do you really want to quit?\nYes, No."
# Long enough for a voice that was going to speak to have done so.
QUIET_S = 1.5


def announce_screen_reader(on):
    """What a screen reader does as it starts and stops: sets the accessibility bus's flag."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled",
                                         GLib.Variant("b", on))),
                  None, Gio.DBusCallFlags.NONE, -1, None)


class Session:
    def __init__(self, exe, work, speech, socket=None, **faults):
        self.work = work
        path = os.path.join(work, "speech.sock")
        self.server = SpeechServer(path, **faults) if socket is None else None
        self.stderr_path = os.path.join(work, "stderr.txt")
        self.stderr = open(self.stderr_path, "w")
        self.heard = []
        self.p = Player(exe, work, stderr=self.stderr, env_more={
            "KADENO_SPEECH": speech, "SPEECHD_ADDRESS": "unix_socket:" + (socket or path)})

    def box(self, what, answer, said=None, spoken=True, alert=True, typed=None):
        """Meets the next box, checks what the program said of it, and answers it."""
        box = self.p.next_box(what, alert=alert)
        if spoken:
            n = len(self.heard) + 1
            wait_for("%s to be said" % what, lambda: len(self.server.said()) >= n, timeout=10)
            text = self.server.said()[n - 1]
            check(said(text) if callable(said) else text == said,
                  "%s was said as %r" % (what, text))
            self.heard.append(text)
        else:
            time.sleep(QUIET_S)
        self.silent_since_heard(what)
        if typed is not None:
            box.type(typed)
        box.press(answer)

    def silent_since_heard(self, what):
        if self.server:
            check(self.server.said() == self.heard, "said around %s: %r, not %r"
                  % (what, self.server.said(), self.heard))

    def speech_lines(self):
        self.stderr.flush()
        with open(self.stderr_path) as f:
            return [line for line in f if "speech" in line]

    def end(self):
        check(self.p.wait_exit() == 0, "Kadeno ended with %s" % self.p.process.returncode)
        self.silent_since_heard("the end")

    def close(self):
        self.p.kill()
        self.stderr.close()
        if self.server:
            self.server.close()


def back_to_game(s):
    # With no window manager, the keyboard goes back to the window only once the box is gone.
    wait_for("the box to close", lambda: not s.p._windows(BOXES))
    s.p.focus_main_window()


def start_game(s):
    s.p.choose("File", "Start Game")
    s.box("the start question", "Yes", READY)
    back_to_game(s)
    wait_for("the first falling note", lambda: notes_on(s.p.log(), FALLING), timeout=30)


def hall_of_fame(text):
    # The name was written by another program in another encoding: the byte that is not
    # UTF-8 is left unsaid.
    return (text.startswith("Here is the Kadeno Masters Hall of Fame:\nFirst Place, with ")
            and " points is Ana at a difficulty level of " in text and text.endswith("\nOK."))


def alone(s):
    s.box("help page 1", "Yes", HELP_1)
    s.box("help page 2", "Cancel",
          lambda t: t.startswith(HELP_2_START) and t.endswith("\nYes, No, Cancel."))
    s.p.choose("Midi", "Set Midi Back to Default")
    s.box("the reset question", "Yes", "Are you sure you want to reset all the midi settings"
          " back to factory default?\nYes, No.")
    s.box("the reset done", "OK", "Midi settings are now as Quenloft originally made them.\nOK.")
    s.p.choose("Midi", "Drum Volume")
    # What is typed is not echoed: nothing more is said before the next box.
    s.box("the drum volume", "OK", DRUM, alert=False, typed="90")
    start_game(s)
    s.p.key("s")
    s.box("the score", "OK", SCORE)
    s.p.choose("File", "Hall Of Fame")
    s.box("the hall of fame", "OK", hall_of_fame)
    back_to_game(s)
    s.p.key("Escape")
    s.box("the quit question", "Yes", QUIT)
    s.end()
    check(s.server.connections == 1, "%d connections" % s.server.connections)


def reader(s):
    s.box("help page 1", "Cancel", spoken=False)
    s.p.choose("Midi", "Set Midi Back to Default")
    s.box("the reset question", "Yes", spoken=False)
    s.box("the reset done", "OK", spoken=False)
    s.p.choose("File", "Start Game")
    box = s.p.next_box("the start question")
    time.sleep(QUIET_S)
    s.silent_since_heard("the start question")
    # The screen reader stops: the box showing is said now.
    announce_screen_reader(False)
    wait_for("the start question to be said", lambda: s.server.said() == [READY], timeout=10)
    s.heard.append(READY)
    box.press("Yes")
    back_to_game(s)
    wait_for("the first falling note", lambda: notes_on(s.p.log(), FALLING), timeout=30)
    s.p.key("s")
    s.box("the score", "OK", SCORE)
    # The screen reader starts again: the program's voice falls silent at once.
    mark = len(s.server.log())
    announce_screen_reader(True)
    wait_for("the speech to be stopped", lambda: s.server.log()[mark:], timeout=10)
    back_to_game(s)
    s.p.key("Escape")
    s.box("the quit question", "Yes", spoken=False)
    s.end()


def walk(s, spoken):
    s.box("help page 1", "Cancel", HELP_1, spoken=spoken)
    s.p.choose("File", "Start Game")
    s.box("the start question", "No", READY, spoken=spoken)
    s.box("the cancel", "OK", "Game Play canceled by user request.\nOK.", spoken=spoken)
    s.p.choose("File", "Exit")
    s.end()


def modes(exe, work):
    def run(name, speech, reader_on=False, **session):
        folder = os.path.join(work, name)
        os.mkdir(folder)
        announce_screen_reader(reader_on)
        s = Session(exe, folder, speech, **session)
        try:
            yield s
        finally:
            s.close()

    # Off: not a word, not even a connection, though no screen reader runs.
    for s in run("off", "off"):
        walk(s, spoken=False)
        check(s.server.connections == 0, "off connected to the speech service")
    # On: speaks though a screen reader runs.
    for s in run("on", "on", reader_on=True):
        walk(s, spoken=True)
    # No speech service: the game goes on, one line on stderr.
    for s in run("missing", "auto", socket=os.path.join(work, "nobody-listens.sock")):
        walk(s, spoken=False)
        lines = s.speech_lines()
        check(len(lines) == 1, "stderr says of speech: %r" % lines)
    # A service that takes the first text and never answers holds up no box, nor the end.
    for s in run("hung", "auto", hang_at=1):
        started = time.monotonic()
        walk(s, spoken=False)
        # The walk takes three quiet waits and about a second more; a box that waited for
        # the service would add its five-second reply limit.
        took = time.monotonic() - started
        check(took < 3 * QUIET_S + 5, "the boxes waited for the speech (%.1f s)" % took)
    # The service drops the connection at the second text: the same.
    for s in run("dropped", "auto", drop_at=2):
        s.box("help page 1", "Yes", HELP_1)
        s.p.next_box("help page 2").press("Cancel")
        s.p.choose("File", "Exit")
        s.end()
        lines = s.speech_lines()
        check(len(lines) == 1, "stderr says of speech: %r" % lines)


def main():
    scenario, exe = sys.argv[1], sys.argv[-1]
    with tempfile.TemporaryDirectory(prefix="kadeno-speech-") as work:
        try:
            if scenario == "--modes":
                modes(exe, work)
            else:
                announce_screen_reader(scenario == "--reader")
                os.makedirs(os.path.join(work, "config", "kadeno"))
                with open(os.path.join(work, "config", "kadeno", "Kadeno.ini"), "wb") as f:
                    f.write(b"1stPlaceScore = 1203\r\n1stPlaceName = An\xe9a\r\n")
                s = Session(exe, work, "auto")
                try:
                    (reader if scenario == "--reader" else alone)(s)
                finally:
                    s.close()
        except Failure as e:
            print("FAIL:", e, file=sys.stderr)
            return 1
    print("speech e2e: %s passed" % scenario)
    return 0


if __name__ == "__main__":
    sys.exit(main())
