"""End to end: the real program under Xvfb, read and answered through AT-SPI as a screen
reader does, its sound followed in the message log.

    kadeno_e2e.py PATH-TO-KADENO            the whole walk through the program
    kadeno_e2e.py --close PATH-TO-KADENO    closing the window in the middle of a game
"""

import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gi.repository import GLib  # noqa: E402
from player import Failure, Player, check, wait_for  # noqa: E402

HELP_TITLE = "Kadeno Help"
# The first words of each help page, enough to tell the six apart.
HELP_STARTS = [
    "  In this brief help area, if you hit yes then I",
    "  Kadeno is a musical game of tumbla.",
    "  In adition to the two ground rows,",
    "  Every scan, the falling note gets lower by",
    "  In true tumbla fashion, every combination",
    "  Every round goes faster.",
]
MENUS = {
    "File": ["Start Game", "Set Difficulty", "Hall Of Fame", "Exit"],
    "Program": ["Uninstall Kadeno"],
    "Midi": ["Stereo (on)", "Set Stereo Width", "Set Stereo Curve", "Set Stereo Balance",
             "Drum Volume", "BaseLine Volume", "BaseLine Instrument", "Row 1 Volume",
             "Row 1 Instrument", "Row 2 Volume", "Row 2 Instrument", "Row 3 Volume",
             "Row 3 Instrument", "Falling Note Volume", "Falling Note Instrument",
             "Falling Note Movement Sound (Note)", "Special Effect Volume",
             "Special Effect Instrument", "Keyboard Scaling", "Set Midi Back to Default"],
    "Help": ["Instructions", "About"],
}
NOTE_ON, CONTROL = 0x90, 0xB0
PAN = 10
BASE_LINE, FALLING, EFFECT, DRUM = 1, 5, 6, 9
SIDE_STICK = 37


def help_page(p, expected_page):
    box = p.next_box("help page %d" % expected_page)
    check(box.title == HELP_TITLE, "help has the title %r" % box.title)
    check(sorted(box.buttons) == ["Cancel", "No", "Yes"], "help buttons %s" % sorted(box.buttons))
    check(box.text.startswith(HELP_STARTS[expected_page - 1]),
          "expected help page %d, got %r" % (expected_page, box.text[:60]))
    return box


def page_the_help(p):
    texts = {}
    box = help_page(p, 1)
    texts[1] = box.text
    for page in range(2, 7):  # forward with Yes
        box.press("Yes")
        box = help_page(p, page)
        texts[page] = box.text
    for page in range(5, 0, -1):  # and back with No
        box.press("No")
        box = help_page(p, page)
        check(box.text == texts[page], "page %d reads differently the second time" % page)
    box.press("No")  # No on the first page stays there
    box = help_page(p, 1)
    box.press("Cancel")
    check(len(set(texts.values())) == 6, "six different pages")


def type_setting(p, item, prompt, offered, answer, line):
    p.choose("Midi", item)
    box = p.next_box("the %s input box" % item, alert=False)
    check(box.text == prompt, "input prompt %r" % box.text)
    check(box.field is not None and box.field.name == prompt, "the field is named by the prompt")
    check(box.field_text() == offered, "offered %r" % box.field_text())
    box.type(answer)
    box.press("OK")

    def saved():
        try:
            with open(p.settings_path(), newline="") as f:
                return line + "\r\n" in f.read()
        except FileNotFoundError:
            return False
    wait_for("%r in the settings file" % line, saved)


def settings_commands(p):
    p.choose("Midi", "Set Midi Back to Default")
    p.expect_box("Are you sure you want to reset all the midi settings back to factory default?",
                 "Yes")
    p.expect_box("Midi settings are now as Quenloft originally made them.", "OK")

    # The factory placement reaches the stereo table with the next stereo command.
    type_setting(p, "Set Stereo Width",
                 "Stereo Width is now 40 out of 100.  Please enter the New value for Stereo Width.",
                 "40", "100", "StereoWide = 100")
    type_setting(p, "Drum Volume",
                 "Drum Volume is now 100 out of 127.  Please enter the New value for Drum Volume.",
                 "100", "90", "DrumVolume = 90")

    # The toggle's new state is spoken and its caption read from the menu.
    p.choose("Midi", "Stereo (on)")
    p.expect_box("Kadeno will scan in mono", "OK")
    wait_for("the caption Stereo (off)", lambda: "Stereo (off)" in p.menus()["Midi"])
    p.choose("Midi", "Stereo (off)")
    p.expect_box("Kadeno will scan in stereo", "OK")
    wait_for("the caption Stereo (on)", lambda: "Stereo (on)" in p.menus()["Midi"])


def last_pan(log, upto, channel):
    for _, msg in reversed(log[:upto]):
        if isinstance(msg, list) and msg[0] == CONTROL | channel and msg[1] == PAN:
            return msg[2]
    return None


def notes_on(log, channel, start=0, note=None):
    return [i for i in range(start, len(log))
            if isinstance(log[i][1], list) and log[i][1][0] == NOTE_ON | channel
            and len(log[i][1]) == 3 and log[i][1][2] > 0
            and (note is None or log[i][1][1] == note)]


