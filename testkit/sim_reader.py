"""A simulated card reader on a virtual COM port (a pty), for the Wine tests.

One SimReader serves one port. The program under test opens the pty's slave
side (link it as $WINEPREFIX/dosdevices/comN -> sim.slave_path); the reader
sits on the master side in its own thread, records every byte it receives with
its arrival time, and answers by the reader's text protocol:

    model 0 reads  "AT+READS_KRX"      -> prefix + " - OK! >> " + version + 6 settings chars
    model 1 reads  "AT+READS_USB"      -> prefix + " - OK! >> " + version + 7 settings chars
    write          "AT+" + settings     -> prefix + " - OK!"   (the settings are kept, unless
                                           keeps_writes is False: a write that does not take)

Commands carry no terminator: a command is recognised as soon as the bytes
received since the last one end with it. Anything else is taken in silently.
A reply goes out whole, delay_ms after its command, unless `split` cuts it into
pieces with quiet spells between them.

    sim = SimReader(model=0)
    sim.set_mode("silent" | "normal" | "garbage" | "unknown" | "long" | "chunks", **options)
    sim.received_bytes(); sim.writes(); sim.line_settings(); sim.sent; sim.close()
"""

import collections
import os
import re
import select
import threading
import time
import pty
import termios
import tty

READ_COMMANDS = {0: b"AT+READS_KRX", 1: b"AT+READS_USB"}
DEFAULT_SETTINGS = {0: b"TMX1AO", 1: b"WHDH5EM"}
# The write command's settings, by the codes each position accepts.
WRITE_COMMANDS = {
    0: re.compile(rb"AT\+(TMX|W26|W44)[10][DSA][OF]\Z"),
    1: re.compile(rb"AT\+[WA](HD[HD]|TMX)[2-5](EM|EX|XM)\Z"),
}
MODES = ("normal", "silent", "garbage", "unknown", "long", "chunks")


