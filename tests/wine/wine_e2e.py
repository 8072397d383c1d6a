"""The Windows build under Wine against the Linux build, both driven from the keyboard
on the same private display with the same settings file and the message log device:

    wine_e2e.py WINE KADENO.EXE APPDATA-FOLDER LINUX-KADENO SETTINGS-FILE WORK-FOLDER

Each program pages the help (Yes, Yes, No, Escape), sets the difficulty from 8 to 9
(Alt+F, D, then 9 and Enter in the input box), starts a game from the File menu
(Alt+F, S), answers the start question with Y, and once its first scan has been heard
leaves through File > Exit (Alt+F, X). The first scan's MIDI bytes must be the same, and
so must the two settings files Exit leaves, byte for byte. Last, kadeno.exe with a
MIDI device that cannot be opened says so in a box and ends.
"""

import os
import re
import subprocess
import sys
import time

MAIN_TITLE = "Kadeno: Musical Tumbla"


class Failure(AssertionError):
    pass


def wait_for(what, probe, timeout=60.0):
    end = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > end:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)
    return value


def windows(title=None):
    """The showing windows of that title, or all of them."""
    pattern = ".*" if title is None else "^%s$" % re.escape(title)
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                           capture_output=True, text=True)
    return found.stdout.split()


def next_window(title, seen=()):
    """A showing window of that title that is none of those seen before."""
    return wait_for("the window %r" % title,
                    lambda: next((w for w in windows(title) if w not in seen), None))


def keys(window, *names):
    # With no window manager, nobody gives a window the keyboard but us.
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    for name in names:
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


def choose(window, letter):
    """A File menu item by its access letter, once the menu shows (as a window of its own
    on both desktops)."""
    before = set(windows())
    keys(window, "alt+f")
    menu = wait_for("the File menu", lambda: set(windows()) - before, timeout=20)
    subprocess.run(["xdotool", "key", letter], check=True)
    return before | menu


def midi_bytes(log_path):
    """The byte columns of the log's MIDI lines, wave lines left out."""
    if not os.path.exists(log_path):
        return []
    with open(log_path) as f:
        return [line.split()[1:] for line in f if len(line.split()) > 1
                and line.split()[1] != "wave"]


def first_scan(words):
    """Everything up to the eighth column's placement on all channels (B0 0A ..), which
    opens the second scan; None while the first scan is still playing."""
    starts = [i for i, w in enumerate(words) if w[:2] == ["B0", "0A"]]
    return words[:starts[7]] if len(starts) >= 8 else None


def play(name, command, env, log_path, settings_path, seed):
    os.makedirs(os.path.dirname(settings_path), exist_ok=True)
    with open(settings_path, "wb") as f:
        f.write(seed)
    started = time.monotonic()
    process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL)
    try:
        seen = []
        box = next_window("Kadeno Help")
        for answer in ["y", "y", "n"]:  # pages 2, 3, back to 2
            seen.append(box)
            keys(box, answer)
            box = next_window("Kadeno Help", seen)
        keys(box, "Escape")
        main = next_window(MAIN_TITLE)
        # Set Difficulty: the offered level is selected, so what is typed replaces it.
        keys(next_window("Kadeno", choose(main, "d")), "9", "Return")
        wait_for("the new level in the settings file",
                 lambda: b"\r\nDifficulty = 9\r\n" in open(settings_path, "rb").read())
        choose(main, "s")
        keys(next_window("About to start Game Play"), "y")
        scan = wait_for("the first scan", lambda: first_scan(midi_bytes(log_path)))
        choose(main, "x")
        status = process.wait(30)
        if status != 0:
            raise Failure("%s ended with %s" % (name, status))
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    with open(settings_path, "rb") as f:
        settings = f.read()
    print("%s: %d MIDI messages in the first scan, %d-byte settings file, %.1f s" % (
        name, len(scan), len(settings), time.monotonic() - started))
    return scan, settings


def no_device(wine, exe, env):
    """A MIDI device that cannot be opened: after the help, the program's own message in a
    box of its own, and the program ends once it is answered, its window never shown."""
    process = subprocess.Popen([wine, exe], env=dict(env, KADENO_MIDI_OUT="winmm:4000"),
                               stdin=subprocess.DEVNULL)
    try:
        keys(next_window("Kadeno Help"), "Escape")
        box = next_window("Kadeno")
        if windows(MAIN_TITLE):
            raise Failure("the main window shows with no device to play on")
        keys(box, "Return")
        if process.wait(30) != 0:
            raise Failure("with no device, kadeno.exe ended with %s" % process.returncode)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    print("Windows: a device that cannot be opened ends the program after its message")


def main():
    wine, exe, appdata, linux, seed_path, work = sys.argv[1:7]
    with open(seed_path, "rb") as f:
        seed = f.read()
    os.makedirs(work, exist_ok=True)
    linux_log, windows_log = os.path.join(work, "linux.log"), os.path.join(work, "windows.log")
    config = os.path.join(work, "config")
    linux_env = dict(os.environ, XDG_CONFIG_HOME=config,
                     XDG_DATA_HOME=os.path.join(work, "data"), KADENO_MIDI_OUT="log:" + linux_log)
    # Wine sees the Linux file system as drive Z:.
    windows_env = dict(os.environ, KADENO_MIDI_OUT="log:Z:" + windows_log.replace("/", "\\"))
    try:
        on_linux = play("Linux", [linux], linux_env, linux_log,
                        os.path.join(config, "kadeno", "Kadeno.ini"), seed)
        on_windows = play("Windows", [wine, exe], windows_env, windows_log,
                          os.path.join(appdata, "Kadeno", "Kadeno.ini"), seed)
        if on_windows[0] != on_linux[0]:
            diverge = next((i for i, (a, b) in enumerate(zip(on_linux[0], on_windows[0]))
                            if a != b), min(len(on_linux[0]), len(on_windows[0])))
            raise Failure("the first scans differ from message %d: Linux %s, Windows %s" % (
                diverge, on_linux[0][diverge:diverge + 3], on_windows[0][diverge:diverge + 3]))
        if on_windows[1] != on_linux[1]:
            raise Failure("the settings files differ:\n%r\n%r" % (on_linux[1], on_windows[1]))
        if not any(w[0] == "99" for w in on_linux[0]):
            raise Failure("the first scan beat no drum: nothing was compared")
        no_device(wine, exe, windows_env)
    except Failure as e:
        print("FAIL:", e, file=sys.stderr)
        return 1
    print("wine e2e: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
