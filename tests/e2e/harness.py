"""What the end-to-end tests share. The real program runs on a private display (see
run-on-private-display.sh) in a folder of its own; its boxes are read and answered through
AT-SPI as a screen reader does, keys are typed through the X server, its sound is read from
the message log."""

import os
import re
import subprocess
import sys
import tempfile
import time

from gi.repository import GLib

try:
    import pyatspi
    BOXES = (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
except ImportError:  # the Wine checks know windows by their titles alone
    pass

MAIN_TITLE = "Kadeno: Musical Tumbla"
NOTE_ON, FALLING, DRUM = 0x90, 5, 9
_started, _programs = [], []  # the processes main() ends, the programs among them


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=20.0):
    """Polls probe() until it gives something truthy; fails with `what` after timeout."""
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
    """The showing X windows of that title, or all of them."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                            ".*" if title is None else "^%s$" % re.escape(title)],
                           capture_output=True, text=True)
    return found.stdout.split()


def notes_on(log, channel, start=0):
    return [i for i in range(start, len(log)) if isinstance(log[i][1], list)
            and log[i][1][0] == NOTE_ON | channel and log[i][1][2:3] > [0]]


class Program:
    """The program with its settings in WORK/config and its MIDI in the message log
    WORK/midi.log; its standard error goes to WORK/stderr.txt. settings: bytes to start
    the settings file with; env: more of the environment (the program's own voice is off
    unless it says)."""

    def __init__(self, command, work, settings=None, settings_path=None, env=()):
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
        """Waits for the program to end by itself, with status 0."""
        try:
            check(self.process.wait(30) == 0, "Kadeno ended with %s" % self.process.returncode)
        except subprocess.TimeoutExpired:
            raise Failure("Kadeno did not end")


class Player(Program):
    """The program as a screen reader meets it: boxes by the event of their showing, in
    order (looking for showing windows instead can mistake a new box for one just
    answered: the bridge hands a freed object path to the next object)."""

    def __init__(self, exe, work, **options):
        self._shown, self._boxes_met = [], 0
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        super().__init__([exe], work, **options)
        self.app = wait_for("Kadeno on the accessibility bus", lambda: self._try(lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0)
             if a is not None and a.get_process_id() == self.process.pid), None)))

    @staticmethod
    def _try(read, otherwise=None):
        try:
            return read()
        except Exception:  # an object that went away while read
            return otherwise

    def _on_showing(self, event):
        if event.detail1 == 1 and self._try(event.source.getRole) in BOXES:
            self._shown.append(event.source)

    def windows(self, roles, name=None):
        """The program's showing top-level windows in those roles."""
        return self._try(lambda: [w for w in self.app if w is not None and w.getRole() in roles
                                  and name in (None, w.name)
                                  and w.getState().contains(pyatspi.STATE_SHOWING)], [])

    def boxes_pending(self, forget=False):
        """How many boxes have shown and not been met yet; with forget, those are dropped."""
        while GLib.MainContext.default().pending():
            GLib.MainContext.default().iteration(False)
        if forget:
            self._shown.clear()
        return len(self._shown)

    def next_box(self, what, alert=True, timeout=20.0):
        """The next box to show; alert: an alert (True), an input box (False), either (None)."""
        def probe():
            if self.boxes_pending():
                return self._shown.pop(0)
            # The very first box may show before the bridge has heard that anyone listens;
            # with no box before it, a showing one can only be this one.
            return self._boxes_met == 0 and (self.windows(BOXES) + [None])[0]
        node = wait_for(what, probe, timeout)
        self._boxes_met += 1
        check(alert is None or node.getRole() == BOXES[0 if alert else 1],
              "%s came as a %s" % (what, node.getRoleName()))
        return Box(node, self)

    def expect_box(self, text, answer, title="Kadeno"):
        box = self.next_box("the box %r" % text)
        check((box.text, box.title) == (text, title),
              "expected the box %r titled %r, got %r %r" % (text, title, box.text, box.title))
        box.press(answer)

    def choose(self, menu, item):
        """A menu item as the main window's menu bar reads it."""
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


class Box:
    """A modal box as the screen reader meets it: its title, its text, its buttons."""

    def __init__(self, node, player):
        self.player, self.title = player, node.name
        self.text = ([l.name for l in descendants(node, pyatspi.ROLE_LABEL) if l.name] + [""])[0]
        self.buttons = {b.name: b for b in descendants(node, pyatspi.ROLE_PUSH_BUTTON)}
        self.field = (descendants(node, pyatspi.ROLE_TEXT) + [None])[0]

    def press(self, name):
        check(name in self.buttons, "no button %r in %r (has %s)" % (name, self.text, self.buttons))
        action = self.buttons[name].queryAction()
        action.doAction(next((i for i in range(action.nActions)
                              if action.getName(i).lower() in ("press", "click")), 0))
        # Whatever the box said before it took the answer has arrived by now, ahead of the
        # answer's reply; none of it is about a box still to come.
        self.player.boxes_pending(forget=True)

    def type(self, text):
        self.field.queryEditableText().setTextContents(text)


def descendants(node, role):
    out = []
    try:
        for child in filter(None, node):
            out += ([child] if child.getRole() == role else []) + descendants(child, role)
    except Exception:  # an object that went away while read
        pass
    return out


def main(scenarios):
    """Runs the scenario the first argument names, in a fresh folder, with the other
    arguments; ends every program it started."""
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
