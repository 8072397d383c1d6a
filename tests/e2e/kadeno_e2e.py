"""The real program, its boxes read and answered through AT-SPI as a screen reader does,
speaking to a stand-in speech service. Scenarios: walk (no screen reader: each box said
once, in order), reader (a screen reader stops and starts), modes (KADENO_SPEECH off and on;
a service missing, hung or dropping the connection), close (the window closed mid-game),
first (a new player's first game sounds as after Set Midi Back to Default).
"""

import os
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pyatspi  # noqa: E402
from gi.repository import Gio, GLib  # noqa: E402
from harness import (MAIN_TITLE, Failure, Program, check, check_factory_sound, first_scan,  # noqa: E402
                     key, main, shipped_settings, wait_for)

NOTE_ON, FALLING, DRUM = 0x90, 5, 9
BOXES = (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)

HELP_1 = ("Kadeno Help.\nIn this brief help area, if you hit yes then I\nwill move on to the next",
          "\nYes, No, Cancel.")
READY = "About to start Game Play.\nAre you ready?\nYes, No."
SCORE = "Your score is 0.\nOK."
QUIT = "Do you really want to quit?\nYes, No."
CANCEL = "Game Play canceled by user request.\nOK."
QUIET_S = 1.5  # long enough for a voice that was going to speak to have done so


def notes_on(log, channel, start=0):
    return [i for i in range(start, len(log)) if isinstance(log[i][1], list)
            and log[i][1][0] == NOTE_ON | channel and log[i][1][2:3] > [0]]


class SpeechServer:
    """The speech service's text protocol (SSIP) on a Unix socket, as far as the client
    library uses it: lines end in CR LF; SPEAK is answered 230, then the text comes in lines
    up to a lone dot (a leading dot doubled), answered 225. It keeps the texts instead of
    saying them. drop_at, hang_at: the SPEAK (from 1) at which the connection is cut, or
    from which on nothing is answered. A text may not talk over the one before it: a SPEAK
    that comes with no CANCEL or STOP since the last text is kept in talked_over."""

    def __init__(self, path, drop_at=None, hang_at=None):
        self.path, self.drop_at, self.hang_at, self.open = path, drop_at, hang_at, []
        self.events, self.connections, self._speaks = [], 0, 0  # ("say", text), ("stop",)...
        self.settings = []  # the SET commands, as sent
        self.talked_over, self._speaking = [], False  # SPEAKs (from 1) over a text not cut
        self.start()

    def said(self):
        return [e[1] for e in list(self.events) if e[0] == "say"]

    def start(self):
        self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._socket.bind(self.path)
        self._socket.listen(4)
        threading.Thread(target=self._accept, args=(self._socket,), daemon=True).start()

    def stop(self):
        self._socket.shutdown(socket.SHUT_RDWR)
        self._socket.close()
        for conn in self.open:
            conn.shutdown(socket.SHUT_RDWR)
        self.open = []
        os.unlink(self.path)

    def _accept(self, listening):
        try:
            while True:
                conn, _ = listening.accept()
                self.connections += 1
                self.open.append(conn)
                threading.Thread(target=self._serve, args=(conn,), daemon=True).start()
        except OSError:  # stopped
            return

    def _serve(self, conn):
        reply = lambda text: conn.sendall(text.encode() + b"\r\n")  # noqa: E731
        text = None  # the lines of a message being received
        with conn, conn.makefile("rb") as stream:
            for raw in stream:
                line = raw.decode("utf-8").rstrip("\r\n")
                words = line.upper().split()
                if text is not None and line != ".":
                    text.append(line[1:] if line.startswith("..") else line)
                elif text is not None:
                    self.events.append(("say", "\n".join(text)))
                    self._speaking = True
                    reply("225-%d\r\n225 OK MESSAGE QUEUED" % self._speaks)
                    text = None
                elif words[:1] == ["SPEAK"]:
                    self._speaks += 1
                    if self._speaking:
                        self.talked_over.append(self._speaks)
                    if self._speaks == self.drop_at:
                        return
                    if self._speaks == self.hang_at:
                        return stream.read()  # hears on, says nothing
                    text = []
                    reply("230 OK RECEIVING DATA")
                elif words[:2] in (["CANCEL", "SELF"], ["STOP", "SELF"]):
                    self.events.append((words[0].lower(),))
                    self._speaking = False
                    reply("210 OK")
                elif words[:1] == ["QUIT"]:
                    return reply("231 HAPPY HACKING")
                else:  # SET SELF CLIENT_NAME, PRIORITY, LANGUAGE
                    self.settings.append(line)
                    reply("2%02d OK" % (8 if "CLIENT_NAME" in words else 2))


