"""The end-to-end tests: the real program on a private display, its boxes read and answered
through AT-SPI or heard through Orca, its sound read from the message log or a private sound
server. Exit code 77: a tool is missing.
    harness.py SCENARIO ARGS...    one of SCENARIOS (at the end), on a display of its own
    harness.py private COMMAND...  any command on a private display (the benchmarks)
"""

import array
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

import polib

try:
    import pyatspi
    from gi.repository import Gio, GLib
    BOXES = (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
except ImportError:  # private() says so
    pyatspi = None

MAIN_TITLE = "Kadeno: Musical Tumbla"
DATA = {}  # harness.txt's tables: [section] -> its rows, comments and blank lines aside
for line in open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "harness.txt"), encoding="utf-8"):
    if line.startswith("["):
        DATA[section := line.strip()[1:-1]] = []
    elif line.strip() and not line.startswith("#"):
        DATA[section].append(line.rstrip("\n").replace("\\n", "\n"))
_started, _programs, _orca = [], [], []  # the processes main() ends, the programs, Orca's log


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


def attempt(read):
    try:
        return read()
    except Exception:  # an object that went away while read
        return None


def read(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def write(path, data, mode=0o644):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb" if isinstance(data, bytes) else "w") as f:
        f.write(data)
    os.chmod(path, mode)


def xdotool(*args, pause=0.0, must=True):
    done = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    check(done.returncode == 0 or not must, "xdotool %s: %s" % (" ".join(args), done.stderr))
    time.sleep(pause)
    return done.stdout.strip()


def key(*names, window=None):  # with no window manager, nobody but us gives a window the keys
    if window:
        xdotool("windowfocus", "--sync", window)
    for name in names:
        xdotool("key", "--clearmodifiers", name)


def windows(title=None):
    return xdotool("search", "--onlyvisible", "--name", "^%s$" % re.escape(title) if title else ".*",
                   must=False).split()


def private(command):
    """Runs command on a private Xvfb and session bus with a home of its own: the user's dconf
    may say a screen reader runs, and must be neither read nor changed. Xvfb picks the display
    (-displayfd): a second server on a taken display removes the first one's socket."""
    missing = [t for t in ("Xvfb", "dbus-run-session", "xdotool") if not shutil.which(t)]
    if missing or not pyatspi:
        return print("SKIP: not installed: " + " ".join(missing or ["python3-pyatspi"])) or 77
    work = tempfile.mkdtemp(prefix="kadeno-private-")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))  # the display and folder go all the same
    log, (number, fd), home = open(work + "/xvfb.log", "w+"), os.pipe(), work + "/home"
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(fd), "-screen", "0", "1024x768x24", "-nolisten",
                             "tcp"], pass_fds=[fd], stderr=log)
    os.close(fd)
    folders = dict(HOME=home, XDG_RUNTIME_DIR=work + "/runtime", XDG_CONFIG_HOME=home + "/.config",
                   XDG_DATA_HOME=home + "/.local/share", XDG_CACHE_HOME=home + "/.cache",
                   XDG_STATE_HOME=home + "/.local/state")
    env = {k: v for k, v in os.environ.items() if k not in (
        "DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "DCONF_PROFILE", "GSETTINGS_BACKEND")}
    try:
        env.update(folders, DISPLAY=":" + os.read(number, 16).decode().strip(), KADENO_PRIVATE=work)
        if env["DISPLAY"] == ":":
            return print("Xvfb did not start:\n" + read(log.name, "r")) or 1
        for folder in folders.values():
            os.makedirs(folder, mode=0o700)
        run = subprocess.Popen(["dbus-run-session", "--", *command], env=env, stderr=subprocess.PIPE,
                               text=True, errors="replace")
        for line in run.stderr:
            if not re.search("Failed to set fd limit|Activating service|Successfully activated", line):
                sys.stderr.write(line)
        if run.wait() not in (0, 77):
            sys.stderr.write("--- Xvfb said:\n" + read(log.name, "r"))
        return run.returncode
    finally:  # with the daemons started for the session (a speech service spawned by Orca)
        xvfb.terminate()
        xvfb.wait()
        subprocess.run(["pkill", "-f", "--", work + "/"])
        shutil.rmtree(work, ignore_errors=True)


class Program:
    """The program with its settings (the bytes `settings`) in WORK/config or settings_path, its
    MIDI in WORK/midi.log, its stderr in WORK/stderr.txt; its own voice off unless env says."""

    def __init__(self, command, work, settings=None, settings_path=None, env=()):
        self.work, self.log_path = work, os.path.join(work, "midi.log")
        self.settings_path = settings_path or os.path.join(work, "config", "kadeno", "Kadeno.ini")
        if settings is not None:
            write(self.settings_path, settings)
        os.makedirs(work, exist_ok=True)
        self.stderr = open(os.path.join(work, "stderr.txt"), "w")
        _programs.append(self)
        self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stderr=self.stderr, env=dict(
            os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"), KADENO_SPEECH="off",
            XDG_DATA_HOME=os.path.join(work, "data"), KADENO_MIDI_OUT="log:" + self.log_path) | dict(env))
        _started.append(self.process)

    def log(self):
        """[(ms, [bytes...]) or (ms, 'wave ...')] from the message log."""
        lines = read(self.log_path, "r").splitlines() if os.path.exists(self.log_path) else []
        return [(float(t), m.strip() if m.startswith("wave") else [int(b, 16) for b in m.split()])
                for t, m in (line.split(None, 1) for line in lines if len(line.split()) > 1)]

    def settings(self):
        return read(self.settings_path)

    def errors(self):
        return read(self.stderr.name, "r").splitlines()

    def end(self):
        try:
            check(self.process.wait(30) == 0, "Kadeno ended with %s" % self.process.returncode)
        except subprocess.TimeoutExpired:
            raise Failure("Kadeno did not end")


def settled(read, quiet_s):
    """Whether what read() returns stays the same for quiet_s."""
    before = len(read())
    time.sleep(quiet_s)
    return len(read()) == before


def first_scan(p, since=0):
    """The MIDI messages from the log's entry `since` up to the eighth column placement (B0 0A),
    which opens the second scan; None while the first scan plays."""
    words = [m for _, m in p.log()[since:] if isinstance(m, list)]
    starts = [i for i, m in enumerate(words) if m[:2] == [0xB0, 0x0A]]
    return words[:starts[7]] if len(starts) >= 8 else None


def check_same(a, b, what):
    at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
    check(a == b, "%s differ from message %d: %s, not %s" % (what, at, a[at:at + 4], b[at:at + 4]))


def shipped_settings(exe):
    """The default settings file beside the award sounds (../share/kadeno once installed)."""
    folder = os.path.dirname(os.path.abspath(exe))
    for data in (folder, os.path.join(folder, "..", "share", "kadeno")):
        if os.path.exists(os.path.join(data, "TenMore.wav")):
            return os.path.join(data, "Kadeno-default.ini")
    raise Failure("no award sounds beside %s" % exe)


FACTORY_VOICES = {int(c): (int(v), int(i)) for c, v, i in map(str.split, DATA["factory voices"])}


def check_factory_sound(scan):
    """Every note at its voice's factory velocity, every instrument the factory one; the base
    line, the falling note and the drum among them."""
    played = {m[0] & 15 for m in scan if m[0] & 0xF0 == 0x90}
    check({1, 5, 9} <= played, "the first scan played channels %s" % sorted(played))
    for m in scan:
        if m[0] & 0xF0 == 0x90:
            check(m[2] == FACTORY_VOICES[m[0] & 15][0], "note %s at velocity %d" % (m, m[2]))
        if m[0] & 0xF0 == 0xC0:
            check(m[1] == FACTORY_VOICES[m[0] & 15][1], "instrument %s" % m)


# --- a stand-in speech service, and the program as a screen reader meets it through AT-SPI

HELP_1 = ("Kadeno Help.\nIn this brief help area, if you hit yes then I\nwill move on to the next",
          "\nYes, No, Cancel.")
READY = "About to start Game Play.\nAre you ready?\nYes, No."
CANCEL = "Game Play canceled by user request.\nOK."
QUIET_S = 1.5  # long enough for a voice that was going to speak to have done so


class SpeechServer:
    """The speech service's protocol (SSIP) on a Unix socket, as far as the client uses it: SPEAK
    is answered 230, the text's lines follow up to a lone dot (a leading dot doubled), answered
    225; texts are kept, not said. drop_at, hang_at: the SPEAK (from 1) that cuts the connection,
    or from which on nothing is answered. A SPEAK with no CANCEL or STOP since the last text
    talks over it (talked_over)."""

    def __init__(self, path, drop_at=None, hang_at=None):
        self.path, self.drop_at, self.hang_at, self.open = path, drop_at, hang_at, []
        self.events, self.settings, self.talked_over = [], [], []  # ("say", text), ("stop",); SETs
        self.connections, self._speaks, self._speaking = 0, 0, False
        self.start()

    def said(self):
        return [e[1] for e in list(self.events) if e[0] == "say"]

    def start(self):
        self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._socket.bind(self.path)
        self._socket.listen(4)
        threading.Thread(target=self._accept, args=(self._socket,), daemon=True).start()

    def stop(self):
        for s in [self._socket] + self.open:
            s.shutdown(socket.SHUT_RDWR)
        self._socket.close()
        self.open = []
        os.unlink(self.path)

    def _accept(self, listening):
        while conn := attempt(lambda: listening.accept()[0]):  # until stopped
            self.connections += 1
            self.open.append(conn)
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

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
                    self._speaking, text = True, None
                    reply("225-%d\r\n225 OK MESSAGE QUEUED" % self._speaks)
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
    """As a screen reader does when it starts and stops."""
    Gio.bus_get_sync(Gio.BusType.SESSION, None).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", on))),
        None, Gio.DBusCallFlags.NONE, -1, None)