def play(p):
    p.choose("File", "Start Game")
    p.expect_box("Are you ready?", "No", title="About to start Game Play")
    p.expect_box("Game Play canceled by user request", "OK")
    p.choose("File", "Start Game")
    p.expect_box("Are you ready?", "Yes", title="About to start Game Play")

    p.focus_main_window()
    wait_for("the first falling note", lambda: notes_on(p.log(), FALLING), timeout=30)

    # Up puts the note in the centre column and echoes it there.
    p.key("Up")
    echo = wait_for("the echo of Up", lambda: notes_on(p.log(), EFFECT))[0]
    time.sleep(3)
    log = p.log()
    centre = last_pan(log, echo, EFFECT)
    after = [i for i in notes_on(log, FALLING, echo)]
    check(after, "the falling note sounds after Up")
    check(last_pan(log, after[0], FALLING) == centre,
          "the falling note sounds in the centre column's step (pan %s, centre %s)"
          % (last_pan(log, after[0], FALLING), centre))

    # Left: a side stick where the note went, and the note follows it there.
    mark = len(p.log())
    p.key("Left")
    stick = wait_for("the move sound", lambda: notes_on(p.log(), DRUM, mark, SIDE_STICK))[0]
    time.sleep(3)
    log = p.log()
    moved = last_pan(log, stick, DRUM)
    check(moved is not None and moved < centre,
          "the move sounds left of the centre (pan %s, centre %s)" % (moved, centre))
    later = notes_on(log, FALLING, stick)
    check(later, "the falling note goes on sounding")
    check(last_pan(log, later[0], FALLING) == moved,
          "the falling note sounds in its new column's step")

    p.key("Right")
    time.sleep(1)

    log = p.log()
    check(notes_on(log, BASE_LINE), "the base line plays")
    check(len([1 for _, m in log if isinstance(m, list) and m[0] == NOTE_ON | DRUM]) >= 7,
          "the drum beats the steps")
    pans = {m[2] for _, m in log if isinstance(m, list) and m[0] & 0xF0 == CONTROL and m[1] == PAN}
    check(len(pans) >= 5, "the columns stand apart in stereo (pans %s)" % sorted(pans))

    # F1 in the middle of the game: the help once (menu shortcut and key handler both
    # know the key), and the game waits for it.
    p.key("F1")
    help_page(p, 1).press("Cancel")
    time.sleep(1)
    check(p.boxes_pending() == 0, "F1 showed a second help")

    p.focus_main_window()
    p.key("Escape")
    p.expect_box("Do you really want to quit?", "Yes")


def hanging_notes(log):
    """Notes started and never ended, drums aside (they ring out by themselves)."""
    sounding = {}
    for _, m in log:
        if isinstance(m, list) and len(m) == 3 and m[0] & 0xF0 in (0x80, 0x90):
            sounding[(m[0] & 0x0F, m[1])] = m[0] & 0xF0 == 0x90 and m[2] > 0
    return [k for k, on in sounding.items() if on and k[0] != DRUM]


def settings_lines(p):
    with open(p.settings_path(), newline="") as f:
        lines = f.read().split("\r\n")
    check(lines[-1] == "", "the settings file ends with a line break")
    return lines[:-1]


def desktop_announces_screen_reader():
    from gi.repository import Gio
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                          "Get", GLib.Variant("(ss)", ("org.a11y.Status", "IsEnabled")),
                          None, Gio.DBusCallFlags.NONE, -1, None)
    return reply.unpack()[0]


def walk_through(p):
    # The program is heard though the desktop has not said a screen reader runs.
    check(not desktop_announces_screen_reader(), "the session announces a screen reader")
    page_the_help(p)
    menus = wait_for("the menus", lambda: p.menus())
    check(menus == MENUS, "menus read %r" % menus)
    settings_commands(p)
    play(p)
    code = p.wait_exit()
    check(code == 0, "Kadeno ended with %s" % code)
    lines = settings_lines(p)
    check(len(lines) == 33, "the settings file has %d lines" % len(lines))
    check("DrumVolume = 90" in lines and "StereoWide = 100" in lines, "the typed values kept")
    check(not hanging_notes(p.log()), "notes left hanging: %s" % hanging_notes(p.log()))


def close_during_game(p):
    p.next_box("help page 1").press("Cancel")
    p.main_window()
    p.choose("Midi", "Set Midi Back to Default")
    p.expect_box("Are you sure you want to reset all the midi settings back to factory default?",
                 "Yes")
    p.expect_box("Midi settings are now as Quenloft originally made them.", "OK")
    p.choose("File", "Start Game")
    p.expect_box("Are you ready?", "Yes", title="About to start Game Play")
    p.focus_main_window()
    wait_for("the falling note", lambda: notes_on(p.log(), FALLING), timeout=30)
    time.sleep(1)
    p.close_main_window()
    code = p.wait_exit()
    check(code == 0, "Kadeno ended with %s" % code)
    lines = settings_lines(p)
    check(len(lines) == 33, "the settings file has %d lines" % len(lines))
    check("DrumVolume = 100" in lines, "the factory settings saved")
    check(not hanging_notes(p.log()), "notes left hanging: %s" % hanging_notes(p.log()))


def main():
    args = sys.argv[1:]
    scenario = walk_through
    if args[0] == "--close":
        scenario = close_during_game
        args = args[1:]
    with tempfile.TemporaryDirectory(prefix="kadeno-e2e-") as work:
        p = Player(args[0], work)
        try:
            scenario(p)
        except Failure as e:
            print("FAIL:", e, file=sys.stderr)
            print("The program's windows then:", file=sys.stderr)
            for line in p.describe_windows():
                print("  ", line, file=sys.stderr)
            return 1
        finally:
            p.kill()
    print("e2e: %s passed" % scenario.__name__)
    return 0


if __name__ == "__main__":
    sys.exit(main())