def announce_screen_reader(on):
    """What a screen reader does as it starts and stops: sets the accessibility bus's flag."""
    Gio.bus_get_sync(Gio.BusType.SESSION, None).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", on))),
        None, Gio.DBusCallFlags.NONE, -1, None)


class Session(Program):
    """The program as a screen reader meets it, speaking to a stand-in speech service. Boxes
    are met by the event of their showing, in order (looking for showing windows instead
    can mistake a new box for one just answered: the bridge hands a freed object path to
    the next object)."""

    def __init__(self, exe, work, speech="auto", reader=False, socket_path=None, env=(),
                 settings=b"1stPlaceScore = 1203\r\n1stPlaceName = An\xe9a\r\n", **faults):
        announce_screen_reader(reader)
        os.makedirs(work, exist_ok=True)
        path = os.path.join(work, "speech.sock")
        self.server, self.heard, self._shown, self._boxes_met = SpeechServer(path, **faults), [], [], 0
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        super().__init__([exe], work, settings=settings, env=dict(
            env, KADENO_SPEECH=speech, SPEECHD_ADDRESS="unix_socket:" + (socket_path or path)))
        self.app = wait_for("Kadeno on the accessibility bus", lambda: attempt(lambda: next(
            a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == self.process.pid)),
            timeout=60)  # a slow start on a loaded machine

    def _on_showing(self, event):
        if event.detail1 == 1 and attempt(event.source.getRole) in BOXES:
            self._shown.append(event.source)

    def windows(self, roles, name=None):
        return attempt(lambda: [w for w in self.app if w and w.getRole() in roles and name in (
            None, w.name) and w.getState().contains(pyatspi.STATE_SHOWING)]) or []

    def boxes_pending(self, forget=False):
        """How many boxes have shown and not been met yet; with forget, those are dropped."""
        while GLib.MainContext.default().pending():
            GLib.MainContext.default().iteration(False)
        if forget:
            self._shown.clear()
        return len(self._shown)

    def box(self, what, answer, said=None, alert=True, typed=None, reader_stops=False, shows=None):
        """Meets the next box (an alert, or else an input box), checks what was said of it
        (said: the text, or its start and end; none: nothing) and answers it. reader_stops:
        the screen reader stops while it shows; shows: the title and text it must show."""
        def read():
            return [attempt(lambda: (w.name, box_text(w))) for w in self.windows(BOXES)]
        if shows:
            try:
                wait_for(what, lambda: shows in read())
            except Failure:
                raise Failure("%s: the boxes showing read %r, not %r" % (what, read(), shows))

        def showing():
            if self.boxes_pending():
                return self._shown.pop(0)
            # The very first box may show before the bridge has heard that anyone listens;
            # with no box before it, a showing one can only be this one.
            return self._boxes_met == 0 and (self.windows(BOXES) + [None])[0]
        node = wait_for(what, showing)
        self._boxes_met += 1
        check(node.getRole() == BOXES[0 if alert else 1], "%s came as a %s" % (what, node.getRoleName()))
        if not said or reader_stops:
            time.sleep(QUIET_S)
            self.silent_since_heard(what)
        if reader_stops:
            announce_screen_reader(False)
        if said:
            text = wait_for("%s to be said" % what,
                            lambda: self.server.said()[len(self.heard):], timeout=10)[0]
            check(text.startswith(said[0]) and text.endswith(said[1]) if isinstance(said, tuple)
                  else text == said, "%s was said as %r" % (what, text))
            self.heard.append(text)
        self.silent_since_heard(what)
        if typed is not None:
            descendants(node, pyatspi.ROLE_TEXT)[0].queryEditableText().setTextContents(typed)
        buttons = {b.name: b.queryAction() for b in descendants(node, pyatspi.ROLE_PUSH_BUTTON)}
        check(answer in buttons, "no button %r in %s (has %s)" % (answer, what, list(buttons)))
        buttons[answer].doAction(next((i for i in range(buttons[answer].nActions) if
                                       buttons[answer].getName(i).lower() in ("press", "click")), 0))
        # Whatever the box said before it took the answer has arrived by now, ahead of the
        # answer's reply; none of it is about a box still to come.
        self.boxes_pending(forget=True)

    def silent_since_heard(self, what):
        check(self.server.said() == self.heard, "said around %s: %r, not %r"
              % (what, self.server.said(), self.heard))
        check(not self.server.talked_over, "texts %r said over the text before them, not "
              "after cutting it off" % self.server.talked_over)

    def choose(self, menu, item):
        main = wait_for("the main window", lambda: self.windows([pyatspi.ROLE_FRAME], MAIN_TITLE))
        items = {i.name: i for bar in descendants(main[0], pyatspi.ROLE_MENU_BAR)
                 for m in bar if m.name == menu for i in descendants(m, pyatspi.ROLE_MENU_ITEM)}
        check(item in items, "no menu item %s > %s" % (menu, item))
        check(items[item].queryAction().doAction(0), "%s > %s did not act" % (menu, item))

    def focus_main_window(self):
        """Once every box has gone, as a window manager would."""
        wait_for("the boxes to close", lambda: not self.windows(BOXES))
        self.window_id = subprocess.run(
            ["xdotool", "search", "--sync", "--limit", "1", "--pid", str(self.process.pid),
             "--name", "^%s$" % MAIN_TITLE], check=True, capture_output=True,
            text=True).stdout.split()[0]
        key(window=self.window_id)

    def reset(self, said):
        self.choose("Midi", "Set Midi Back to Default")
        self.box("the reset question", "Yes", said and "Are you sure you want to reset all the "
                 "midi settings back to factory default?\nYes, No.")
        self.box("the reset done", "OK",
                 said and "Midi settings are now as Quenloft originally made them.\nOK.")

    def start_game(self, said, answer="Yes", menu=("File", "Start Game"), **box):
        self.choose(*menu)
        self.box("the start question", answer, said, **box)
        self.focus_main_window()
        wait_for("the first falling note", lambda: notes_on(self.log(), FALLING), timeout=30)

    def exit(self):
        self.choose("File", "Exit")
        self.end()
        self.silent_since_heard("the end")

    def quit(self, said=None, answer="Yes", **box):
        self.focus_main_window()
        key("Escape")
        self.box("the quit question", answer, said, **box)
        self.end()
        self.silent_since_heard("the end")

    def saved_and_silent(self, line):
        check(line in self.settings(), "settings saved: %r" % self.settings())
        sounding = {}  # notes started and not ended, drums aside (they ring out by themselves)
        for _, m in self.log():
            if isinstance(m, list) and len(m) == 3 and m[0] & 0xE0 == 0x80 and m[0] & 15 != DRUM:
                sounding[(m[0] & 15, m[1])] = m[0] & 0xF0 == 0x90 and m[2] > 0
        check(not any(sounding.values()), "notes left sounding: %s" % sounding)


