"""Figures of the desktop program, printed: time from process start to the first help box
(less the 300 ms pause the start-up makes before it), CPU with the window open and idle,
CPU during a game at the fastest starting level, resident memory. Each is the median of
several runs. Run it on a private display with its own buses:

    /usr/bin/python3 tests/e2e/harness.py private /usr/bin/python3 bench/qt_figures.py build/kadeno

The built-in synthesiser needs an audio server; when none runs, a PulseAudio server with
a null sink is started for the run, so the synthesiser renders as it would for a player.
"""

import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from player import Player, wait_for  # noqa: E402

RUNS = int(os.environ.get("KADENO_BENCH_RUNS", "5"))
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def rss_mb(pid, key="VmRSS"):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1]) / 1024
    return 0.0


def cpu_share(pid, seconds):
    c0, t0 = cpu_seconds(pid), time.monotonic()
    time.sleep(seconds)
    return 100.0 * (cpu_seconds(pid) - c0) / (time.monotonic() - t0)


def step_ms(log):
    """The median time between two scan steps in a stretch of the message log (each step
    places all sixteen channels, channel 0 first); None without a log."""
    starts = [t for t, m in log if isinstance(m, list) and m[:2] == [0xB0, 10]]
    gaps = [b - a for a, b in zip(starts, starts[1:])]
    return statistics.median(gaps) if gaps else None


def fastest_game(exe, midi_out):
    """Median CPU of bench_qt_game_cpu, which holds a game at the fastest scan speed."""
    bench = os.path.join(os.path.dirname(os.path.abspath(exe)), "bench", "bench_qt_game_cpu")
    if not os.access(bench, os.X_OK):
        return None
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as work:
        env["KADENO_MIDI_OUT"] = midi_out or "log:" + os.path.join(work, "midi.log")
        figures = []
        for _ in range(RUNS):
            out = subprocess.run([bench, "15"], env=env, capture_output=True, text=True).stdout
            cpu = re.search(r"CPU ([0-9.]+) %", out)
            step = re.search(r"([0-9.]+) ms a scan step", out)
            if cpu and step:
                figures.append((float(cpu.group(1)), float(step.group(1))))
    if not figures:
        return None
    return "%.2f %% of a core, scan step %.1f ms" % (statistics.median(f[0] for f in figures),
                                                   statistics.median(f[1] for f in figures))


def start_audio_server(work):
    if subprocess.run(["pactl", "info"], capture_output=True).returncode == 0:
        return None
    if not shutil.which("pulseaudio"):
        return None
    server = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                               "--load=module-null-sink", "--load=module-native-protocol-unix",
                               "--log-target=stderr", "--log-level=0"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for("the audio server", lambda: subprocess.run(["pactl", "info"],
                 capture_output=True).returncode == 0, timeout=10)
    except AssertionError:
        server.kill()
        return None
    return server


def one_run(exe, midi_out):
    with tempfile.TemporaryDirectory(prefix="kadeno-bench-") as work:
        p = Player(exe, work, midi_out)
        try:
            first = p.next_box("the first help page")
            to_first_box = (time.monotonic() - p.started) * 1000 - 300
            first.press("Cancel")
            p.main_window()
            time.sleep(2)  # let start-up settle
            idle = cpu_share(p.process.pid, 10)
            idle_rss = rss_mb(p.process.pid)

            p.choose("Midi", "Set Midi Back to Default")
            p.next_box("reset question").press("Yes")
            p.next_box("reset message").press("OK")
            p.choose("File", "Set Difficulty")
            box = p.next_box("difficulty", alert=False)
            box.type("10")
            box.press("OK")
            p.choose("File", "Start Game")
            p.next_box("ready").press("Yes")
            time.sleep(3)
            mark = len(p.log())
            game = cpu_share(p.process.pid, 10)
            game_rss = rss_mb(p.process.pid, "VmHWM")
            return to_first_box, idle, game, idle_rss, game_rss, step_ms(p.log()[mark:])
        finally:
            p.kill()


def main():
    exe = sys.argv[1]
    audio = start_audio_server(tempfile.gettempdir())
    try:
        for label, midi_out in (("built-in synthesiser", "builtin"), ("message log", None)):
            runs = []
            for _ in range(RUNS):
                try:
                    runs.append(one_run(exe, midi_out))
                except AssertionError as e:
                    print("  (%s: a run failed: %s)" % (label, e))
            if not runs:
                print("%s: no run succeeded" % label)
                continue
            cols = list(zip(*runs))
            print("%s, median of %d runs:" % (label, len(runs)))
            game_cpu = fastest_game(exe, midi_out)
            print("  start to first help box, less the 300 ms pause: %7.0f ms" % statistics.median(cols[0]))
            print("  CPU, window open and idle:                      %7.2f %% of a core" % statistics.median(cols[1]))
            print("  CPU, game at difficulty 10 (3-13 s in):         %7.2f %% of a core" % statistics.median(cols[2]))
            print("  resident memory idle / peak in game:          %5.1f / %5.1f MB"
                  % (statistics.median(cols[3]), statistics.median(cols[4])))
            steps = [x for x in cols[5] if x is not None]
            if steps:
                print("  scan step during that game:                     %7.1f ms"
                      % statistics.median(steps))
            if game_cpu:
                print("  CPU, game at the fastest speed:                 %s" % game_cpu)
    finally:
        if audio:
            audio.kill()


if __name__ == "__main__":
    main()
