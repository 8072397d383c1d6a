"""The real program read and answered through AT-SPI as a screen reader does.

    kadeno_e2e.py walk PATH-TO-KADENO    the help, a game with F1 in it, the quit question
    kadeno_e2e.py close PATH-TO-KADENO   the window closed in the middle of a game
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import DRUM, FALLING, Player, check, key, main, notes_on, wait_for  # noqa: E402


def help_pages(p, answers):
    """Answers the help's pages in turn; their texts."""
    texts = []
    for answer in answers:
        box = p.next_box("help page %d" % (len(texts) + 1))
        check((box.title, sorted(box.buttons)) == ("Kadeno Help", ["Cancel", "No", "Yes"]),
              "help page titled %r with buttons %s" % (box.title, sorted(box.buttons)))
        texts.append(box.text)
        box.press(answer)
    return texts


def start_game(p):
    p.choose("Midi", "Set Midi Back to Default")
    p.expect_box("Are you sure you want to reset all the midi settings back to factory default?",
                 "Yes")
    p.expect_box("Midi settings are now as Quenloft originally made them.", "OK")
    p.choose("File", "Start Game")
    p.expect_box("Are you ready?", "Yes", title="About to start Game Play")
    p.focus_main_window()
    wait_for("the first falling note", lambda: notes_on(p.log(), FALLING), timeout=30)


def ends_saved_and_silent(p):
    p.end()
    check(b"\r\nDrumVolume = 100\r\n" in p.settings(), "settings saved: %r" % p.settings())
    sounding = {}  # notes started and never ended, drums aside (they ring out by themselves)
    for _, m in p.log():
        if isinstance(m, list) and len(m) == 3 and m[0] & 0xE0 == 0x80 and m[0] & 0x0F != DRUM:
            sounding[(m[0] & 0x0F, m[1])] = m[0] & 0xF0 == 0x90 and m[2] > 0
    check(not any(sounding.values()), "notes left hanging: %s" % sounding)


def walk(work, exe):
    p = Player(exe, work)
    texts = help_pages(p, ["Yes", "No", "Cancel"])
    check(texts[0] == texts[2] != texts[1] and texts[0].startswith("  In this brief help area"),
          "Yes and No page the help: %r" % texts)
    start_game(p)
    # The menu's shortcut and the key handler both know F1: the help shows once.
    key("F1")
    help_pages(p, ["Cancel"])
    time.sleep(1)
    check(p.boxes_pending() == 0, "F1 showed a second help")
    p.focus_main_window()
    key("Escape")
    p.expect_box("Do you really want to quit?", "Yes")
    ends_saved_and_silent(p)


def close(work, exe):
    """What a window manager's close box does: WM_DELETE_WINDOW to the window, here while
    the game waits inside a nested event loop."""
    import ctypes.util
    p = Player(exe, work)
    help_pages(p, ["Cancel"])
    start_game(p)
    time.sleep(1)
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    atom = lambda name: x11.XInternAtom(display, name, 0)  # noqa: E731
    window = ctypes.c_ulong(int(p.window_id))
    # A ClientMessage (33) in the 24 longs of an XEvent: type, serial, send_event, display,
    # window, message_type, format (32), data[5].
    event = (ctypes.c_long * 24)(33, 0, 0, 0, window.value, atom(b"WM_PROTOCOLS"), 32,
                                 atom(b"WM_DELETE_WINDOW"))
    x11.XSendEvent(display, window, 0, ctypes.c_long(0), event)
    x11.XCloseDisplay(display)  # flushes the request
    ends_saved_and_silent(p)


if __name__ == "__main__":
    sys.exit(main({"walk": walk, "close": close}))
