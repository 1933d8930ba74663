"""How mz6 holds a port: exclusively, at 19200 baud 8N1, and given back as it was found, also when
interrupted; a port that is taken or vanishes is reported by name."""
import fcntl
import grp
import json
import os
import pty
import shutil
import signal
import subprocess
import termios

from run import AS_NOBODY, ReaderTest, Run, mz6, plug_usb_tty, serial_tty, start

TIOCEXCL, TIOCGEXCL = 0x540C, 0x80045440  # Linux; Python's termios lacks them


def locked(path):
    return subprocess.run(["flock", "-n", path, "true"]).returncode != 0


def line_of(path):
    """The tty's line settings, and whether it is exclusive: where the other side keeps a tty open (a pty, a
    serial bridge), one left exclusive could only be opened by root afterwards (EBUSY)."""
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    line = termios.tcgetattr(fd), int.from_bytes(fcntl.ioctl(fd, TIOCGEXCL, bytes(4)), "little")
    os.close(fd)
    return line


class PortHandling(ReaderTest):
    def test_port_is_held_while_in_use_and_given_back(self):
        for ending, status in (("reply awaited", 1), ("interrupted", -signal.SIGINT)):
            with self.subTest(ending=ending):
                sim = self.reader(0, "silent")
                before = line_of(sim.slave_path)
                proc = start("read", "--model", "krx", "--port", sim.slave_path)
                sim.wait_for_command()
                self.assertTrue(locked(sim.slave_path))
                self.assertEqual(sim.line_settings(), {"baud": 19200, "data_bits": 8, "parity": False, "stop_bits": 1})
                if ending == "interrupted":
                    proc.send_signal(signal.SIGINT)
                self.assertEqual(Run(proc, *proc.communicate(timeout=10)).code, status)
                self.assertFalse(locked(sim.slave_path))
                self.assertEqual(line_of(sim.slave_path), before)

    def test_a_port_taken_by_another_process_is_named_and_left_to_it(self):
        # Root opens a tty that another program made exclusive: it must still keep out, and leave it so.
        for take, error in ((lambda fd: fcntl.flock(fd, fcntl.LOCK_EX), "11: Resource temporarily unavailable"),
                            (lambda fd: fcntl.ioctl(fd, TIOCEXCL), "16: Device or resource busy")):
            with self.subTest(error=error):
                sim = self.reader(0)
                fd = os.open(sim.slave_path, os.O_RDWR | os.O_NOCTTY)
                self.addCleanup(os.close, fd)
                take(fd)
                run, port = mz6("read", "--port", sim.slave_path), sim.slave_path
                self.assertEqual((run.code, run.err),
                                 (1, f"{port}: busy: Error opening: another program holds the port (system error {error})\n"))
                self.assertEqual(sim.received_bytes(), b"")
                self.assertEqual(int.from_bytes(fcntl.ioctl(fd, TIOCGEXCL, bytes(4)), "little"), int(error[:2] == "16"))

    def test_a_port_that_vanishes_mid_exchange_is_reported(self):
        sim = self.reader(0, "silent")
        proc = start("read", "--model", "krx", "--port", sim.slave_path)
        sim.wait_for_command()
        sim.close()
        run = Run(proc, *proc.communicate(timeout=10))
        self.assertEqual((run.code, run.err),
                         (1, f"{sim.slave_path}: io-error: the port went away (system error 5: Input/output error)\n"))

    def test_a_port_the_user_may_not_open_says_how_to_get_access(self):
        # Joining the node's group is advised only where that group would let the user in (the decision's every
        # case: the unit tests' PortAccess; here the node as the glue finds it, and the words).
        if not AS_NOBODY:
            self.skipTest("giving a node another owner, and running as another user, needs root")
        join = "the port belongs to the group dialout: sudo adduser $USER dialout, then log in again"
        for owner, mode, groups, advice in (
                ("root:dialout", 0o660, [], join),
                ("root:root", 0o600, [grp.getgrnam("dialout").gr_gid],
                 "the port's node is {port} root:root 0600; udev may not have set it up")):
            with self.subTest(owner=owner, mode=oct(mode), groups=groups):
                sim = self.reader(0)
                shutil.chown(sim.slave_path, *owner.split(":"))
                os.chmod(sim.slave_path, mode)
                as_user = [*AS_NOBODY[:-1], f"--groups={','.join(map(str, groups))}"] if groups else AS_NOBODY
                run = mz6("read", "--port", sim.slave_path, "--json", prefix=as_user)
                self.assertEqual((run.code, json.loads(run.out)["result"], json.loads(run.out)["error"]),
                                 (1, "permission-denied", 13))
                self.assertIn("permission-denied: Error opening: permission denied; " +
                              advice.format(port=sim.slave_path), run.err)
                self.assertEqual(run.err.count("adduser"), int(advice == join))

    def test_an_interrupted_run_finishes_what_it_began_and_reports(self):
        for command, sig, status in (("apply", signal.SIGINT, 130), ("apply", signal.SIGTERM, 143),
                                     ("find", signal.SIGHUP, 129)):
            with self.subTest(command=command, signal=sig):
                # The first reader answers at once; the others answer after the interruption, or (find) never.
                readers = [self.reader(0, "silent" if i and command == "find" else "normal", delay_ms=800 * (i > 0))
                           for i in range(4)]
                ports = [a for sim in readers for a in ("--port", sim.slave_path)]
                profile = self.profile("model = krx\nstandby = static\n")
                proc = start(*([command, profile] if command == "apply" else [command]), *ports)
                # Every port is asked at once: each has its first command before the signal, however busy the
                # machine, and the first reader's write is on the line.
                for sim in readers[1:]:
                    sim.wait_for_command(1)
                readers[0].wait_for_command(2 if command == "apply" else 1)
                proc.send_signal(sig)
                run = Run(proc, *proc.communicate(timeout=10))
                self.assertEqual(run.code, status, run.err)
                paths = [sim.slave_path for sim in readers]
                self.assertFalse(any(locked(path) for path in paths))
                self.assertEqual([sim.received_bytes() for sim in readers[1:]], [b"AT+READS_KRX"] * 3)
                if command == "apply":
                    # The write in hand was read back; the readers not yet written were left alone.
                    self.assertEqual(run.out.splitlines(), [f"{paths[0]}: changed", "  standby: off -> static"] +
                                     [f"{p}: not-attempted" for p in paths[1:]])
                    self.assertEqual(run.err, "1 of 1 readers configured: 1 changed, 0 unchanged, 0 failed\n"
                                              f"not attempted (interrupted): {', '.join(paths[1:])}\n")
                    self.assertEqual([sim.settings for sim in readers], [b"TMX1SO"] + [b"TMX1AO"] * 3)
                else:  # the exchange in hand ends in silence; the next command is not sent
                    self.assertEqual(run.out, f"{paths[0]}  krx  1.00\n")
                    self.assertEqual(run.err.count(": not-attempted: "), 3)

    def test_a_closed_output_pipe_ends_the_run_with_the_summary_on_stderr(self):
        sim = self.reader(0)
        proc = start("apply", self.profile("model = krx\nstandby = static\n"), "--port", sim.slave_path)
        proc.stdout.close()  # as "| true" does
        run = Run(proc, b"", proc.communicate(timeout=10)[1])
        self.assertEqual((run.code, run.err), (1, "1 of 1 readers configured: 1 changed, 0 unchanged, 0 failed\n"
                                                  "mz6: output could not be written (Broken pipe)\n"))

    def test_progress_line_only_on_a_terminal(self):
        ports = [a for sim in (self.reader(0), self.reader(0)) for a in ("--port", sim.slave_path)]
        self.assertEqual(mz6("find", *ports).err, "")
        terminal, its_end = pty.openpty()
        proc = start("find", *ports, stderr=its_end)
        os.close(its_end)
        proc.communicate(timeout=10)
        shown = b""
        while True:  # a read gives what one write put there; the end of the slave's last holder ends it (EIO)
            try:
                piece = os.read(terminal, 65536)
            except OSError:
                break
            if not piece:
                break
            shown += piece
        os.close(terminal)
        self.assertIn(b"\r2/2 ports done", shown)

    def test_consoles_and_ports_without_a_uart_are_asked_only_when_named(self):
        root = self.new_folder()
        console, placeholder, reader, late_console = (self.reader(0) for _ in range(4))
        serial_tty(root, "ttyS0", console.slave_path, console=True)
        serial_tty(root, "ttyS1", placeholder.slave_path, uart="0")
        serial_tty(root, "ttyS2", behind=False)
        plug_usb_tty(root, "ttyUSB0", reader.slave_path, idVendor="0403", idProduct="6001")
        env, dev = {"MZ6_SYSTEM_ROOT": str(root)}, f"{root}/dev"
        self.assertEqual(mz6("ports", env=env).out, f"{dev}/ttyS0  skipped: the kernel's console\n"
                                                    f"{dev}/ttyS1  skipped: no UART behind it\n"
                                                    f"{dev}/ttyS2  skipped: no device behind it\n{dev}/ttyUSB0\n")
        profile = self.profile("model = krx\n")
        for args in (["find"], ["apply", profile, "--all"]):
            run = mz6(*args, env=env)
            self.assertEqual((run.code, run.out.split()[0].rstrip(":")), (0, f"{dev}/ttyUSB0"), run.err)
        watch, said = self.watching(profile, env=env)
        self.assertIn("the 1 ports present now", said)
        serial_tty(root, "ttyS4", late_console.slave_path, console=True)
        plug_usb_tty(root, "ttyUSB1", self.reader(0).slave_path)
        self.assertRegex(self.next_line(watch), rf"^1  \S+  {dev}/ttyUSB1  unchanged")
        self.assertEqual([sim.received_bytes() for sim in (console, placeholder, late_console)], [b""] * 3)
        self.assertEqual(mz6("read", "--port", f"{dev}/ttyS0", env=env).code, 0)  # named, it is asked

        # A host without ports, or a stand-in root misspelt: said, never an empty list with success.
        empty, missing = str(self.new_folder()), f"{root}/nope"
        for language, args, root_given, words in (
                ("en", ["ports"], empty, "no serial ports found"),
                ("ru", ["apply", profile, "--all"], empty, "последовательные порты не найдены"),
                ("en", ["ports"], missing, f"no serial ports found: MZ6_SYSTEM_ROOT ({missing}) is not a folder")):
            run = mz6("--lang", language, *args, "--json", env={"MZ6_SYSTEM_ROOT": root_given})
            self.assertEqual((run.code, run.err), (1, f"mz6: {words}\n"))
            self.assertEqual(json.loads(run.out), {"result": "no-ports", "message": words})
