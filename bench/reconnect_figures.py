"""How soon the built-in synthesiser is heard again after its sound server comes back, and
what the program costs while no server runs: a game on a private PulseAudio server with a
null sink, the server stopped and started again RESTARTS times (10 by default).

    /usr/bin/python3 tests/e2e/harness.py private /usr/bin/python3 bench/reconnect_figures.py build/kadeno [RESTARTS]
"""

import os
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import Catalog, Session, SoundServer, _started, wait_for  # noqa: E402

DOWN_S = 5.0  # how long the server stays away each time


def cpu_seconds(pid):
    """User and system time of the process so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def measure(work, exe, restarts):
    server = SoundServer(os.path.join(work, "pulse"))
    capture, _ = server.start()
    s = Session(exe, work, speech="off",
                env={"KADENO_MIDI_OUT": "builtin", "PULSE_SERVER": "unix:" + server.socket})
    s.box("help page 1", "Cancel")
    s.reset(Catalog("en"))
    s.choose("File", "Start Game")
    s.box("the start question", "Yes")
    s.focus_main_window()
    wait_for("the game's first sound", lambda: capture.first_sound(0), timeout=30)
    back_s, cpu_down, cpu_up = [], [], []
    for _ in range(restarts):
        time.sleep(2)
        before, at = cpu_seconds(s.process.pid), time.monotonic()
        capture.stop()
        server.exit()
        time.sleep(DOWN_S)
        cpu_down.append((cpu_seconds(s.process.pid) - before) / (time.monotonic() - at))
        capture, back = server.start()
        heard = wait_for("the sound back", lambda: capture.first_sound(back), timeout=10)
        back_s.append(heard - back)
        before, at = cpu_seconds(s.process.pid), time.monotonic()
        time.sleep(DOWN_S)
        cpu_up.append((cpu_seconds(s.process.pid) - before) / (time.monotonic() - at))
    capture.stop()
    print("restarts: %d, server away %.1f s each" % (restarts, DOWN_S))
    print("server back to first captured sound: median %.3f s, min %.3f s, max %.3f s"
          % (statistics.median(back_s), min(back_s), max(back_s)))
    print("  each: " + " ".join("%.3f" % b for b in back_s))
    print("CPU of the program while no server runs (game playing): median %.2f %%, max %.2f %%"
          % (100 * statistics.median(cpu_down), 100 * max(cpu_down)))
    print("CPU of the program with the server back (game playing): median %.2f %%"
          % (100 * statistics.median(cpu_up)))
    print("stderr: %r" % [line for line in s.errors() if "sound" in line][:4])


def main():
    exe, restarts = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 10
    with tempfile.TemporaryDirectory(prefix="kadeno-bench-") as work:
        try:
            measure(work, exe, restarts)
        finally:
            for p in _started:
                p.kill()
                p.wait()


if __name__ == "__main__":
    main()