def descendants(node, role):
    return attempt(lambda: [d for child in node if child for d in (
        [child] if child.getRole() == role else []) + descendants(child, role)]) or []


class Session(Program):
    """The program speaking to a stand-in speech service. Boxes are met by their showing events,
    in order: a search for showing windows can take a new box for one just answered, as the
    bridge hands a freed object path to the next object."""

    def __init__(self, exe, work, speech="auto", reader=False, socket_path=None, env=(),
                 settings=b"1stPlaceScore = 1203\r\n1stPlaceName = An\xe9a\r\n", **faults):
        announce_screen_reader(reader)
        path = os.path.join(work, "speech.sock")
        os.makedirs(work, exist_ok=True)
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

    def boxes_pending(self, forget=False):  # shown and not met yet; with forget, dropped
        while GLib.MainContext.default().pending():
            GLib.MainContext.default().iteration(False)
        if forget:
            self._shown.clear()
        return len(self._shown)

    def box(self, what, answer, said=None, alert=True, typed=None, reader_stops=False, shows=None):
        """Meets the next box (an alert, or else an input box), checks what was said of it (the
        text, its (start, end), or None: nothing) and answers it. reader_stops: the screen reader
        stops while it shows; shows: the (title, labels' text) it must show."""
        def read():
            return [attempt(lambda: (w.name, "\n".join(label.name for label in descendants(
                w, pyatspi.ROLE_LABEL) if label.name))) for w in self.windows(BOXES)]
        if shows and not attempt(lambda: wait_for(what, lambda: shows in read())):
            raise Failure("%s: the boxes showing read %r, not %r" % (what, read(), shows))

        def showing():
            if self.boxes_pending():
                return self._shown.pop(0)
            # The first box may show before the bridge knows anyone listens: it can only be this.
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
            text = wait_for("%s to be said" % what, lambda: self.server.said()[len(self.heard):], 10)[0]
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
        # What the box said before it took the answer has arrived, ahead of the answer's reply.
        self.boxes_pending(forget=True)

    def silent_since_heard(self, what):
        check(self.server.said() == self.heard, "said around %s: %r, not %r"
              % (what, self.server.said(), self.heard))
        check(not self.server.talked_over, "texts %r said over the text before them, not after "
              "cutting it off" % self.server.talked_over)

    def choose(self, menu, item):
        main = wait_for("the main window", lambda: self.windows([pyatspi.ROLE_FRAME], MAIN_TITLE))
        items = {i.name: i for bar in descendants(main[0], pyatspi.ROLE_MENU_BAR)
                 for m in bar if m.name == menu for i in descendants(m, pyatspi.ROLE_MENU_ITEM)}
        check(item in items, "no menu item %s > %s" % (menu, item))
        # Exit can end the program before its answer to the action leaves for the bus.
        acted = attempt(lambda: items[item].queryAction().doAction(0))
        check(acted or attempt(lambda: self.process.wait(10)) is not None,
              "%s > %s did not act" % (menu, item))

    def focus_main_window(self):
        """With no window manager X gives the keys to the root window as a box closes: once every
        box has gone, the program must take them back."""
        wait_for("the boxes to close", lambda: not self.windows(BOXES))
        self.window_id = xdotool("search", "--sync", "--limit", "1", "--pid", str(self.process.pid),
                                 "--name", "^%s$" % MAIN_TITLE).split()[0]
        wait_for("the keyboard back at the main window",
                 lambda: xdotool("getwindowfocus", "getwindowname", must=False) == MAIN_TITLE, 10)

    def reset(self, c, said=False):
        """Set Midi Back to Default, its boxes showing catalog c's texts (said: ending in buttons)."""
        self.choose(c.item("&Midi"), c.item("Set Midi Back to Default"))
        for what, answer, text, buttons in [
                ("the reset question", "&Yes", "Are you sure you want to reset all the midi settings back to "
                 "factory default?", "Yes, No"),
                ("the reset done", "OK", "Midi settings are now as Quenloft originally made them.", "OK")]:
            self.box(what, c.item(answer), said and ("", c.said(buttons)), shows=("Kadeno", c.tr(text)))

    def start_game(self, said, answer="Yes", menu=("File", "Start Game"), falling=True, **box):
        """The start question answered, the keys back, and (falling) the first falling note."""
        self.choose(*menu)
        self.box("the start question", answer, said, **box)
        self.focus_main_window()
        wait_for("the first falling note", lambda: not falling or any(
            isinstance(m, list) and m[0] == 0x95 and m[2:3] > [0] for _, m in self.log()), 30)

    def quit(self, said=None, answer="Yes", menu=False, **box):
        """Out by File > Exit (menu), or by Escape and the quit question answered."""
        if menu:
            self.choose("File", "Exit")
        else:
            self.focus_main_window()
            key("Escape")
            self.box("the quit question", answer, said, **box)
        self.end()
        self.silent_since_heard("the end")

    def saved_and_silent(self, line):  # the line saved, and no note left sounding
        check(line in self.settings(), "settings saved: %r" % self.settings())
        sounding = {}  # drums aside: they ring out by themselves
        for _, m in self.log():
            if isinstance(m, list) and len(m) == 3 and m[0] & 0xE0 == 0x80 and m[0] & 15 != 9:
                sounding[(m[0] & 15, m[1])] = m[0] & 0xF0 == 0x90 and m[2] > 0
        check(not any(sounding.values()), "notes left sounding: %s" % sounding)


