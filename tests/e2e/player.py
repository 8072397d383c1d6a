"""A blind player's view of Kadeno: the program read and driven through AT-SPI, as a
screen reader does, with keys typed through the X server and the message log followed."""

import ctypes
import ctypes.util
import os
import subprocess
import time

import pyatspi
from gi.repository import GLib

MAIN_TITLE = "Kadeno: Musical Tumbla"
BOXES = (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)


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


def descendants(node, role):
    out = []
    try:
        for child in filter(None, node):
            out += ([child] if child.getRole() == role else []) + descendants(child, role)
    except Exception:  # an object that went away while read
        pass
    return out


class Box:
    """A modal box as the screen reader meets it: its title, its text, its buttons."""

    def __init__(self, node, player):
        self.player, self.title = player, node.name
        # A box's text is the name of its label; an input box has its prompt there too.
        self.text = ([l.name for l in descendants(node, pyatspi.ROLE_LABEL) if l.name] + [""])[0]
        self.buttons = {b.name: b for b in descendants(node, pyatspi.ROLE_PUSH_BUTTON)}
        fields = descendants(node, pyatspi.ROLE_TEXT) + descendants(node, pyatspi.ROLE_ENTRY)
        self.field = (fields + [None])[0]

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


class Player:
    def __init__(self, exe, workdir, midi_out=None, env_more=None, stderr=None):
        """env_more: more of the environment; the program's own voice is off unless it says.
        stderr: a file for the program's error output."""
        self.log_path = os.path.join(workdir, "midi.log")
        self.settings_path = os.path.join(workdir, "config", "kadeno", "Kadeno.ini")
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(workdir, "config"),
                   XDG_DATA_HOME=os.path.join(workdir, "data"),
                   KADENO_MIDI_OUT=midi_out or "log:" + self.log_path, KADENO_SPEECH="off")
        env.update(env_more or {})
        # Boxes are met as a screen reader meets them: by the event of their showing, in
        # order. (Looking for showing windows instead can mistake a new box for one just
        # answered: the bridge hands a freed object path to the next object.)
        self._shown, self._boxes_met = [], 0
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        self.started = time.monotonic()
        self.process = subprocess.Popen([exe], env=env, stderr=stderr)
        self.app = wait_for("Kadeno on the accessibility bus", self._find_app)

    def _find_app(self):
        try:
            return next((a for a in pyatspi.Registry.getDesktop(0)
                         if a is not None and a.get_process_id() == self.process.pid), None)
        except Exception:  # an application that went away while read
            return None

    def _on_showing(self, event):
        try:
            if event.detail1 == 1 and event.source.getRole() in BOXES:
                self._shown.append(event.source)
        except Exception:  # a box that went away before it was read
            pass

    def _windows(self, roles, name=None):
        """The app's showing top-level windows in those roles."""
        try:
            return [w for w in self.app if w is not None and w.getRole() in roles
                    and name in (None, w.name) and w.getState().contains(pyatspi.STATE_SHOWING)]
        except Exception:
            return []

    def boxes_pending(self, forget=False):
        """How many boxes have shown and not been met yet; with forget, those are dropped."""
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        if forget:
            self._shown.clear()
        return len(self._shown)

    def next_box(self, what, alert=True, timeout=20.0):
        """The next box to show, in the order they showed."""
        def probe():
            if self.boxes_pending():
                return self._shown.pop(0)
            # The very first box may show before the bridge has heard that anyone listens;
            # with no box before it, a showing one can only be this one.
            return self._boxes_met == 0 and (self._windows(BOXES) + [None])[0]
        node = wait_for(what, probe, timeout)
        self._boxes_met += 1
        want = pyatspi.ROLE_ALERT if alert else pyatspi.ROLE_DIALOG
        check(alert is None or node.getRole() == want,  # None: either kind
              "%s came as a %s" % (what, node.getRoleName()))
        return Box(node, self)

    def expect_box(self, text, answer, title="Kadeno"):
        box = self.next_box("the box %r" % text)
        check((box.text, box.title) == (text, title), "expected the box %r titled %r, got %r %r"
              % (text, title, box.text, box.title))
        box.press(answer)

    def main_window(self):
        frames = lambda: self._windows([pyatspi.ROLE_FRAME], MAIN_TITLE)  # noqa: E731
        return wait_for("the main window", frames)[0]

    def menus(self):
        """{menu name: [items]} as the menu bar reads them, in order."""
        bars = descendants(self.main_window(), pyatspi.ROLE_MENU_BAR)
        check(len(bars) == 1, "one menu bar expected")
        # Each menu holds its popup, which holds the items.
        return {menu.name: descendants(menu, pyatspi.ROLE_MENU_ITEM) for menu in bars[0]}

    def choose(self, menu, item):
        items = {i.name: i for i in self.menus().get(menu, [])}
        check(item in items, "no menu item %s > %s" % (menu, item))
        check(items[item].queryAction().doAction(0), "%s > %s did not act" % (menu, item))

    def focus_main_window(self):
        self.window_id = subprocess.run(
            ["xdotool", "search", "--sync", "--limit", "1", "--pid", str(self.process.pid),
             "--name", "^%s$" % MAIN_TITLE], check=True, capture_output=True,
            text=True).stdout.split()[0]
        # With no window manager, nobody gives the window the keyboard but us.
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window_id], check=True)

    def close_main_window(self):
        """What a window manager's close box does: send WM_DELETE_WINDOW to the window."""
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        display = ctypes.c_void_p(x11.XOpenDisplay(None))
        atom = lambda name: x11.XInternAtom(display, name, 0)  # noqa: E731
        window = ctypes.c_ulong(int(self.window_id))
        # A ClientMessage event (33) of 32-bit data, in the 24 longs of an XEvent:
        # type, serial, send_event, display, window, message_type, format, data[5].
        event = (ctypes.c_long * 24)(33, 0, 0, 0, window.value, atom(b"WM_PROTOCOLS"), 32,
                                     atom(b"WM_DELETE_WINDOW"))
        x11.XSendEvent(display, window, 0, ctypes.c_long(0), event)
        x11.XCloseDisplay(display)  # flushes the request

    def key(self, name):
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)

    def log(self):
        """[(ms, [bytes...]) or (ms, 'wave ...')] from the message log."""
        if not os.path.exists(self.log_path):
            return []
        with open(self.log_path) as f:
            lines = [line.split(None, 1) for line in f if len(line.split()) > 1]
        return [(float(t), rest.strip() if rest.startswith("wave") else
                 [int(b, 16) for b in rest.split()]) for t, rest in lines]

    def wait_exit(self):
        try:
            return self.process.wait(20)
        except subprocess.TimeoutExpired:
            raise Failure("Kadeno did not end")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
