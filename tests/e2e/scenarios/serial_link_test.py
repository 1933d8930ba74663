"""The serial link on its real Win32 glue under Wine, driven by the serial probe (testkit/serial_probe)
against simulated readers on ptys: bytes and line settings, where replies are cut and end. (That a port
which cannot be configured is closed is the unit tests' SerialLink; that the glue's close lets a port go,
the reader scenarios'.)"""
import select
import subprocess
import time
from contextlib import contextmanager

from sim_reader import SimReader

READ_KRX = b"AT+READS_KRX"
REPLY = b" - OK! >> 1.00TMX1AO"


class Probe:
    """The serial probe under Wine: one command line in, one answer line out."""

    def __init__(self, env):
        self.proc = env.popen([env.tools_dir / "serial-probe.exe"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def ask(self, line):
        self.proc.stdin.write(line.encode() + b"\n")
        self.proc.stdin.flush()
        # Waited for with a time-out, so that a hung probe cannot hang the suite.
        assert select.select([self.proc.stdout], [], [], 10)[0], f"the serial probe did not answer {line!r}"
        return self.proc.stdout.readline().decode().strip()

    def exchange(self, command):
        """Writes a command and returns the reply, its first byte awaited as the program awaits it."""
        assert self.ask(f"write {command.hex()}") == "write ok"
        return self.read(1000)

    def read(self, wait_ms=0):
        """The bytes of one reply; b"" when the line stayed quiet."""
        answer = self.ask(f"read 64 {wait_ms}")
        assert answer.startswith(("read ok", "read silent")), answer
        return bytes.fromhex(answer.partition("hex=")[2])


@contextmanager
def probe_on(env, n, device):
    """A probe, with COMn on the device; the port gone again afterwards."""
    env.add_com_port(n, device)
    try:
        yield Probe(env)
    finally:
        env.stop_programs()
        env.remove_com_port(n)


def test_bytes_go_out_exactly_on_a_line_set_to_19200_8n1(env):
    # COM105: a port of three digits is opened by its device name, not its DOS name.
    with SimReader(model=0) as sim, probe_on(env, 105, sim.slave_path) as probe:
        # A line the link has to change. (A pty keeps 8 data bits and no parity whatever is asked:
        # those are the unit tests' to prove.)
        subprocess.run(["stty", "-F", sim.slave_path, "9600", "cstopb"], check=True)

        assert probe.ask("open COM105") == "open ok"
        assert sim.line_settings() == {"baud": 19200, "data_bits": 8, "parity": False, "stop_bits": 1}
        assert probe.exchange(READ_KRX) == REPLY
        assert probe.exchange(b"AT+W440AF") == b" - OK!"
        time.sleep(0.2)  # nothing may follow either command, not even a line end
        assert sim.received_bytes() == READ_KRX + b"AT+W440AF"


def test_a_reply_is_cut_at_64_bytes_and_ends_at_the_first_quiet_60_ms(env):
    with SimReader(model=0) as sim, probe_on(env, 21, sim.slave_path) as probe:
        assert probe.ask("open COM21") == "open ok"
        tail = bytes(range(65, 115))  # 70 bytes in all, without a gap: the rest waits for the next read
        sim.set_mode("long", tail=tail)
        assert probe.exchange(READ_KRX) == (REPLY + tail)[:64]
        assert probe.read() == (REPLY + tail)[64:]
        assert probe.read() == b""

        # Pauses of 30 ms keep a reply together; one of 150 ms ends it, and what follows is not lost
        # (the port is never purged): the next read returns it.
        sim.set_mode("chunks", chunks=[(b" - OK! >> ", 30), (b"1.00", 30), (b"TMX", 150), (b"1AO", 0)])
        assert probe.exchange(READ_KRX) == b" - OK! >> 1.00TMX"
        time.sleep(0.2)
        assert probe.read() == b"1AO"

