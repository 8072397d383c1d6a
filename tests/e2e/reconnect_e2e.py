"""The real program losing its sound server or its speech service mid-run and finding it
again. sound: a game on the built-in synthesiser while its private sound server exits and
starts again on the same socket, twice: the sound is back within 2 s and the scan still
sweeps left to right. speech: the stand-in speech service stops and starts again: the boxes
shown meanwhile do not wait, the next one is heard.
"""

import array
import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import check, main, shipped_settings, wait_for  # noqa: E402
from kadeno_e2e import CANCEL, HELP_1, QUIET_S, READY, Session  # noqa: E402

RATE, SINK = 44100, "kadeno_e2e"
SOUND_LOST = "kadeno: the sound server went away; the game goes on without sound until one " \
             "answers again"
SOUND_BACK = "kadeno: the sound server answers again; sound is back"
SPEECH_LOST = "; going on without speech"
SPEECH_BACK = "kadeno: the speech service answers again; speaking on"
BACK_WITHIN_S = 2.0  # from the server's return to the first sound it hears from the game
WINDOW_S = 0.05  # the stretch of sound whose balance counts as one look at the stereo


class SoundServer:
    """A PulseAudio server with a null sink. The program finds it on a socket in `folder`,
    which outlives the server, so that a new one is where the program looks again. The
    test itself talks to it on a socket of its own, and opens the program's socket only
    once the sink is awake: a fresh null sink first sleeps about 1.8 s before it reacts
    to anything, which a sound card does not, and which would hide how soon the program
    comes back."""

    def __init__(self, folder):
        self.folder, self.socket = folder, os.path.join(folder, "socket")
        os.makedirs(folder, exist_ok=True)
        control = os.path.join(folder, "control")
        with open(os.path.join(folder, "null.pa"), "w") as f:
            f.write("load-module module-null-sink sink_name=%s\n" % SINK
                    + "set-default-sink %s\n" % SINK
                    + "load-module module-native-protocol-unix auth-anonymous=1 socket=%s\n"
                    % control)
        self.env = dict(os.environ, PULSE_SERVER="unix:" + control)
        self.process = None

    def start(self):
        """Starts it and its capture; returns the capture, and the time the program's
        socket opened."""
        log = open(os.path.join(self.folder, "log"), "a")
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "-F", os.path.join(self.folder, "null.pa"), "--daemonize=no",
             "--exit-idle-time=-1", "--use-pid-file=no", "--log-target=stderr"],
            env=dict(self.env, PULSE_RUNTIME_PATH=self.folder, XDG_RUNTIME_DIR=self.folder),
            stdout=log, stderr=log)
        wait_for("the sound server to answer", lambda: self.pactl("info", check=False) is not None
                 or self.process.poll() is not None, timeout=20)
        check(self.process.poll() is None, "the sound server ended at its start")
        capture = Capture(self)
        wait_for("the sink to wake", lambda: capture.blocks, timeout=20)
        self.pactl("load-module", "module-native-protocol-unix", "auth-anonymous=1",
                   "socket=" + self.socket)
        return capture, time.monotonic()

    def exit(self):
        self.pactl("exit")
        self.process.wait(20)

    def pactl(self, *args, check=True):
        done = subprocess.run(["pactl"] + list(args), env=self.env, capture_output=True, text=True)
        if done.returncode != 0 and check:
            raise AssertionError("pactl %s: %s" % (" ".join(args), done.stderr))
        return done.stdout if done.returncode == 0 else None

    def streams(self):
        return [line for line in (self.pactl("list", "short", "sink-inputs", check=False)
                                  or "").splitlines() if line.strip()]


