"""End to end: the real program under Xvfb, read and answered through AT-SPI as a screen
reader does, its sound followed in the message log.

    kadeno_e2e.py PATH-TO-KADENO            the whole walk through the program
    kadeno_e2e.py --close PATH-TO-KADENO    closing the window in the middle of a game
    kadeno_e2e.py --first-box PATH          start, the first help page, quit (an installed copy)
"""

import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gi.repository import Gio, GLib  # noqa: E402
from player import Failure, Player, check, wait_for  # noqa: E402

HELP_TITLE = "Kadeno Help"
# The first words of each help page, enough to tell the six apart.
HELP_STARTS = ["  In this brief help area, if you hit yes then I",
               "  Kadeno is a musical game of tumbla.", "  In adition to the two ground rows,",
               "  Every scan, the falling note gets lower by",
               "  In true tumbla fashion, every combination", "  Every round goes faster."]
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
NOTE_ON, CONTROL, PAN = 0x90, 0xB0, 10
BASE_LINE, FALLING, EFFECT, DRUM = 1, 5, 6, 9
SIDE_STICK = 37


def help_page(p, page):
    box = p.next_box("help page %d" % page)
    check((box.title, sorted(box.buttons)) == (HELP_TITLE, ["Cancel", "No", "Yes"]),
          "help page titled %r with buttons %s" % (box.title, sorted(box.buttons)))
    check(box.text.startswith(HELP_STARTS[page - 1]),
          "expected help page %d, got %r" % (page, box.text[:60]))
    return box


def page_the_help(p):
    """Forward with Yes to the sixth page, back with No to the first, where No stays."""
    page, box, texts = 1, help_page(p, 1), {}
    for answer in ["Yes"] * 5 + ["No"] * 6:
        texts.setdefault(page, box.text)
        page = min(6, page + 1) if answer == "Yes" else max(1, page - 1)
        box.press(answer)
        box = help_page(p, page)
        check(texts.get(page, box.text) == box.text, "page %d reads differently" % page)
    box.press("Cancel")
    check(len(set(texts.values())) == 6, "six different pages")


def reset_midi(p):
    p.choose("Midi", "Set Midi Back to Default")
    p.expect_box("Are you sure you want to reset all the midi settings back to factory default?",
                 "Yes")
    p.expect_box("Midi settings are now as Quenloft originally made them.", "OK")


def settings_lines(p):
    with open(p.settings_path, newline="") as f:
        lines = f.read().split("\r\n")
    check(lines[-1] == "", "the settings file ends with a line break")
    return lines[:-1]


def settings_commands(p):
    reset_midi(p)
    # The factory placement reaches the stereo table with the next stereo command.
    for item, now, typed, line in [("Set Stereo Width", "40 out of 100", "100", "StereoWide = 100"),
                                   ("Drum Volume", "100 out of 127", "90", "DrumVolume = 90")]:
        p.choose("Midi", item)
        box = p.next_box("the %s input box" % item, alert=False)
        name = item.replace("Set ", "")
        prompt = "%s is now %s.  Please enter the New value for %s." % (name, now, name)
        check((box.text, box.field and box.field.name) == (prompt, prompt),
              "input prompt %r, field named %r" % (box.text, box.field and box.field.name))
        offered = box.field.queryText().getText(0, -1)
        check(offered == now.split()[0], "offered %r" % offered)
        box.type(typed)
        box.press("OK")
        wait_for("%r in the settings file" % line,
                 lambda: os.path.exists(p.settings_path) and line in settings_lines(p))
    # The toggle's new state is spoken and its caption read from the menu.
    for now, said, then in [("on", "mono", "off"), ("off", "stereo", "on")]:
        p.choose("Midi", "Stereo (%s)" % now)
        p.expect_box("Kadeno will scan in " + said, "OK")
        wait_for("the caption Stereo (%s)" % then,
                 lambda: "Stereo (%s)" % then in [i.name for i in p.menus()["Midi"]])


def notes_on(log, channel, start=0, note=None):
    return [i for i in range(start, len(log)) if isinstance(log[i][1], list)
            and log[i][1][0] == NOTE_ON | channel and len(log[i][1]) == 3 and log[i][1][2] > 0
            and note in (None, log[i][1][1])]