class SimReader:
    """One simulated reader on its own pty; see the module text."""

    def __init__(self, model=0, prefix=b"", version=b"1.00", settings=None, delay_ms=0, baud=None):
        if model not in READ_COMMANDS:
            raise ValueError("model is 0 or 1")
        self.model = model
        self.prefix = prefix
        self.version = version
        self.settings = settings if settings is not None else DEFAULT_SETTINGS[model]
        self.delay_ms = delay_ms  # the reply starts this long after the command
        self.baud = baud  # None: bytes go out at once; else 10 bits per byte at this rate
        self.mode = "normal"
        self.garbage = b"#?%&*garbage*&%?#"
        self.tail = b"*" * 60  # what "long" appends after a normal reply
        self.chunks = []  # "chunks": [(bytes, gap_ms_after), ...] sent instead of the reply
        self.keeps_writes = True  # False: a write is answered "OK!" but the settings stay as they were
        self.answers = None  # a number: the commands still to be answered, the reader is silent after them
        self.split = None  # a function: reply -> [(bytes, gap_ms after), ...], the pieces it goes out in

        self.received = []  # (monotonic time, byte value), every byte that arrived
        self.sent = []  # (monotonic time, bytes) of every write to the line
        self.commands = []  # (monotonic time, command bytes) recognised
        self.held_up = 0  # pieces that went out over 40 ms late: a busy machine, not the reader, timed them
        self._lock = threading.Lock()
        self._pending = bytearray()  # bytes since the last command
        self._outgoing = collections.deque()  # (bytes, seconds to the next, seconds of quiet after)
        self._next_due = 0.0  # when the first of _outgoing goes out

        self._master, self._slave = pty.openpty()
        tty.setraw(self._slave)
        self.slave_path = os.ttyname(self._slave)
        self._wake_read, self._wake_write = os.pipe()
        self._stopping = False
        self._thread = threading.Thread(target=self._serve, name="sim-reader " + self.slave_path, daemon=True)
        self._thread.start()

    # ---- what tests use

    def set_mode(self, mode, **options):
        """Changes how the reader answers from the next command on.

        options: prefix, version, settings, delay_ms, baud, garbage, tail, chunks, keeps_writes, answers, split."""
        if mode not in MODES:
            raise ValueError("unknown mode " + mode)
        with self._lock:
            self.mode = mode
            for name, value in options.items():
                if not hasattr(self, name) or name.startswith("_"):
                    raise ValueError("unknown option " + name)
                setattr(self, name, value)

    def received_bytes(self):
        with self._lock:
            return bytes(value for _, value in self.received)

    def writes(self):
        """How many write commands the reader recognised (each one wears its memory)."""
        with self._lock:
            return sum(command != READ_COMMANDS[self.model] for _, command in self.commands)

    def line_settings(self):
        """The line as the program set it up: baud, data bits, parity on/off, stop bits."""
        _, _, cflag, _, _, ospeed, _ = termios.tcgetattr(self._slave)
        sizes = {termios.CS5: 5, termios.CS6: 6, termios.CS7: 7, termios.CS8: 8}
        rates = {getattr(termios, name): int(name[1:]) for name in dir(termios) if re.fullmatch(r"B[0-9]+", name)}
        return {"baud": rates.get(ospeed), "data_bits": sizes[cflag & termios.CSIZE],
                "parity": bool(cflag & termios.PARENB), "stop_bits": 2 if cflag & termios.CSTOPB else 1}

    def clear(self):
        """Forgets what was received and sent so far."""
        with self._lock:
            self.received.clear()
            self.sent.clear()
            self.commands.clear()
            self._pending.clear()

    def send(self, data, gap_ms=0):
        """Puts bytes on the line unasked, after gap_ms."""
        with self._lock:
            self._schedule([(data, 0)], time.monotonic() + gap_ms / 1000.0)
        os.write(self._wake_write, b"x")

    def wait_for_command(self, count=1, timeout=5.0):
        """Waits until `count` commands were recognised in all; returns them."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            with self._lock:
                if len(self.commands) >= count:
                    return list(self.commands)
            time.sleep(0.005)
        raise TimeoutError("the reader got %d command(s), expected %d" % (len(self.commands), count))

    def close(self):
        """Stops serving; the thread itself closes both ends of the pty."""
        if self._stopping:
            return
        self._stopping = True
        os.write(self._wake_write, b"x")
        self._thread.join(timeout=5)
        os.close(self._wake_read)
        os.close(self._wake_write)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # ---- the serving thread

    def _serve(self):
        try:
            while not self._stopping:
                with self._lock:
                    due = self._next_due if self._outgoing else None
                timeout = None if due is None else max(0.0, due - time.monotonic())
                readable, _, _ = select.select([self._master, self._wake_read], [], [], timeout)
                if self._wake_read in readable:
                    os.read(self._wake_read, 64)
                if self._master in readable:
                    try:
                        data = os.read(self._master, 4096)
                    except OSError:  # no one holds the slave side just now
                        data = b""
                    self._take(data, time.monotonic())
                self._send_due()
        finally:
            # Closed here, by the thread that uses them, never under its feet.
            os.close(self._master)
            os.close(self._slave)

    def _take(self, data, now):
        with self._lock:
            for value in data:
                self.received.append((now, value))
                self._pending.append(value)
                command = self._recognise()
                if command is not None:
                    self._pending.clear()
                    self.commands.append((now, command))
                    self._answer(command, now)

    def _recognise(self):
        read = READ_COMMANDS[self.model]
        if self._pending.endswith(read):
            return read
        start = self._pending.rfind(b"AT+")
        if start >= 0 and WRITE_COMMANDS[self.model].match(bytes(self._pending[start:])):
            return bytes(self._pending[start:])
        return None

    def _answer(self, command, now):
        if self.answers is not None:
            self.answers -= 1
        if self.mode == "silent" or (self.answers is not None and self.answers < 0):
            return
        start = now + self.delay_ms / 1000.0
        if self.mode == "chunks":
            self._schedule(self.chunks, start)
            return
        if self.mode == "garbage":
            reply = self.garbage
        elif self.mode == "unknown":
            reply = self.prefix + b" - UNKNOWN CMD!"
        elif command == READ_COMMANDS[self.model]:
            reply = self.prefix + b" - OK! >> " + self.version + self.settings
        else:
            if self.keeps_writes:
                self.settings = command[3:]
            reply = self.prefix + b" - OK!"
        if self.mode == "long":
            reply += self.tail
        self._schedule(self.split(reply) if self.split else [(reply, 0)], start)

    def _schedule(self, pieces, start):
        """Queues pieces of (bytes, gap_ms after); the first goes out at `start` (or after what is
        queued). Paced bytes keep to the line rate; a gap is a quiet spell after the piece really
        went out, so a late thread never shortens it."""
        byte_time = 0.0 if self.baud is None else 10.0 / self.baud
        if not self._outgoing:
            self._next_due = start
        for data, gap_ms in pieces:
            quiet = gap_ms / 1000.0
            if byte_time and data:
                for value in data:
                    self._outgoing.append((bytes([value]), byte_time, 0.0))
                self._outgoing[-1] = (self._outgoing[-1][0], byte_time, byte_time + quiet)
            else:
                self._outgoing.append((bytes(data), 0.0, quiet))

    def _send_due(self):
        while True:
            with self._lock:
                now = time.monotonic()
                if not self._outgoing or self._next_due > now:
                    return
                self.held_up += now - self._next_due > 0.04
                data, advance, quiet = self._outgoing.popleft()
            os.write(self._master, data)
            with self._lock:
                sent_at = time.monotonic()
                self.sent.append((sent_at, data))
                self._next_due = max(self._next_due + advance, sent_at + quiet)
