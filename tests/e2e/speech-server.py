#!/usr/bin/python3
"""A stand-in speech server: it answers a screen reader's speech client in the Speech Dispatcher
protocol (SSIP) on a unix socket, speaks nothing, and writes each utterance down, one line each:

    SPEAK <text>        the text as sent, markup stripped when the client sent SSML
    CHAR <character>    KEY <key name>    SOUND_ICON <name>
    CANCEL / STOP       the client interrupted what was being said

    speech-server.py SOCKET LOG

Each message is "spoken" at once: the events a client asked for (begin, every index mark, end)
follow its reply, so a reader that waits for them, as in Say All, moves on. It ends when the
process that started it ends, and after an hour in any case.
"""
import html
import os
import re
import socket
import sys
import threading
import time

SOCKET, LOG = sys.argv[1], sys.argv[2]
LIFETIME = 3600
# A message's events are sent a moment after its reply: the client registers its callback for
# the message only once the reply (which names the message) has arrived.
EVENT_DELAY = 0.02
EVENTS = ("index_marks", "begin", "end", "cancel", "pause", "resume")

# SSIP's success replies, by the setting a SET command changes.
SET_REPLIES = {
    "CLIENT_NAME": "208 OK CLIENT NAME SET",
    "PRIORITY": "202 OK PRIORITY SET",
    "LANGUAGE": "201 OK LANGUAGE SET",
    "RATE": "203 OK RATE SET",
    "PITCH": "204 OK PITCH SET",
    "PITCH_RANGE": "263 OK PITCH RANGE SET",
    "PUNCTUATION": "205 OK PUNCTUATION SET",
    "CAP_LET_RECOGN": "206 OK CAP LET RECOGNITION SET",
    "SPELLING": "207 OK SPELLING SET",
    "VOICE_TYPE": "209 OK VOICE SET",
    "SYNTHESIS_VOICE": "209 OK VOICE SET",
    "OUTPUT_MODULE": "216 OK OUTPUT MODULE SET",
    "PAUSE_CONTEXT": "217 OK PAUSE CONTEXT SET",
    "VOLUME": "218 OK VOLUME SET",
    "SSML_MODE": "219 OK SSML MODE SET",
    "NOTIFICATION": "220 OK NOTIFICATION SET",
    "DEBUG": "262 OK DEBUGGING SET",
}
# What GET answers: the values a fresh server has.
VALUES = {"RATE": "0", "PITCH": "0", "PITCH_RANGE": "0", "VOLUME": "100", "LANGUAGE": "en",
          "OUTPUT_MODULE": "stand-in", "VOICE_TYPE": "MALE1", "PUNCTUATION": "some"}

log_lock = threading.Lock()
ids_lock = threading.Lock()
next_ids = {"client": 0, "message": 0}


def new_id(kind):
    with ids_lock:
        next_ids[kind] += 1
        return next_ids[kind]


def write_down(line):
    with log_lock, open(LOG, "a", encoding="utf-8") as log:
        log.write(line.replace("\r", "").replace("\n", " ") + "\n")


def plain(ssml):
    """The words of an SSML message, as a synthesiser would say them."""
    return html.unescape(re.sub(r"<[^>]*>", "", ssml))