def pan_before(log, upto, channel):
    return next((m[2] for _, m in reversed(log[:upto]) if isinstance(m, list)
                 and m[:2] == [CONTROL | channel, PAN]), None)


def key_sound(p, key, channel, note=None):
    """Presses key; the pan of the sound it makes on channel, and the falling note's after."""
    mark = len(p.log())
    p.key(key)
    at = wait_for("the sound of " + key, lambda: notes_on(p.log(), channel, mark, note))[0]
    time.sleep(3)
    log = p.log()
    later = notes_on(log, FALLING, at)
    check(later, "the falling note goes on sounding after " + key)
    return pan_before(log, at, channel), pan_before(log, later[0], FALLING)


def start_game(p):
    p.choose("File", "Start Game")
    p.expect_box("Are you ready?", "Yes", title="About to start Game Play")
    p.focus_main_window()
    wait_for("the first falling note", lambda: notes_on(p.log(), FALLING), timeout=30)


def play(p):
    p.choose("File", "Start Game")
    p.expect_box("Are you ready?", "No", title="About to start Game Play")
    p.expect_box("Game Play canceled by user request", "OK")
    start_game(p)
    # Up puts the note in the centre column and echoes it there; Left sounds a side stick
    # where the note went, and the note follows it there.
    centre, falling = key_sound(p, "Up", EFFECT)
    check(falling == centre, "the note falls at pan %s, not the centre's %s" % (falling, centre))
    moved, falling = key_sound(p, "Left", DRUM, SIDE_STICK)
    check(moved is not None and moved < centre and falling == moved,
          "moved left of %s to pan %s, the note falls at %s" % (centre, moved, falling))
    log = p.log()
    check(notes_on(log, BASE_LINE), "the base line plays")
    check(len(notes_on(log, DRUM)) >= 7, "the drum beats the steps")
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


def ends_saved_and_silent(p, kept):
    check(p.wait_exit() == 0, "Kadeno ended with %s" % p.process.returncode)
    lines = settings_lines(p)
    check(len(lines) == 33 and set(kept) <= set(lines), "the settings file reads %s" % lines)
    sounding = {}  # notes started and never ended, drums aside (they ring out by themselves)
    for _, m in p.log():
        if isinstance(m, list) and len(m) == 3 and m[0] & 0xE0 == 0x80 and m[0] & 0x0F != DRUM:
            sounding[(m[0] & 0x0F, m[1])] = m[0] & 0xF0 == NOTE_ON and m[2] > 0
    hanging = [note for note, on in sounding.items() if on]
    check(not hanging, "notes left hanging: %s" % hanging)


def walk_through(p):
    # The program is heard though the desktop has not said a screen reader runs.
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    enabled = bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties",
                            "Get", GLib.Variant("(ss)", ("org.a11y.Status", "IsEnabled")), None,
                            Gio.DBusCallFlags.NONE, -1, None).unpack()[0]
    check(not enabled, "the session announces a screen reader")
    page_the_help(p)
    menus = {name: [i.name for i in items] for name, items in p.menus().items()}
    check(menus == MENUS, "menus read %r" % menus)
    settings_commands(p)
    play(p)
    ends_saved_and_silent(p, ["DrumVolume = 90", "StereoWide = 100"])


def close_during_game(p):
    p.next_box("help page 1").press("Cancel")
    reset_midi(p)
    start_game(p)
    time.sleep(1)
    p.close_main_window()
    ends_saved_and_silent(p, ["DrumVolume = 100"])


def first_box(p):
    help_page(p, 1).press("Cancel")
    p.main_window()
    p.focus_main_window()
    p.key("Escape")
    p.expect_box("Do you really want to quit?", "Yes")
    # A first start has no settings file: every volume stays 0 until the player sets them.
    ends_saved_and_silent(p, ["DrumVolume = 0"])


def main():
    scenario = {"--close": close_during_game, "--first-box": first_box}.get(sys.argv[1],
                                                                           walk_through)
    with tempfile.TemporaryDirectory(prefix="kadeno-e2e-") as work:
        p = Player(sys.argv[-1], work)
        try:
            scenario(p)
        except Failure as e:
            print("FAIL:", e, file=sys.stderr)
            return 1
        finally:
            p.kill()
    print("e2e: %s passed" % scenario.__name__)
    return 0


if __name__ == "__main__":
    sys.exit(main())
