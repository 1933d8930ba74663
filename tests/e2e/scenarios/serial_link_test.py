"""The serial link under Wine: the program's own serial code and its real glue, driven through
the serial probe (tests/e2e/serial_probe) against simulated readers on virtual COM ports."""
import os
import re
import select
import statistics
import subprocess
import termios
import time
from contextlib import contextmanager

from sim_reader import SimReader

READ_KRX = b"AT+READS_KRX"
READ_USB = b"AT+READS_USB"
REPLY_KRX = b" - OK! >> 1.00TMX1AO"
WORDS = {"en": ("Message", "Error", "when writing to the COM port!"),
         "ru": ("Сообщение", "Ошибка", "при записи в COM-порт!")}


class Probe:
    """The serial probe under Wine: one command line in, one answer line out."""

    def __init__(self, env):
        exe = env.tools_dir / "serial-probe.exe"
        self.proc = env.popen([exe], env.new_workdir("serial-probe"), stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self._pending = b""

    def ask(self, line, timeout=10):
        """Sends a command; returns the answer's words and its key=value fields, and any error box."""
        self.proc.stdin.write(line.encode() + b"\n")
        self.proc.stdin.flush()
        boxes = []
        while True:
            answer = self._line(timeout)
            fields = dict(word.split("=", 1) for word in answer.split() if "=" in word)
            fields["words"] = [word for word in answer.split() if "=" not in word]
            if fields["words"] != ["box"]:
                fields["boxes"] = boxes
                return fields
            boxes.append({"style": int(fields["style"]),
                          "caption": bytes.fromhex(fields["caption"]).decode("cp1251"),
                          "text": bytes.fromhex(fields["text"]).decode("cp1251")})

    def read(self, capacity=64):
        """Bytes of one ReadPort, or None when it returned false."""
        answer = self.ask(f"read {capacity}")
        return bytes.fromhex(answer["hex"]) if answer["words"] == ["read", "ok"] else None

    def quit(self):
        self.proc.stdin.write(b"quit\n")
        self.proc.stdin.close()
        self.proc.wait(10)
        self.proc.stdout.close()

    def _line(self, timeout):
        deadline = time.monotonic() + timeout
        while b"\n" not in self._pending:
            left = deadline - time.monotonic()
            ready, _, _ = select.select([self.proc.stdout], [], [], max(0.0, left))
            chunk = os.read(self.proc.stdout.fileno(), 4096) if ready else b""
            if not chunk:
                raise AssertionError("the serial probe did not answer" if left > 0 else "the serial probe hung")
            self._pending += chunk
        line, self._pending = self._pending.split(b"\n", 1)
        return line.decode().strip()


@contextmanager
def probe_with_ports(env, ports):
    """A probe, and COMn -> device for each (n, device) of ports; all of it gone afterwards."""
    for n, device in ports:
        env.add_com_port(n, device)
    probe = Probe(env)
    try:
        yield probe
    finally:
        probe.quit()
        for n, _ in ports:
            env.remove_com_port(n)


def exchange(probe, command, capacity=64):
    answer = probe.ask(f"exchange {command.hex()} {capacity}")
    assert answer["words"][:2] == ["exchange", "ok"], answer
    reply = bytes.fromhex(answer["hex"]) if answer["words"][2:] == ["read", "ok"] else None
    return reply, float(answer["ms"])


def set_line_9600_2_stop_bits(path):
    """A line the program must change. (A pty keeps 8 data bits and no parity whatever is asked:
    those two fields are proven by the unit tests only.)"""
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    try:
        attrs = termios.tcgetattr(fd)
        attrs[2] |= termios.CSTOPB
        attrs[4] = attrs[5] = termios.B9600
        termios.tcsetattr(fd, termios.TCSANOW, attrs)
    finally:
        os.close(fd)


def wineserver_fds(env, target):
    """How many descriptors of the prefix's wineserver point at target."""
    stat = os.stat(env.prefix)
    server_dir = "server-%x-%x" % (stat.st_dev, stat.st_ino)
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.readlink(f"/proc/{pid}/cwd").endswith(server_dir):
                return process_fds(pid, target)
        except OSError:
            continue
    raise AssertionError("no wineserver for the prefix")


def process_fds(pid, target):
    count = 0
    for fd in os.listdir(f"/proc/{pid}/fd"):
        try:
            count += os.readlink(f"/proc/{pid}/fd/{fd}") == target
        except OSError:
            pass
    return count


def test_commands_go_out_as_their_exact_bytes_on_a_19200_8n1_line(env):
    readers = {5: SimReader(model=0), 12: SimReader(model=1), 105: SimReader(model=0)}
    try:
        with probe_with_ports(env, [(n, sim.slave_path) for n, sim in readers.items()]) as probe:
            for n, sim in readers.items():
                set_line_9600_2_stop_bits(sim.slave_path)
                assert probe.ask(f"open COM{n}")["words"] == ["open", "ok"], n
                line = sim.line_settings()
                assert line == {"baud": 19200, "data_bits": 8, "parity": False, "stop_bits": 1}, (n, line)
                command = READ_KRX if sim.model == 0 else READ_USB
                reply, _ = exchange(probe, command)
                assert reply == b" - OK! >> 1.00" + sim.settings, (n, reply)
                write = b"AT+W440AF" if sim.model == 0 else b"AT+AHDD3XM"
                assert exchange(probe, write)[0] == b" - OK!", n
                time.sleep(0.2)  # nothing more may follow either command
                assert sim.received_bytes() == command + write, (n, sim.received_bytes())
                assert probe.ask("close")["handle"] == "invalid"
    finally:
        for sim in readers.values():
            sim.close()


def test_a_reply_is_cut_at_64_bytes_and_the_rest_waits_for_the_next_read(env):
    with SimReader(model=0) as sim, probe_with_ports(env, [(21, sim.slave_path)]) as probe:
        assert probe.ask("open COM21")["words"] == ["open", "ok"]
        tail = bytes(range(65, 65 + 50))  # 70 bytes in all, without a gap
        sim.set_mode("long", tail=tail)
        reply, _ = exchange(probe, READ_KRX)
        assert reply == (REPLY_KRX + tail)[:64], reply
        assert probe.read() == (REPLY_KRX + tail)[64:]
        assert probe.read() is None  # and then the line is quiet

        sim.set_mode("long", tail=b"x" * (64 - len(REPLY_KRX)))  # exactly 64: complete, nothing left
        assert exchange(probe, READ_KRX)[0] == REPLY_KRX + b"x" * 44
        assert probe.read() is None


def test_a_reply_ends_at_the_first_quiet_spell_of_60_ms(env):
    with SimReader(model=1) as sim, probe_with_ports(env, [(22, sim.slave_path)]) as probe:
        assert probe.ask("open COM22")["words"] == ["open", "ok"]
        sim.set_mode("chunks", chunks=[(b" - OK! >> ", 30), (b"1.00", 30), (b"WHDH5EM", 0)])
        assert exchange(probe, READ_USB)[0] == b" - OK! >> 1.00WHDH5EM"

        sim.set_mode("chunks", chunks=[(b" - OK! >> ", 150), (b"1.00WHDH5EM", 0)])
        assert exchange(probe, READ_USB)[0] == b" - OK! >> "
        time.sleep(0.2)
        assert probe.read() == b"1.00WHDH5EM"

        # A late reply is not lost: the port is never purged, so the next read returns it.
        sim.set_mode("normal", delay_ms=300)
        assert exchange(probe, READ_USB)[0] is None
        time.sleep(0.4)
        assert probe.read() == b" - OK! >> 1.00WHDH5EM"


def test_a_port_whose_device_is_missing_does_not_open(env):
    missing = env.new_workdir("missing-device") / "ttyNothing"
    with probe_with_ports(env, [(23, missing)]) as probe:
        answer = probe.ask("open COM23")
        assert answer["words"] == ["open", "fail"] and answer["error"] == "2", answer
        assert answer["handle"] == "invalid" and not answer["boxes"]


def test_a_port_that_cannot_be_configured_is_not_left_open(env):
    with probe_with_ports(env, [(24, "/dev/null")]) as probe:
        # A control first: a bare open of the device shows up as one more /dev/null in wineserver.
        before = wineserver_fds(env, "/dev/null")
        in_probe = process_fds(probe.proc.pid, "/dev/null")
        assert probe.ask("hold COM24")["words"] == ["hold", "ok"]
        assert wineserver_fds(env, "/dev/null") == before + 1
        probe.ask("release")
        assert wineserver_fds(env, "/dev/null") == before

        answer = probe.ask("open COM24")
        assert answer["words"] == ["open", "fail"] and not answer["boxes"], answer
        assert wineserver_fds(env, "/dev/null") == before, "the handle of the failed open is still open"
        assert process_fds(probe.proc.pid, "/dev/null") == in_probe
        assert answer["handle"] == "invalid", answer


def test_a_write_to_a_vanished_reader_shows_the_system_error_box(env):
    for language, (caption, error, what) in WORDS.items():
        with SimReader(model=0) as sim, probe_with_ports(env, [(25, sim.slave_path)]) as probe:
            probe.ask(f"lang {language}")
            assert probe.ask("open COM25")["words"] == ["open", "ok"]
            sim.close()  # the device is gone under the open handle
            answer = probe.ask(f"write {READ_KRX.hex()}")
            assert answer["words"] == ["write", "fail"], answer
            [box] = answer["boxes"]
            assert box["style"] == 0x10 and box["caption"] == caption, box
            assert re.fullmatch(re.escape(error) + r" \[-?[1-9][0-9]*\] " + re.escape(what), box["text"]), box
            # Wine reads such a line as quiet, not as a failure: no box.
            assert probe.read() is None
            print(f"    write to a vanished reader ({language}): {box['text']!r}")


def test_measure_the_time_from_command_to_the_end_of_a_reply(env):
    """Figures only: the time from the write to the end of ReadPort for a reply without gaps, and
    how much of it follows the reader's last byte (the sim's own clock gives the transfer)."""
    figures = {}
    with SimReader(model=0) as sim, probe_with_ports(env, [(26, sim.slave_path)]) as probe:
        assert probe.ask("open COM26")["words"] == ["open", "ok"]
        for label, baud in (("at once", None), ("at 19200 baud", 19200)):
            sim.set_mode("normal", baud=baud)
            totals, transfers = [], []
            for _ in range(15):
                sim.clear()
                reply, ms = exchange(probe, READ_KRX)
                assert reply == REPLY_KRX
                totals.append(ms)
                transfers.append((sim.sent[-1][0] - sim.commands[0][0]) * 1000)
            # The last byte is followed by one whole read time-out of quiet.
            assert min(totals) >= 55, totals
            figures[label] = (totals, transfers)
    for label, (totals, transfers) in figures.items():
        after = [total - transfer for total, transfer in zip(totals, transfers)]
        print(f"    reply of {len(REPLY_KRX)} bytes sent {label}, n={len(totals)}: write to end of read "
              f"median {statistics.median(totals):.1f} ms (min {min(totals):.1f}, max {max(totals):.1f}); "
              f"command to last byte sent median {statistics.median(transfers):.1f} ms; "
              f"after the last byte median {statistics.median(after):.1f} ms")