class Client(threading.Thread):
    def __init__(self, connection):
        super().__init__(daemon=True)
        self.connection = connection
        self.id = new_id("client")
        self.send_lock = threading.Lock()
        self.notify = set()
        self.ssml = False
        self.pending = {}  # message id -> its timer, until its events are sent
        self.values = dict(VALUES)

    def send(self, code, *lines):
        """A reply: data lines (code-text), then the final line (code text)."""
        text = "".join(f"{code}-{line}\r\n" for line in lines[:-1]) + f"{code} {lines[-1]}\r\n"
        with self.send_lock:
            try:
                self.connection.sendall(text.encode("utf-8"))
            except OSError:
                pass

    def lines(self):
        buffer = b""
        while True:
            while b"\r\n" not in buffer:
                try:
                    chunk = self.connection.recv(4096)
                except OSError:
                    return
                if not chunk:
                    return
                buffer += chunk
            line, buffer = buffer.split(b"\r\n", 1)
            yield line.decode("utf-8", "replace")

    def run(self):
        lines = self.lines()
        for line in lines:
            words = line.split(" ")
            command = words[0].upper()
            if command == "SPEAK":
                self.send(230, "OK RECEIVING DATA")
                data = []
                for data_line in lines:
                    if data_line == ".":
                        break
                    # A line of the text that starts with a dot has it doubled.
                    data.append(data_line[1:] if data_line.startswith("..") else data_line)
                text = "\n".join(data)
                self.queue("SPEAK", plain(text) if self.ssml else text, text)
            elif command in ("CHAR", "KEY", "SOUND_ICON"):
                self.queue(command, " ".join(words[1:]), "")
            elif command in ("CANCEL", "STOP"):
                write_down(command)
                self.interrupt()
                self.send(213 if command == "CANCEL" else 210,
                          "OK CANCELED" if command == "CANCEL" else "OK STOPPED")
            elif command == "SET" and len(words) >= 3:
                self.set(words[2].upper(), words[3:])
            elif command == "GET" and len(words) >= 2:
                self.send(251, self.values.get(words[1].upper(), ""), "OK GET RETURNED")
            elif command == "HISTORY" and words[1:3] == ["GET", "CLIENT_ID"]:
                self.send(227, str(self.id), "OK CLIENT ID SENT")
            elif command == "LIST" and len(words) >= 2:
                self.list(words[1].upper())
            elif command in ("PAUSE", "RESUME"):
                self.send(211 if command == "PAUSE" else 212,
                          "OK PAUSED" if command == "PAUSE" else "OK RESUMED")
            elif command == "BLOCK":
                inside = words[1:2] == ["BEGIN"]
                self.send(260 if inside else 261,
                          "OK INSIDE BLOCK" if inside else "OK OUTSIDE BLOCK")
            elif command == "QUIT":
                self.send(231, "HAPPY HACKING")
                break
            else:
                self.send(300, "ERR UNKNOWN COMMAND")
        self.interrupt()
        self.connection.close()

    def set(self, setting, arguments):
        if setting == "NOTIFICATION" and len(arguments) == 2:
            kinds = EVENTS if arguments[0] == "all" else (arguments[0],)
            for kind in kinds:
                (self.notify.add if arguments[1] == "on" else self.notify.discard)(kind)
        elif setting == "SSML_MODE" and arguments:
            self.ssml = arguments[0] == "on"
        elif arguments:
            self.values[setting] = " ".join(arguments)
        code, text = SET_REPLIES.get(setting, "200 OK").split(" ", 1)
        self.send(code, text)

    def list(self, what):
        if what == "OUTPUT_MODULES":
            self.send(250, "stand-in", "OK MODULE LIST SENT")
        elif what == "SYNTHESIS_VOICES":
            self.send(249, "stand-in\ten\tnone", "OK VOICE LIST SENT")
        elif what == "VOICES":
            self.send(249, "MALE1", "FEMALE1", "OK VOICE LIST SENT")
        else:
            self.send(300, "ERR UNKNOWN LIST")

    def queue(self, kind, text, ssml):
        write_down(f"{kind} {text}")
        message = new_id("message")
        self.send(225, str(message), "OK MESSAGE QUEUED")
        marks = re.findall(r'<mark\s+name="([^"]*)"', ssml)
        timer = threading.Timer(EVENT_DELAY, self.spoken, (message, marks))
        self.pending[message] = timer
        timer.start()

    def event(self, code, message, *rest):
        self.send(code, str(message), str(self.id), *rest)

    def spoken(self, message, marks):
        if self.pending.pop(message, None) is None:
            return
        if "begin" in self.notify:
            self.event(701, message, "BEGIN")
        if "index_marks" in self.notify:
            for mark in marks:
                self.event(700, message, mark, "INDEX MARK")
        if "end" in self.notify:
            self.event(702, message, "END")

    def interrupt(self):
        for message in list(self.pending):
            timer = self.pending.pop(message, None)
            if timer is not None:
                timer.cancel()
                if "cancel" in self.notify:
                    self.event(703, message, "CANCELED")


def main():
    parent, started = os.getppid(), time.monotonic()
    server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    server.bind(SOCKET)
    server.listen()
    server.settimeout(1)
    open(LOG, "a", encoding="utf-8").close()
    while os.getppid() == parent and time.monotonic() - started < LIFETIME:
        try:
            connection, _ = server.accept()
        except socket.timeout:
            continue
        connection.settimeout(None)
        Client(connection).start()
    server.close()
    os.unlink(SOCKET)


if __name__ == "__main__":
    main()
