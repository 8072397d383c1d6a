"""A stand-in for the desktop's speech service: it speaks the service's text protocol (SSIP)
on a Unix socket, as far as the client library uses it, and keeps what it was asked to say
instead of saying it.

Lines end in CR LF; SPEAK is answered 230, then the text comes in lines up to a line
holding a lone dot (a line of text that starts with a dot has it doubled), and the
message is answered 225 with its number."""

import os
import socket
import threading


class SpeechServer:
    def __init__(self, path, drop_at=None, hang_at=None):
        """drop_at, hang_at: the number of the SPEAK (from 1) at which the connection is cut,
        or from which on nothing more is answered."""
        self.path, self.drop_at, self.hang_at = path, drop_at, hang_at
        self.events, self.connections = [], 0  # ("say", text), ("cancel",), ("stop",)
        self._lock = threading.Lock()
        self._speaks = 0
        if os.path.exists(path):
            os.unlink(path)
        self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._socket.bind(path)
        self._socket.listen(4)
        threading.Thread(target=self._accept, daemon=True).start()

    def said(self):
        """The texts asked for so far, in order."""
        with self._lock:
            return [e[1] for e in self.events if e[0] == "say"]

    def log(self):
        with self._lock:
            return list(self.events)

    def _accept(self):
        while True:
            try:
                conn, _ = self._socket.accept()
            except OSError:
                return
            with self._lock:
                self.connections += 1
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    def _record(self, *event):
        with self._lock:
            self.events.append(event)

    def _serve(self, conn):
        reply = lambda text: conn.sendall(text.encode() + b"\r\n")  # noqa: E731
        text = None  # the lines of a message being received
        with conn, conn.makefile("rb") as stream:
            for raw in stream:
                line = raw.decode("utf-8").rstrip("\r\n")
                if text is not None:
                    if line != ".":
                        text.append(line[1:] if line.startswith("..") else line)
                        continue
                    self._record("say", "\n".join(text))
                    reply("225-%d" % self._speaks)
                    reply("225 OK MESSAGE QUEUED")
                    text = None
                    continue
                words = line.upper().split()
                if words[:1] == ["SPEAK"]:
                    self._speaks += 1
                    if self._speaks == self.drop_at:
                        return
                    if self._speaks == self.hang_at:
                        for _ in stream:  # hears on, says nothing
                            pass
                        return
                    text = []
                    reply("230 OK RECEIVING DATA")
                elif words[:3] == ["SET", "SELF", "CLIENT_NAME"]:
                    reply("208 OK CLIENT NAME SET")
                elif words[:3] == ["SET", "SELF", "PRIORITY"]:
                    reply("202 OK PRIORITY SET")
                elif words[:2] in (["CANCEL", "SELF"], ["STOP", "SELF"]):
                    self._record(words[0].lower())
                    reply("210 OK %s" % ("CANCELED" if words[0] == "CANCEL" else "STOPPED"))
                elif words[:1] == ["QUIT"]:
                    reply("231 HAPPY HACKING")
                    return
                else:
                    reply("500 ERR UNKNOWN COMMAND")

    def close(self):
        self._socket.close()
        if os.path.exists(self.path):
            os.unlink(self.path)
