"""A blind player's view of Kadeno: the program read and driven through AT-SPI, as a
screen reader does, with keys typed through the X server and the message log followed."""

import ctypes
import ctypes.util
import os
import re
import subprocess
import time

import pyatspi
from gi.repository import GLib

MAIN_TITLE = "Kadeno: Musical Tumbla"


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, timeout=20.0, interval=0.05):
    """Polls probe() until it gives something truthy; fails with `what` after timeout."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(interval)


def descendants(node, role=None):
    out = []
    try:
        children = list(node)
    except Exception:
        return out
    for child in children:
        if child is None:
            continue
        try:
            if role is None or child.getRole() == role:
                out.append(child)
        except Exception:
            continue
        out.extend(descendants(child, role))
    return out


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


class Box:
    """A modal box as the screen reader meets it: its title, its text, its buttons."""

    def __init__(self, node, player):
        self.node = node
        self.player = player
        self.title = node.name
        labels = [l.name for l in descendants(node, pyatspi.ROLE_LABEL) if l.name]
        # A box's text is the name of its label; an input box has its prompt there too.
        self.text = labels[0] if labels else ""
        self.buttons = {b.name: b for b in descendants(node, pyatspi.ROLE_PUSH_BUTTON)}
        fields = descendants(node, pyatspi.ROLE_TEXT) + descendants(node, pyatspi.ROLE_ENTRY)
        self.field = fields[0] if fields else None

    def press(self, name):
        check(name in self.buttons, "no button %r in the box %r (has %s)"
              % (name, self.text, sorted(self.buttons)))
        action = self.buttons[name].queryAction()
        for i in range(action.nActions):
            if action.getName(i) in ("Press", "press", "click"):
                break
        else:
            i = 0
        action.doAction(i)
        # Whatever the box said before it took the answer has arrived by now, ahead of the
        # answer's reply; none of it is about a box still to come.
        self.player.forget_events()

    def field_text(self):
        return self.field.queryText().getText(0, -1)

    def type(self, text):
        self.field.queryEditableText().setTextContents(text)


class Player:
    def __init__(self, exe, workdir, midi_out=None):
        self.workdir = workdir
        self.log_path = os.path.join(workdir, "midi.log")
        self.config = os.path.join(workdir, "config")
        env = dict(os.environ)
        env.update(XDG_CONFIG_HOME=self.config,
                   XDG_DATA_HOME=os.path.join(workdir, "data"),
                   KADENO_MIDI_OUT=midi_out or "log:" + self.log_path)
        # Boxes are met as a screen reader meets them: by the event of their showing, in
        # order. (Looking for showing windows instead can mistake a new box for one just
        # answered: the bridge hands a freed object path to the next object.)
        self._shown = []
        self._boxes_met = 0
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        self.started = time.monotonic()
        self.process = subprocess.Popen([exe], env=env)
        self.app = wait_for("Kadeno on the accessibility bus", self._find_app)

    def _on_showing(self, event):
        try:
            if event.detail1 == 1 and event.source.getRole() in (pyatspi.ROLE_ALERT,
                                                                pyatspi.ROLE_DIALOG):
                self._shown.append(event.source)
        except Exception:
            pass

    @staticmethod
    def pump():
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def _find_app(self):
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == self.process.pid:
                    return app
            except Exception:
                continue
        return None

    def settings_path(self):
        return os.path.join(self.config, "kadeno", "Kadeno.ini")

    # ---- boxes ----
    def next_box(self, what, alert=True, timeout=20.0):
        """The next box to show, in the order they showed."""
        def probe():
            self.pump()
            if self._shown:
                return self._shown.pop(0)
            if self._boxes_met == 0:
                # The very first box may show before the bridge has heard that anyone
                # listens; with no box before it, a showing one can only be this one.
                return self._showing_box()
            return None
        node = wait_for(what, probe, timeout)
        self._boxes_met += 1
        want = pyatspi.ROLE_ALERT if alert else pyatspi.ROLE_DIALOG
        check(node.getRole() == want, "%s came as a %s" % (what, node.getRoleName()))
        return Box(node, self)

    def boxes_pending(self):
        """How many boxes have shown and not been met yet."""
        self.pump()
        return len(self._shown)

    def forget_events(self):
        self.pump()
        self._shown.clear()

    def _showing_box(self):
        try:
            for w in self.app:
                if w is not None and w.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG) \
                        and showing(w):
                    return w
        except Exception:
            pass
        return None

    def expect_box(self, text, answer, title="Kadeno", timeout=20.0):
        box = self.next_box("the box %r" % text, timeout=timeout)
        check(box.text == text, "expected the box %r, got %r" % (text, box.text))
        check(box.title == title, "box %r has the title %r, not %r" % (text, box.title, title))
        box.press(answer)
        return box

    # ---- menus ----
    def main_window(self):
        def probe():
            for w in self.app:
                try:
                    if w is not None and w.getRole() == pyatspi.ROLE_FRAME \
                            and w.name == MAIN_TITLE and showing(w):
                        return w
                except Exception:
                    continue
            return None
        return wait_for("the main window", probe)

    def menus(self):
        """{menu name: [item names]} as the menu bar reads them, in order."""
        bars = descendants(self.main_window(), pyatspi.ROLE_MENU_BAR)
        check(len(bars) == 1, "one menu bar expected")
        out = {}
        for menu in bars[0]:  # each menu holds its popup, which holds the items
            out[menu.name] = [item.name for item in descendants(menu, pyatspi.ROLE_MENU_ITEM)]
        return out

    def choose(self, menu_name, item_name):
        for menu in descendants(self.main_window(), pyatspi.ROLE_MENU_BAR)[0]:
            if menu.name != menu_name:
                continue
            for item in descendants(menu, pyatspi.ROLE_MENU_ITEM):
                if item.name == item_name:
                    done = item.queryAction().doAction(0)
                    check(done, "the menu item %s > %s did not act" % (menu_name, item_name))
                    return
        raise Failure("no menu item %s > %s" % (menu_name, item_name))

    # ---- keys ----
    def focus_main_window(self):
        wid = subprocess.run(["xdotool", "search", "--sync", "--limit", "1", "--pid",
                              str(self.process.pid), "--name", "^" + re.escape(MAIN_TITLE) + "$"],
                             check=True, capture_output=True, text=True).stdout.split()[0]
        # With no window manager, nobody gives the window the keyboard but us.
        subprocess.run(["xdotool", "windowfocus", "--sync", wid], check=True)
        self.window_id = wid

    def close_main_window(self):
        """What a window manager's close box does: ask the window to close itself."""
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.c_void_p]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                        ("pad", ctypes.c_long * 12)]  # an XEvent is 24 longs

        display = x11.XOpenDisplay(None)
        check(display, "cannot open the display")
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = int(self.window_id)
        event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        x11.XSendEvent(display, int(self.window_id), 0, 0, ctypes.byref(event))
        x11.XFlush(display)
        x11.XCloseDisplay(display)

    def key(self, name):
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)

    def describe_windows(self):
        out = []
        try:
            for w in self.app:
                labels = [l.name for l in descendants(w, pyatspi.ROLE_LABEL) if l.name]
                out.append("%s %r showing=%s %r" % (w.getRoleName(), w.name, showing(w), labels))
        except Exception as e:
            out.append("(cannot read: %s)" % e)
        return out

    # ---- the message log ----
    def log(self):
        """[(ms, [bytes...]) or (ms, 'wave ...')] from the message log."""
        out = []
        try:
            with open(self.log_path) as f:
                for line in f:
                    parts = line.split()
                    if len(parts) < 2:
                        continue
                    if parts[1] == "wave":
                        out.append((float(parts[0]), " ".join(parts[1:])))
                    else:
                        out.append((float(parts[0]), [int(b, 16) for b in parts[1:]]))
        except FileNotFoundError:
            pass
        return out

    def wait_exit(self, timeout=20.0):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("Kadeno did not end")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
