"""The keyboard comes back to the game after the start question. load [RUNS, default 5]:
heard through Orca under openbox while busy loops keep every core loaded, the start
question answered with Y, the main window active again and said, then Escape reaching the
game; a fresh program each run, since the fault was a race. bare: no window manager at all,
so nobody but the program gives its window the keyboard back after a box.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import MAIN_TITLE, Failure, _started, check, key, main, wait_for  # noqa: E402
from orca_e2e import (MAIN, active_window, ask_to_start, press, quit_game,  # noqa: E402
                      start_desktop, start_program)


def busy_loops():
    """One endless loop for each core, ended with the run."""
    for _ in range(os.cpu_count() or 2):
        _started.append(subprocess.Popen(["/bin/sh", "-c", "while :; do :; done"]))
    # and one that starts short processes all the time, as a build does
    _started.append(subprocess.Popen(["/bin/sh", "-c", "while :; do /bin/true; done"]))


def one_game(orca, exe, work):
    game = start_program(orca, exe, work, b"Difficulty = 2\r\n", 60)
    orca.after(press("Escape"), MAIN, timeout=30)
    ask_to_start(orca)  # the race under test comes at the start question
    # The game has the keyboard: Orca says its window, and Escape reaches it.
    orca.after(press("y"), MAIN, timeout=20)
    check(active_window() == MAIN_TITLE, "the active window is %r" % active_window())
    quit_game(orca, game)


def load(work, exe, runs="5"):
    orca = start_desktop(work)
    if orca is None:
        return 77
    busy_loops()
    passed = 0
    for run in range(int(runs)):
        try:
            one_game(orca, exe, os.path.join(work, "run%d" % run))
            passed += 1
        except Failure as e:
            print("run %d: %s; Orca's last words: %r" % (run, e, orca.said()[-6:]), file=sys.stderr)
            for p in _started:
                if p.args[0] == exe:
                    p.kill()
    print("the keyboard came back in %d of %s runs under load" % (passed, runs))
    check(passed == int(runs), "the keyboard did not come back in %d runs" % (int(runs) - passed))


def focused_window():
    return subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True,
                          text=True).stdout.strip()


def bare(work, exe):
    """With no window manager, X gives the keyboard to the root window when a box closes;
    the program must take it back for its main window by itself."""
    from kadeno_e2e import Session
    s = Session(exe, work, speech="off")
    s.box("help page 1", "Cancel")
    for answer in ["No", "Yes"]:
        s.choose("File", "Start Game")
        s.box("the start question", answer)
        if answer == "No":
            s.box("the cancel", "OK")
        wait_for("the keyboard back at the main window after %s" % answer,
                 lambda: focused_window() == MAIN_TITLE, timeout=10)
    key("Escape")  # to whichever window has the keys
    s.box("the quit question", "Yes")
    s.end()


if __name__ == "__main__":
    sys.exit(main({"load": load, "bare": bare}))