# --- Orca under a light window manager, speaking through speech-dispatcher and espeak-ng to
# ALSA's null device

class OrcaLog:
    """What Orca said, from its debug log's entries "HH:MM:SS.ffffff - SPEECH OUTPUT: 'text'" and
    the voice as a dict, a text's further lines indented by 18 blanks."""
    ENTRY = re.compile(r"^\d\d:\d\d:\d\d\.\d{6} - ", re.M)
    SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\S+)? ?\{.*\}\n?$", re.S)

    def __init__(self, path):
        self.path, self._read, self._pending, self._said = path, 0, "", []

    def said(self):  # every utterance so far, in order
        if os.path.exists(self.path):
            with open(self.path, encoding="utf-8", errors="replace") as f:
                f.seek(self._read)
                self._pending += f.read()
                self._read = f.tell()
        text = self._pending
        starts = [m.start() for m in self.ENTRY.finditer(text)] + [len(text)]
        # The last entry may still be in writing.
        if not (len(starts) > 1 and self.SPEECH.search(text, starts[-2]) and text.endswith("\n")):
            starts.pop()
        for start, end in zip(starts, starts[1:]):
            m = self.SPEECH.match(text[start:end].replace("\n" + " " * 18, "\n"), 18)
            self._said += [m.group(1)] if m else []
        self._pending = text[starts[-1]:] if starts else text
        return self._said

    def heard(self, what, mark, seconds):  # an utterance since `mark` that starts so
        end = time.monotonic() + seconds
        while time.monotonic() < end and not any(s.startswith(what) for s in self.said()[mark:]):
            time.sleep(0.05)

    def after(self, action, *expected, timeout=20.0):
        """Does action, waits until Orca has said the expected phrases in order (^: a start; a
        full stop where it pauses may follow), then for 0.8 s of quiet; returns all it said. The
        timeout counts from the action's end (a round on a loaded machine can take minutes)."""
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
            check(time.monotonic() < end, "Orca did not say %r in order; it said %r" % (expected, said))
            time.sleep(0.1)
        count, since = -1, time.monotonic()
        while time.monotonic() - since < 0.8:
            if len(self.said()) != count:
                count, since = len(self.said()), time.monotonic()
            time.sleep(0.1)
        return self.said()[mark:]