class Capture:
    """The sink's monitor as it comes, each block stamped with its arrival."""

    def __init__(self, server):
        self.blocks = []  # (arrival, [left, right, left, ...])
        self.process = subprocess.Popen(
            ["parec", "-d", SINK + ".monitor", "--raw", "--format=s16le", "--channels=2",
             "--rate=%d" % RATE, "--latency-msec=10"], env=server.env, stdout=subprocess.PIPE)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        rest = b""  # the bytes of a frame cut by the pipe, for the next block
        while block := self.process.stdout.read1(4096):
            block, whole = rest + block, (len(rest) + len(block)) // 4 * 4
            samples, rest = array.array("h"), block[whole:]
            samples.frombytes(block[:whole])
            self.blocks.append((time.monotonic(), samples))

    def first_sound(self, since):
        return next((t for t, s in list(self.blocks) if t >= since and any(s)), None)

    def balances(self, since):
        """(time, right share of the energy) of each loud window after `since`."""
        frames, start = array.array("h"), None
        for t, s in list(self.blocks):
            if t >= since:
                start = start or t
                frames.extend(s)
        n = int(WINDOW_S * RATE) * 2
        out, loud = [], max(1, max((abs(v) for v in frames), default=0) // 8)
        for i in range(0, len(frames) - n, n):
            w = frames[i:i + n]
            left, right = sum(v * v for v in w[0::2]), sum(v * v for v in w[1::2])
            if max(abs(v) for v in w) >= loud:
                out.append((start + i / 2 / RATE, right / (left + right)))
        return out

    def stop(self):
        self.process.kill()
        self.process.wait()


def sweep(balances):
    """The way the scan moves in these looks at the stereo: +1 rightwards, -1 leftwards,
    None when no stretch of one scan (at most 4 s at difficulty 2) moves steadily from one
    side of the field to the other: the seven columns in turn."""
    for direction in (1, -1):
        for i, (t0, b0) in enumerate(balances):
            stretch = [direction * b for t, b in balances[i:] if t - t0 <= 4.0]
            far = max(range(len(stretch)), key=lambda k: stretch[k])
            steps = [stretch[k + 1] - stretch[k] for k in range(far)]
            if stretch[far] - stretch[0] >= 0.2 and len(steps) >= 10 and \
                    sum(d >= -0.01 for d in steps) >= 0.9 * len(steps):
                return direction
    return None


def sound(work, exe):
    server = SoundServer(os.path.join(work, "pulse"))
    capture, _ = server.start()
    # The shipped sound settings, so that the stereo table built at start-up places column 1
    # left and column 7 right.
    with open(shipped_settings(exe), "rb") as f:
        factory = f.read()
    s = Session(exe, work, speech="off", settings=factory,
                env={"KADENO_MIDI_OUT": "builtin", "PULSE_SERVER": "unix:" + server.socket})
    s.box("help page 1", "Cancel")
    s.choose("File", "Start Game")
    s.box("the start question", "Yes")
    s.focus_main_window()
    started = wait_for("the game's first sound", lambda: capture.first_sound(0), timeout=30)
    check(wait_for("a whole scan", lambda: sweep(capture.balances(started)), timeout=12) == 1,
          "the scan does not sweep from left to right before any fault")
    for restart in (1, 2):
        time.sleep(2)  # the game plays on
        capture.stop()
        server.exit()
        wait_for("the line saying the sound is lost",
                 lambda: s.errors().count(SOUND_LOST) == restart, timeout=10)
        time.sleep(1.5)  # then a server comes back
        capture, back = server.start()
        heard = wait_for("the game's sound on the new server",
                         lambda: capture.first_sound(back), timeout=10)
        print("restart %d: sound back %.2f s after the server" % (restart, heard - back))
        check(heard - back <= BACK_WITHIN_S, "sound back only %.2f s after the server returned"
              % (heard - back))
        check(len(server.streams()) == 1, "streams on the new server: %r" % server.streams())
        wait_for("the line saying the sound is back",
                 lambda: s.errors().count(SOUND_BACK) == restart, timeout=10)
        wait_for("a scan from left to right after the return",
                 lambda: sweep(capture.balances(heard)) == 1, timeout=12)
    check([line for line in s.errors() if "sound" in line] == [SOUND_LOST, SOUND_BACK] * 2,
          "stderr says of the sound: %r" % s.errors())
    s.quit()
    capture.stop()
    server.exit()


def speech(work, exe):
    s = Session(exe, work)
    s.box("help page 1", "Cancel", HELP_1)
    s.server.stop()
    # Both boxes shown while the service is away come at once, and silent.
    for what, answer in [("the start question", "No"), ("the cancel", "OK")]:
        asked = time.monotonic()
        if what == "the start question":
            s.choose("File", "Start Game")
        s.box(what, answer)
        check(time.monotonic() - asked < QUIET_S + 3, "%s waited for the speech service" % what)
    lost = [line for line in s.errors() if "speech" in line]
    check(len(lost) == 1 and lost[0].endswith(SPEECH_LOST), "stderr says of speech: %r" % lost)
    s.server.start()
    s.choose("File", "Start Game")
    s.box("the start question once the service is back", "No", READY)
    s.box("the cancel", "OK", CANCEL)
    s.exit()
    said = [line for line in s.errors() if "speech" in line]
    check(said == lost + [SPEECH_BACK], "stderr says of speech: %r" % said)
    check(s.server.connections == 2, "%d connections" % s.server.connections)


if __name__ == "__main__":
    sys.exit(main({"sound": sound, "speech": speech}))