def attempt(read):
    try:
        return read()
    except Exception:  # an object that went away while read
        return None


def descendants(node, role):
    return attempt(lambda: [d for child in node if child for d in (
        [child] if child.getRole() == role else []) + descendants(child, role)]) or []


def box_text(node):
    """The text a box shows: its labels' names, the empty ones and the icon's left out."""
    return "\n".join(label.name for label in descendants(node, pyatspi.ROLE_LABEL) if label.name)


def walk(work, exe):
    s = Session(exe, work)
    s.box("help page 1", "Yes", HELP_1)
    s.box("help page 2", "No", ("Kadeno Help.\nKadeno is a musical game", "\nYes, No, Cancel."))
    s.box("help page 1 again", "Cancel", HELP_1)
    s.reset(True)
    s.choose("Midi", "Drum Volume")
    # What is typed is not echoed: nothing more is said before the next box.
    s.box("the drum volume", "OK", "Drum Volume is now 100 out of 127.  Please enter the New "
          "value for Drum Volume.\nIn the field: 100.\nOK, Cancel.", alert=False, typed="90")
    s.start_game(READY)
    # The menu's shortcut and the key handler both know F1: the help shows once.
    key("F1")
    s.box("the help in the game", "Cancel", HELP_1)
    time.sleep(1)
    check(s.boxes_pending() == 0, "F1 showed a second help")
    s.focus_main_window()
    key("s")
    s.box("the score", "OK", SCORE)
    s.choose("File", "Hall Of Fame")
    # The name was written by another program in another encoding: the byte that is not
    # UTF-8 is left unsaid.
    s.box("the hall of fame", "OK", ("Here is the Kadeno Masters Hall of Fame:\nFirst Place, "
                                     "with 1203 points is Ana at a difficulty level of ", "\nOK."))
    s.quit(QUIT)
    check(s.server.connections == 1, "%d connections" % s.server.connections)
    s.saved_and_silent(b"\r\nDrumVolume = 90\r\n")


def reader(work, exe):
    s = Session(exe, work, reader=True)
    s.box("help page 1", "Cancel")
    s.reset(False)
    s.start_game(READY, reader_stops=True)  # the box showing is said once the reader stops
    key("s")
    s.box("the score", "OK", SCORE)
    # The screen reader starts again: the program's voice falls silent at once.
    mark = len(s.server.events)
    announce_screen_reader(True)
    came = wait_for("the speech to be stopped", lambda: s.server.events[mark:], timeout=10)
    check(came[0] in (("cancel",), ("stop",)), "the screen reader's start met %r" % came)
    s.quit()