def start_desktop(work):
    """Openbox, then Orca; Orca's log once it has spoken (None: not installed)."""
    missing = [t for t in ["orca", "speech-dispatcher", "openbox"] if not shutil.which(t)]
    if missing or not os.path.exists("/usr/lib/speech-dispatcher-modules/sd_espeak-ng"):
        return print("SKIP: not installed: " + ", ".join(missing or ["speech-dispatcher-espeak-ng"]))
    write(os.path.join(os.environ["XDG_CONFIG_HOME"], "speech-dispatcher", "speechd.conf"),
          'AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDefaultModule espeak-ng\n'
          'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n')
    prefs, shims, out = work + "/orca", work + "/bin", open(work + "/desktop.out", "w+")
    write(prefs + "/orca-customizations.py", "from orca import debug\nif debug.debugFile:\n"
          "    debug.debugFile.reconfigure(line_buffering=True)\n")  # a log read as it goes
    # With other tests starting beside it, openbox now and then fails to open the display that
    # answers everyone else: three tries.
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
    # Orca will not start beside another Orca of the same user, anywhere: it looks in its own
    # session only.
    if shutil.which("pgrep"):
        write(shims + "/pgrep", '#!/bin/sh\nexec %s -s 0 "$@"\n' % shutil.which("pgrep"), 0o755)
    log = OrcaLog(work + "/orca.log")
    orca = subprocess.Popen(["orca", "-u", prefs, "--debug-file=" + log.path], stdout=out,
                            stderr=subprocess.STDOUT, start_new_session=True, env=dict(
                                os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", LANGUAGE="",  # in English
                                PATH=shims + os.pathsep + os.environ["PATH"]))
    _started.append(orca)
    # A changed log format must not let a scenario pass on no utterance at all.
    if not attempt(lambda: wait_for("Orca's first words", lambda: log.said() or orca.poll() is not None,
                                    60)) or orca.poll() is not None or wm.poll() is not None:
        out.seek(0)
        raise Failure("no Orca on the desktop; Orca and openbox printed:\n" + out.read())
    _orca.append(log)
    return log


def active_window():
    return xdotool("getactivewindow", "getwindowname", must=False)


def alt(orca, letter, opens):
    """Alt held around the letter as fingers do. Qt's bridge can reorder keys whose answers from a
    loaded Orca come late (an Alt let go too soon overtook the letter): the letter follows
    Orca's echo of Alt, and Alt is let go once Orca says the item the menu opens on."""
    def act():
        mark = len(orca.said())
        xdotool("keydown", "alt")
        orca.heard("left alt", mark, 10)
        xdotool("key", letter)
        orca.heard(opens, mark, 20)
        xdotool("keyup", "alt", pause=0.3)
    return act


def orca_walk_steps(name, **actions):
    """The walk [name] of harness.txt: rows "keys | what Orca must say then...", the keys @X the
    function actions[X], maybe ending in "timeout=S" and "then=X" (actions[X] of what was said)."""
    for keys, *said in (row.split(" | ") for row in DATA[name]):
        extra = dict(f.split("=", 1) for f in said if re.fullmatch(r"(timeout|then)=\S+", f))
        yield (actions[keys[1:]] if keys[0] == "@" else keys, said[:len(said) - len(extra)],
               float(extra.get("timeout", 20)), actions.get(extra.get("then")))


def orca_steps(orca, steps):
    """Under load Qt's bridge now and then loses a key while it waits on Orca (keyEventError
    NoReply): Alt and its letter are pressed again, up to three times, without an Escape (which
    would ask to quit). Keys go at a person's pace, as a burst can lose one."""
    for keys, said, timeout, then in steps:
        tries = 3 if str(keys).startswith("alt+") else 1
        for n in range(tries):
            try:
                heard = orca.after(alt(orca, keys[4:], said[0]) if tries == 3 else keys if callable(keys)
                                   else lambda: xdotool("key", keys, pause=0.3), *said, timeout=timeout)
                break
            except Failure as e:
                if n == tries - 1:
                    raise
                print("the menu did not open (%s); %s again" % (e, keys), file=sys.stderr)
        if then:
            then(heard)


def program_actions(games, exe, work, settings):
    """@start: the program started (its first help read), @quit: the quit question's Y and its end."""
    return dict(start=lambda: games.append(Program([exe], work, env={"KADENO_SPEECH": "auto"},
                                                   settings=settings)),
                quit=lambda: (xdotool("key", "y", pause=0.3), games[-1].end()))


# --- a private sound server, its sound captured

RATE, SINK = 44100, "kadeno_e2e"
SOUND_LOST = "kadeno: the sound server went away; the game goes on without sound until one answers again"
SOUND_BACK = "kadeno: the sound server answers again; sound is back"
BACK_WITHIN_S = 2.0  # from the server's return to the first sound it hears from the game
WINDOW_S = 0.05  # the stretch of sound whose balance counts as one look at the stereo


