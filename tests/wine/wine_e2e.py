"""The Windows build under Wine against the Linux build, both driven from the keyboard by their
windows' titles on one private display (with the pieces of tests/e2e/harness.py):

    wine_e2e.py compare LINUX-KADENO WINE KADENO.EXE APPDATA-FOLDER SETTINGS-FILE
    wine_e2e.py first LINUX-KADENO WINE KADENO-WINDOWS.ZIP APPDATA-FOLDER
    wine_e2e.py language WINE ZIP READ-BOX.EXE PO-FILE
    wine_e2e.py installed WINE KADENO.EXE APPDATA-FOLDER
"""

import os
import re
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import (MAIN_TITLE, Catalog, Program, check, check_factory_sound, check_same,  # noqa: E402
                     first_scan, key, main, read, wait_for, windows)


def window(title):
    return wait_for("the window %r" % title, lambda: windows(title), 60)[0]


def choose(main_window, letter, menu="f"):
    """A File menu item by its access letter (menu: File's own) once the menu shows."""
    before = set(windows())
    key("alt+" + menu, window=main_window)
    wait_for("the File menu", lambda: set(windows()) - before)
    key(letter)


def on_wine(wine, exe, work, env=(), **program):
    # Wine sees the Linux file system as drive Z:.
    log = "log:Z:" + os.path.join(work, "midi.log").replace("/", "\\")
    return Program([wine, exe], work, env={"KADENO_MIDI_OUT": log} | dict(env), **program)


def play(p, level=None):
    """From the help (through Set Difficulty to level) into a game, out after its first scan:
    (the scan, the settings file)."""
    key("Escape", window=window("Kadeno Help"))
    if level:
        choose(window(MAIN_TITLE), "d")
        key(level, "Return", window=window("Kadeno"))  # the offered level is selected: replaced
        wait_for("the new level in the settings file",
                 lambda: b"\r\nDifficulty = %s\r\n" % level.encode() in p.settings(), 60)
    choose(window(MAIN_TITLE), "s")
    key("y", window=window("About to start Game Play"))
    scan = wait_for("the first scan", lambda: first_scan(p), 60)
    choose(window(MAIN_TITLE), "x")
    p.end()
    print("%s: %d MIDI messages in the first scan" % (p.process.args[0], len(scan)))
    return scan, p.settings()


def compare(work, linux, wine, exe, appdata, seed):
    """A game at difficulty 9 on each from one settings file: the first scans and the settings
    files the same, byte for byte. Then a MIDI device that cannot be opened: after the help, a
    box, and the program ends once it is answered, its window never shown."""
    on_linux = play(Program([linux], os.path.join(work, "linux"), settings=read(seed)), "9")
    on_windows = play(on_wine(wine, exe, os.path.join(work, "windows"), settings=read(seed),
                              settings_path=os.path.join(appdata, "Kadeno", "Kadeno.ini")), "9")
    check(any(m[0] == 0x99 for m in on_linux[0]), "the first scan beat no drum: nothing compared")
    check_same(on_linux[0], on_windows[0], "the first scans on Linux and on Windows")
    check(on_windows[1] == on_linux[1], "the settings files differ:\n%r\n%r" % (on_linux[1], on_windows[1]))
    p = Program([wine, exe], os.path.join(work, "no-device"), env={"KADENO_MIDI_OUT": "winmm:4000"})
    key("Escape", window=window("Kadeno Help"))
    box = window("Kadeno")
    check(not windows(MAIN_TITLE), "the main window shows with no device to play on")
    key("Return", window=box)
    p.end()


def first(work, linux, wine, zip_path, appdata):
    """A new player of each (Windows: from the zip, %APPDATA% empty) sounds the same, at the
    factory velocities, and Exit writes the shipped defaults."""
    unpacked, own = os.path.join(work, "unpacked"), os.path.join(appdata, "Kadeno", "Kadeno.ini")
    with zipfile.ZipFile(zip_path) as z:
        names = set(z.namelist())
        for want in ("kadeno.exe", "Kadeno-default.ini", "TenMore.wav", "AddFifty.wav",
                     "README-Windows.txt", "LICENSE.txt"):
            check("Kadeno/" + want in names, "no %s in the zip: %s" % (want, sorted(names)))
        z.extractall(unpacked)
    shipped = read(os.path.join(unpacked, "Kadeno", "Kadeno-default.ini"))
    check(not os.path.exists(own), "%APPDATA% already holds a settings file")
    on_linux = play(Program([linux], os.path.join(work, "linux")))
    on_windows = play(on_wine(wine, os.path.join(unpacked, "Kadeno", "kadeno.exe"),
                              os.path.join(work, "windows"), settings_path=own))
    for scan, _ in (on_linux, on_windows):
        check_factory_sound(scan)
    check_same(on_linux[0], on_windows[0], "the first scans on Linux and on Windows")
    check(on_windows[1] == shipped == on_linux[1], "saved: %r" % on_windows[1])
    check(read(os.path.join(unpacked, "Kadeno", "Kadeno-default.ini")) == shipped,
          "the shipped settings file changed")
    print("first start: velocities %s" % sorted({m[2] for m in on_windows[0] if m[0] & 0xF0 == 0x90}))


def language(work, wine, zip_path, read_box, po):
    """The help's, the main window's, the start question's and the cancel's texts (read by
    read_box.exe) are the catalog's."""
    c = Catalog(po)
    access = lambda caption: re.search("&(.)", c.tr(caption)).group(1).lower()  # noqa: E731

    def box_texts(title):
        run = subprocess.run([wine, read_box, title], capture_output=True)
        return run.stdout.decode("utf-8").split("\0")[:-1] if run.returncode == 0 else None

    with zipfile.ZipFile(zip_path) as z:
        z.extractall(work)
    exe = os.path.join(work, "Kadeno", "kadeno.exe")
    p = on_wine(wine, exe, work, env={"KADENO_LANG": c.language})
    key("Escape", window=window(c.tr("Kadeno Help")))
    main_window = window(c.tr("Kadeno: Musical Tumbla"))
    choose(main_window, access("&Start Game"), access("&File"))
    question = window(c.tr("About to start Game Play"))
    said = wait_for("the start question's texts", lambda: box_texts(c.tr("About to start Game Play")), 30)
    check(c.tr("Are you ready?") in said and c.tr("&Yes") in said and c.tr("&No") in said,
          "the start question reads %r" % said)
    key(access("&No"), window=question)
    cancel = wait_for("the cancel's texts", lambda: box_texts("Kadeno"), 30)
    check(c.tr("Game Play canceled by user request") in cancel, "the cancel reads %r" % cancel)
    key("Return", window=window("Kadeno"))
    choose(main_window, access("E&xit"), access("&File"))
    p.end()
    print("%s: the start question in %s" % (exe, c.language))


def installed(work, wine, exe, appdata):  # the installed program: factory sound, defaults saved
    own = os.path.join(appdata, "Kadeno", "Kadeno.ini")
    check(not os.path.exists(own), "%APPDATA% already holds a settings file")
    scan, saved = play(on_wine(wine, exe, work, settings_path=own))
    check_factory_sound(scan)
    with open(os.path.join(os.path.dirname(exe), "Kadeno-default.ini"), "rb") as f:
        check(saved == f.read(), "saved: %r" % saved)


if __name__ == "__main__":
    sys.exit(main({"compare": compare, "first": first, "language": language,
                   "installed": installed}))