def modes(work, exe):
    def run(name, spoken, **session):
        """Three boxes, those whose flag in `spoken` is set said."""
        said = [text if on else None for text, on in zip([HELP_1, READY, CANCEL], spoken)]
        s = Session(exe, os.path.join(work, name), **session)
        started = time.monotonic()
        s.box("help page 1", "Cancel", said[0])
        s.choose("File", "Start Game")
        s.box("the start question", "No", said[1])
        s.box("the cancel", "OK", said[2])
        s.exit()
        return s, time.monotonic() - started

    # Off: not a word, not even a connection, though no screen reader runs.
    s, _ = run("off", (0, 0, 0), speech="off")
    check(s.server.connections == 0, "off connected to the speech service")
    run("on", (1, 1, 1), speech="on", reader=True)  # speaks though a screen reader runs
    # No speech service: the game goes on, with one line on stderr. One that drops the
    # connection at the second text: that box is silent, the next (shown 1.5 s later) is
    # said once the 2 s before the next try have passed, with a line for each.
    for name, spoken, lines_said, session in [
            ("missing", (0, 0, 0), 1, {"socket_path": os.path.join(work, "no.sock")}),
            ("dropped", (1, 0, 1), 2, {"drop_at": 2})]:
        s, _ = run(name, spoken, **session)
        lines = [line for line in s.errors() if "speech" in line]
        check(len(lines) == lines_said, "%s: stderr says of speech: %r" % (name, lines))
    # A service that takes the first text and never answers holds up no box, nor the end:
    # three quiet waits and about a second more, not the five-second reply limit.
    _, took = run("hung", (0, 0, 0), hang_at=1)
    check(took < 3 * QUIET_S + 5, "the boxes waited for the speech (%.1f s)" % took)


def close(work, exe):
    """What a window manager's close box does: WM_DELETE_WINDOW to the window, here while
    the game waits inside a nested event loop."""
    import ctypes.util
    s = Session(exe, work, speech="off")
    s.box("help page 1", "Cancel")
    s.reset(False)
    s.start_game(None)
    time.sleep(1)
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    atom = lambda name: x11.XInternAtom(display, name, 0)  # noqa: E731
    window = ctypes.c_ulong(int(s.window_id))
    # A ClientMessage (33) in the 24 longs of an XEvent: type, serial, send_event, display,
    # window, message_type, format (32), data[5].
    event = (ctypes.c_long * 24)(33, 0, 0, 0, window.value, atom(b"WM_PROTOCOLS"), 32,
                                 atom(b"WM_DELETE_WINDOW"))
    x11.XSendEvent(display, window, 0, ctypes.c_long(0), event)
    x11.XCloseDisplay(display)  # flushes the request
    s.end()
    s.saved_and_silent(b"\r\nDrumVolume = 100\r\n")


def first(work, exe):
    """A new player, with no settings file: the first game sounds as one started after Set
    Midi Back to Default (and the difficulty and width the boxes offer), note for note, at
    the factory velocities and instruments; Exit writes the
    player's own file, the same as the shipped one, which stays as it was."""
    shipped = shipped_settings(exe)
    with open(shipped, "rb") as f:
        shipped_bytes, shipped_time = f.read(), os.stat(shipped).st_mtime_ns
    scans = []
    for name in ("new", "reset"):
        # The old first start: an own file that sets nothing, so every volume is 0.
        s = Session(exe, os.path.join(work, name), speech="off", settings=None if name == "new" else b"")
        s.box("help page 1", "Cancel")
        if name == "reset":
            s.reset(False)
            s.choose("File", "Set Difficulty")
            s.box("the difficulty", "OK", alert=False)  # the 2 it offers
            # The reset leaves the placement for the next stereo command or start: this one
            # takes the 40 it offers and places the columns by the factory values.
            s.choose("Midi", "Set Stereo Width")
            s.box("the stereo width", "OK", alert=False)
        else:
            check(not os.path.exists(s.settings_path), "a settings file before the first save")
        s.start_game(None)
        scans.append(wait_for("the first scan", lambda: first_scan(s), 60))
        check_factory_sound(scans[-1])
        s.exit()
        check(s.settings() == shipped_bytes, "%s: saved %r" % (name, s.settings()))
    diverge = next((i for i, (a, b) in enumerate(zip(*scans)) if a != b), min(map(len, scans)))
    check(scans[0] == scans[1], "the new player's first scan differs from the reset one's from "
          "message %d: %s, not %s" % (diverge, scans[0][diverge:diverge + 4], scans[1][diverge:diverge + 4]))
    with open(shipped, "rb") as f:
        check((f.read(), os.stat(shipped).st_mtime_ns) == (shipped_bytes, shipped_time),
              "the shipped settings file changed")


if __name__ == "__main__":
    sys.exit(main({"walk": walk, "reader": reader, "modes": modes, "close": close, "first": first}))