class SoundServer:
    """A PulseAudio server with a null sink, on a socket in `folder` that outlives it. The
    program's socket opens only once the sink is awake: a fresh null sink sleeps about 1.8 s
    first, which a sound card does not, and which would hide how soon the program comes back."""

    def __init__(self, folder):
        self.folder, self.socket, control = folder, folder + "/socket", folder + "/control"
        write(folder + "/null.pa", "load-module module-null-sink sink_name=%s\nset-default-sink %s\n"
              "load-module module-native-protocol-unix auth-anonymous=1 socket=%s\n" % (SINK, SINK, control))
        self.env = dict(os.environ, PULSE_SERVER="unix:" + control)

    def start(self):
        log = open(self.folder + "/log", "a")
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "-F", self.folder + "/null.pa", "--daemonize=no", "--exit-idle-time=-1",
             "--use-pid-file=no", "--log-target=stderr"], stdout=log, stderr=log,
            env=dict(self.env, PULSE_RUNTIME_PATH=self.folder, XDG_RUNTIME_DIR=self.folder))
        _started.append(self.process)
        wait_for("the sound server to answer", lambda: self.pactl("info", must=False) is not None
                 or self.process.poll() is not None, timeout=20)
        check(self.process.poll() is None, "the sound server ended at its start")
        capture = Capture(self)
        wait_for("the sink to wake", lambda: capture.blocks, timeout=20)
        self.pactl("load-module", "module-native-protocol-unix", "auth-anonymous=1", "socket=" + self.socket)
        return capture, time.monotonic()

    def exit(self):
        self.pactl("exit")
        self.process.wait(20)

    def pactl(self, *args, must=True):
        done = subprocess.run(["pactl", *args], env=self.env, capture_output=True, text=True)
        check(done.returncode == 0 or not must, "pactl %s: %s" % (" ".join(args), done.stderr))
        return done.stdout if done.returncode == 0 else None


class Capture:
    """The sink's monitor as it comes, each block stamped with its arrival."""

    def __init__(self, server):
        self.blocks = []  # (arrival, [left, right, left, ...])
        self.process = subprocess.Popen(
            ["parec", "-d", SINK + ".monitor", "--raw", "--format=s16le", "--channels=2",
             "--rate=%d" % RATE, "--latency-msec=10"], env=server.env, stdout=subprocess.PIPE)
        _started.append(self.process)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        rest = b""  # a frame cut by the pipe
        while block := self.process.stdout.read1(4096):
            block, whole = rest + block, (len(rest) + len(block)) // 4 * 4
            samples, rest = array.array("h"), block[whole:]
            samples.frombytes(block[:whole])
            self.blocks.append((time.monotonic(), samples))

    def first_sound(self, since):
        return next((t for t, s in list(self.blocks) if t >= since and any(s)), None)

    def balances(self, since):
        """(time, right share of the energy) of each loud window after `since`."""
        frames, start = array.array("h"), None
        for t, s in list(self.blocks):
            if t >= since:
                start = start or t
                frames.extend(s)
        n = int(WINDOW_S * RATE) * 2
        out, loud = [], max(1, max((abs(v) for v in frames), default=0) // 8)
        for i in range(0, len(frames) - n, n):
            w = frames[i:i + n]
            left, right = sum(v * v for v in w[0::2]), sum(v * v for v in w[1::2])
            if max(abs(v) for v in w) >= loud:
                out.append((start + i / 2 / RATE, right / (left + right)))
        return out

    def stop(self):
        self.process.kill()
        self.process.wait()


def sweep(balances):
    """+1 when a stretch of one scan (at most 4 s at difficulty 2) moves steadily rightwards
    across the field; -1 leftwards; else None."""
    for direction in (1, -1):
        for i, (t0, b0) in enumerate(balances):
            stretch = [direction * b for t, b in balances[i:] if t - t0 <= 4.0]
            far = max(range(len(stretch)), key=lambda k: stretch[k])
            steps = [stretch[k + 1] - stretch[k] for k in range(far)]
            if stretch[far] - stretch[0] >= 0.2 and len(steps) >= 10 and \
                    sum(d >= -0.01 for d in steps) >= 0.9 * len(steps):
                return direction
    return None


# --- the scenarios

def kadeno_reader(work, exe):
    """A screen reader stops (the box showing is said then) and starts again (the program's voice
    stops at once); then the close box (WM_DELETE_WINDOW), while the game waits inside a nested
    event loop, ends the program, settings saved."""
    import ctypes.util
    s = Session(exe, work, reader=True)
    s.box("help page 1", "Cancel")
    s.reset(Catalog("en"))
    s.start_game(READY, reader_stops=True)
    key("s")
    s.box("the score", "OK", "Your score is 0.\nOK.")
    mark = len(s.server.events)
    announce_screen_reader(True)
    came = wait_for("the speech to be stopped", lambda: s.server.events[mark:], timeout=10)
    check(came[0] in (("cancel",), ("stop",)), "the screen reader's start met %r" % came)
    s.focus_main_window()
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    atom = lambda name: x11.XInternAtom(display, name, 0)  # noqa: E731
    window = ctypes.c_ulong(int(s.window_id))
    # A ClientMessage (33) in an XEvent's 24 longs: type, serial, send_event, display, window,
    # message_type, format (32), data[5].
    event = (ctypes.c_long * 24)(33, 0, 0, 0, window.value, atom(b"WM_PROTOCOLS"), 32,
                                 atom(b"WM_DELETE_WINDOW"))
    x11.XSendEvent(display, window, 0, ctypes.c_long(0), event)
    x11.XCloseDisplay(display)  # flushes the request
    s.end()
    s.saved_and_silent(b"\r\nDrumVolume = 100\r\n")


def kadeno_modes(work, exe):
    """KADENO_SPEECH off and on; a speech service missing, hung, dropping the connection or gone
    for a while."""
    def run(name, spoken, away=None, **session):
        """The first help, Start Game declined and its cancel, said as `spoken` flags; away(s)
        between the first two."""
        said = [text if on else None for text, on in zip([HELP_1, READY, CANCEL], spoken)]
        s, started = Session(exe, os.path.join(work, name), **session), time.monotonic()
        s.box("help page 1", "Cancel", said[0])
        if away:
            away(s)
        s.choose("File", "Start Game")
        s.box("the start question", "No", said[1])
        s.box("the cancel", "OK", said[2])
        s.quit(menu=True)
        return s, time.monotonic() - started

    def away(s):
        """The service stops: both boxes shown meanwhile come at once, silent. It comes back once
        the cancel has gone (while it shows, its text is still the one to say)."""
        s.server.stop()
        for what, answer in [("the start question", "No"), ("the cancel", "OK")]:
            asked = time.monotonic()
            if what == "the start question":
                s.choose("File", "Start Game")
            s.box(what, answer)
            check(time.monotonic() - asked < QUIET_S + 3, "%s waited for the speech service" % what)
        wait_for("the cancel to close", lambda: not s.windows(BOXES))
        s.server.start()

    # Off: not even a connection.
    s, _ = run("off", (0, 0, 0), speech="off")
    check(s.server.connections == 0, "off connected to the speech service")
    run("on", (1, 1, 1), speech="on", reader=True)  # speaks though a screen reader runs
    # No service: the game goes on, one line on stderr. One that drops the connection at the
    # second text: that box is silent, the next (shown 1.5 s later) is said at the next try 2 s
    # on, on a new connection, with a line for each.
    back = ["kadeno: the speech service answers again; speaking on"]
    for name, spoken, comes_back, session in [
            ("missing", (0, 0, 0), False, {"socket_path": os.path.join(work, "no.sock")}),
            ("dropped", (1, 0, 1), True, {"drop_at": 2}), ("away", (1, 1, 1), True, {"away": away})]:
        s, _ = run(name, spoken, **session)
        lines = [line for line in s.errors() if "speech" in line]
        check(len(lines) == 1 + comes_back and lines[0].endswith("; going on without speech") and
              lines[1:] == back[:comes_back], "%s: stderr says of speech: %r" % (name, lines))
        check(s.server.connections == (2 if comes_back else 0), "%s: %d connections" % (name, s.server.connections))
    # A service that never answers holds up no box, nor the end: three quiet waits and about a
    # second, not the five-second reply limit.
    _, took = run("hung", (0, 0, 0), hang_at=1)
    check(took < 3 * QUIET_S + 5, "the boxes waited for the speech (%.1f s)" % took)


def kadeno_first(work, exe):
    """A new player's first game (no settings file) sounds, note for note, as one after Set Midi
    Back to Default and the difficulty and width offered, at the factory voices; Exit writes
    the player's own file, the same as the shipped one, which stays as it was."""
    shipped = shipped_settings(exe)
    shipped_bytes, shipped_time, scans = read(shipped), os.stat(shipped).st_mtime_ns, []
    for name in ("new", "reset"):
        # The old first start: an own file that sets nothing, so every volume is 0.
        s = Session(exe, os.path.join(work, name), speech="off", settings=None if name == "new" else b"")
        s.box("help page 1", "Cancel")
        if name == "reset":
            s.reset(Catalog("en"))
            s.choose("File", "Set Difficulty")
            s.box("the difficulty", "OK", alert=False)  # the 2 it offers
            # The reset leaves the placement to the next stereo command: 40, as offered.
            s.choose("Midi", "Set Stereo Width")
            s.box("the stereo width", "OK", alert=False)
        else:
            check(not os.path.exists(s.settings_path), "a settings file before the first save")
        # The reset and the stereo width are heard first.
        wait_for("the quick scans to end", lambda: settled(s.log, 0.6), 10)
        since = len(s.log())
        s.start_game(None)
        scans.append(wait_for("the first scan", lambda: first_scan(s, since), 60))
        check_factory_sound(scans[-1])
        s.quit(menu=True)
        check(s.settings() == shipped_bytes, "%s: saved %r" % (name, s.settings()))
    check_same(scans[0], scans[1], "the new player's first scan and the reset one's")
    check((read(shipped), os.stat(shipped).st_mtime_ns) == (shipped_bytes, shipped_time),
          "the shipped settings file changed")


def play_round():
    """A round played by the windows' titles: Orca falls behind while the game runs. Space would
    press the score box's button: drop only while the game has the keys; one every 2 s, as a
    key every 0.7 s left a loaded Orca minutes behind."""
    xdotool("key", "y", pause=0.3)
    end = time.monotonic() + 400
    while (window := active_window()) != "Kadeno":
        check(time.monotonic() < end, "the round did not end")
        if window == MAIN_TITLE:
            xdotool("key", "space", pause=2.0)
        else:  # no window has the focus yet
            time.sleep(0.1)


def orca_walk(work, exe):
    """Played from the keyboard alone under openbox; Orca must say every box once."""
    orca, games = start_desktop(work), []
    if orca is None:
        return 77
    offered = lambda said: check(any(re.fullmatch(r"(.* )?2( selected)?\.?", s) for s in said),  # noqa: E731
                                 "the offered value 2 is not said: %r" % said)
    typed = lambda said: wait_for("the difficulty typed in the settings file",  # noqa: E731
                                  lambda: b"\r\nDifficulty = 3\r\n" in games[0].settings(), 10)
    settings = b"1stPlaceScore = 1230.4\r\n1stPlaceName = Ace\r\n2ndPlaceScore = 870\r\n2ndPlaceName = Bee\r\n"
    orca_steps(orca, orca_walk_steps("orca walk", play_round=play_round, offered=offered, typed=typed,
                                     **program_actions(games, exe, work, settings + b"Difficulty = 2\r\n")))
    for times, text in ((int(n), text) for n, text in (row.split(" ", 1) for row in DATA["orca walk shown"])):
        n = sum(text in s for s in orca.said())
        check(n == times, "Orca said %r %d times, not %d" % (text[:50], n, times))


def reconnect_sound(work, exe):
    """A game on the built-in synthesiser while its sound server exits and starts again on the
    same socket, twice: the sound is back within 2 s, the scan still sweeping left to right."""
    server = SoundServer(os.path.join(work, "pulse"))
    capture, _ = server.start()
    # The shipped settings: the stereo table built at start-up places column 1 left.
    s = Session(exe, work, speech="off", settings=read(shipped_settings(exe)),
                env={"KADENO_MIDI_OUT": "builtin", "PULSE_SERVER": "unix:" + server.socket})
    s.box("help page 1", "Cancel")
    s.start_game(None, falling=False)
    started = wait_for("the game's first sound", lambda: capture.first_sound(0), timeout=30)
    check(wait_for("a whole scan", lambda: sweep(capture.balances(started)), timeout=12) == 1,
          "the scan does not sweep from left to right before any fault")
    for restart in (1, 2):
        time.sleep(2)  # the game plays on
        capture.stop()
        server.exit()
        wait_for("the line saying the sound is lost", lambda: s.errors().count(SOUND_LOST) == restart, 10)
        time.sleep(1.5)  # then a server comes back
        capture, back = server.start()
        heard = wait_for("the game's sound on the new server", lambda: capture.first_sound(back), 10)
        print("restart %d: sound back %.2f s after the server" % (restart, heard - back))
        check(heard - back <= BACK_WITHIN_S, "sound back only %.2f s after the server returned"
              % (heard - back))
        streams = server.pactl("list", "short", "sink-inputs").splitlines()
        check(len(streams) == 1, "streams on the new server: %r" % streams)
        wait_for("the line saying the sound is back", lambda: s.errors().count(SOUND_BACK) == restart, 10)
        wait_for("a scan from left to right after the return",
                 lambda: sweep(capture.balances(heard)) == 1, timeout=12)
    check([line for line in s.errors() if "sound" in line] == [SOUND_LOST, SOUND_BACK] * 2,
          "stderr says of the sound: %r" % s.errors())
    s.quit()
    capture.stop()
    server.exit()


def focus_load(work, exe, runs="5"):
    """Under openbox with every core busy, the keyboard comes back to the game after the start
    question: the main window active again and said, then Escape reaching the game; a fresh
    program each run, since the fault was a race."""
    orca, passed = start_desktop(work), 0
    if orca is None:
        return 77
    for command in ["while :; do :; done"] * (os.cpu_count() or 2) + ["while :; do /bin/true; done"]:
        _started.append(subprocess.Popen(["/bin/sh", "-c", command]))  # the last as a build does
    for run in range(int(runs)):
        games = []
        try:
            active = lambda said: check(active_window() == MAIN_TITLE,  # noqa: E731
                                        "the active window is %r" % active_window())
            orca_steps(orca, orca_walk_steps("focus load", active=active, **program_actions(
                games, exe, os.path.join(work, "run%d" % run), b"Difficulty = 2\r\n")))
            passed += 1
        except Failure as e:
            print("run %d: %s; Orca's last words: %r" % (run, e, orca.said()[-6:]), file=sys.stderr)
            for g in games:
                g.process.kill()
    print("the keyboard came back in %d of %s runs under load" % (passed, runs))
    check(passed == int(runs), "the keyboard did not come back in %d runs" % (int(runs) - passed))


def translations(po):
    return {e.msgid: e.msgstr for e in polib.pofile(po).translated_entries()}


class Catalog:
    """A language's texts from its po file, or English (en)."""

    def __init__(self, po):
        self.texts = {} if po == "en" else translations(po)
        self.language = None if po == "en" else os.path.basename(po)[:-3]

    def tr(self, msgid, *args):  # as the program fills a message: each %N once, in one pass
        return re.sub(r"%([1-9])", lambda m: args[int(m.group(1)) - 1] if int(m.group(1)) <= len(args)
                      else m.group(0), self.texts.get(msgid, msgid))

    def said(self, msgid, *args):  # as the self-voicing says it: a line of its own, a sentence
        text = self.tr(msgid, *args)
        return "\n" + text + ("" if text[-1:] in ".!?:" else ".")

    def item(self, caption):  # as the accessibility tree names it: without the access key's "&"
        return self.tr(caption).replace("&", "")


def language(work, exe, po):
    """The boxes in a language (a po file, or en), answered in turn: each shows the catalog's
    texts, numbers filled in, and is said once, in order, ending in its buttons; the speech
    service is asked for that language; the value typed and a Latin-1 name come through."""
    global MAIN_TITLE
    c = Catalog(po)
    MAIN_TITLE = c.tr("Kadeno: Musical Tumbla")
    s = Session(exe, work, speech="on", env={"KADENO_LANG": c.language or "en"})
    yes, no, ok, cancel = (c.item(b) for b in ("&Yes", "&No", "OK", "Cancel"))
    kadeno, help_title, help_said = "Kadeno", c.tr("Kadeno Help"), c.said("Yes, No, Cancel")
    help_1 = c.tr(DATA["help page 1"][0])

    def read(what, answer, title, text, said_end, said_start="", **box):
        """The next box shows that title and text, and is said ending in said_end."""
        s.box(what, answer, said=(said_start, said_end), shows=(title, text), **box)
    read("help page 1", yes, help_title, help_1, help_said)
    s.box("help page 2", no, ("", help_said))
    read("help page 1 again", cancel, help_title, help_1, help_said)
    wanted = [] if c.language is None else ["SET SELF LANGUAGE " + c.language.replace("_", "-")]
    check([x for x in s.server.settings if "LANGUAGE" in x.upper()] == wanted,
          "the speech service was told %r" % s.server.settings)
    s.reset(c, said=True)
    s.choose(c.item("&Midi"), c.item("Drum Volume"))
    # What is typed is not echoed: nothing more is said before the next box.
    read("the drum volume", ok, kadeno, c.tr("Drum Volume is now %1 out of 127.  Please enter the "
                                             "New value for Drum Volume.", "100"),
         c.said("In the field: %1", "100") + c.said("OK, Cancel"), alert=False, typed="90")
    s.start_game(("", c.said("Yes, No")), yes, (c.item("&File"), c.item("&Start Game")),
                 shows=(c.tr("About to start Game Play"), c.tr("Are you ready?")))
    key("F1")  # the menu's shortcut and the key handler both know F1: the help shows once
    read("the help in the game", cancel, help_title, help_1, help_said)
    time.sleep(1)
    check(s.boxes_pending() == 0, "F1 showed a second help")
    s.focus_main_window()
    key("s")
    read("the score", ok, kadeno, c.tr("Your score is %1", "0"), c.said("OK"))
    s.choose(c.item("&File"), c.item("&Hall Of Fame"))
    # The box shows the name's odd byte as such; the speech leaves it out.
    listing = c.tr("Here is the Kadeno Masters Hall of Fame:") + "\n" + c.tr(
        "First Place, with %1 points is %2 at a difficulty level of %3", "1203", "%2", " 1")
    read("the hall of fame", ok, kadeno, listing.replace("%2", "An\ufffda") + "\n", c.said("OK"),
         listing.replace("%2", "Ana"))
    s.quit(("", c.said("Yes, No")), yes, shows=(kadeno, c.tr("Do you really want to quit?")))
    check(s.server.connections == 1, "%d connections" % s.server.connections)
    s.saved_and_silent(b"\r\nDrumVolume = 90\r\n")


def no_display(exe, *args, **env):
    """The program with no display (touching one would abort it) and no language but env's:
    (status, standard output's lines, standard error's)."""
    kept = {k: v for k, v in os.environ.items() if k not in (
        "DISPLAY", "WAYLAND_DISPLAY", "KADENO_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
    done = subprocess.run([exe, *args], capture_output=True, text=True, timeout=20, stdin=subprocess.DEVNULL,
                          env=kept | env | {"QT_QPA_PLATFORM": "xcb", "KADENO_MIDI_OUT": "none"})
    return done.returncode, done.stdout.splitlines(), done.stderr.splitlines()


def command_line(work, exe, version):
    """--version (ending with the licence) and --help print and exit 0 with no window system;
    any other argument gets one line on standard error and status 2."""
    refused = [(args, None) for args in ("--bogus", "-platform offscreen", "--version --bogus", "-")]
    for args, first in [("--version", "kadeno " + version), ("--help", "Usage: kadeno [--help | --version]"),
                        *refused]:
        status, out, err = no_display(exe, *args.split())
        check((status, out[:1], err) == (0, [first], []) if first else status == 2 and out == [] and
              len(err) == 1 and err[0].startswith("kadeno: "), "kadeno %s: status %s, printed %r"
              % (args, status, out + err))
        check(args != "--version" or out[-1] == "Licence: MIT <https://opensource.org/license/mit>",
              "kadeno --version ends with %r" % out[-1:])


REFUSAL = "kadeno: unknown argument '%1' (try kadeno --help)"


def language_choice(work, exe, source):
    """KADENO_LANG above LANGUAGE, LC_ALL, LC_MESSAGES and LANG, as gettext has them, also for a
    locale not installed; English, with a line on stderr, when the catalog is damaged."""
    said = {"en": REFUSAL.replace("%1", "--x")} | {lang: translations(os.path.join(
        source, "po", lang + ".po"))[REFUSAL].replace("%1", "--x") for lang in ("de", "fr", "pt_BR")}
    for row in DATA["language choice"]:
        env, want = row.split("->")
        want, before = (want.split() + ["+0"])[:2]
        lines = no_display(exe, "--x", **dict(w.split("=") for w in env.split()))[2]
        check(lines[int(before):] == [said[want]], "%s: %r, not %r" % (env.strip(), lines, said[want]))
    shutil.copy(exe, work)
    write(os.path.join(work, "locale", "de", "LC_MESSAGES", "kadeno.mo"), b"\0\0\0\0" + read(
        os.path.join(os.path.dirname(exe), "locale", "de", "LC_MESSAGES", "kadeno.mo"))[4:])
    lines = no_display(os.path.join(work, os.path.basename(exe)), "--x", KADENO_LANG="de")[2]
    check(len(lines) == 2 and lines[1] == said["en"] and re.fullmatch(
        "kadeno: no catalog for de in .*; the texts stay English", lines[0]), "a damaged catalog: %r" % lines)


SCENARIOS = {"kadeno.reader": kadeno_reader, "kadeno.modes": kadeno_modes,
             "kadeno.first": kadeno_first, "orca.walk": orca_walk,
             "reconnect.sound": reconnect_sound,
             "focus.load": focus_load, "language": language,
             "command_line": command_line, "language_choice": language_choice}


def main(scenarios):
    """Runs the scenario argv[1] names in a fresh folder, on a private display if it needs one."""
    name, args = sys.argv[1], sys.argv[2:]
    if name == "private":
        return private(args)
    if name not in ("command_line", "language_choice") and "KADENO_PRIVATE" not in os.environ:
        return private([sys.executable, os.path.abspath(sys.argv[0]), name, *args])
    with tempfile.TemporaryDirectory(prefix="kadeno-e2e-") as work:
        try:
            status = scenarios[name](work, *args) or 0
        except Failure as e:
            print("FAIL: %s: %s" % (name, e), file=sys.stderr)
            for p in _programs:
                print("Kadeno's last messages:\n  " + "\n  ".join(p.errors()[-10:]), file=sys.stderr)
            for log in _orca:
                print("Orca's last words:\n  " + "\n  ".join(map(repr, log.said()[-25:])), file=sys.stderr)
            status = 1
        finally:
            for p in _started:
                p.kill()
                p.wait()
    if status == 0:
        print("%s: passed" % name)
    return status


if __name__ == "__main__":
    sys.exit(main(SCENARIOS))
