#!/usr/bin/env python3
"""mz6 (build/host/mz6, or $MZ6) against simulated readers on ptys: runs every *_test.py here, and holds
what they share.

    python3 tests/cli/run.py               # every test, four at a time (testkit/runner.py)
    python3 tests/cli/run.py [-v] [-k PATTERN]  # one after another
"""
import os
import select
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parents[1]
sys.path.insert(0, str(REPO / "testkit"))
import runner  # noqa: E402
from sim_reader import SimReader  # noqa: E402
from system_root import DIALOUT_GID, plug_usb_tty, serial_tty, usb_reader_root  # noqa: E402,F401 (for the tests)

MZ6 = os.environ.get("MZ6", str(REPO / "build" / "host" / "mz6"))
SANITIZER_EXIT = 99  # a sanitizer report must not pass for one of mz6's own statuses
KRX_DEFAULTS = {"model": "krx", "version": "1.00", "interface": "touch-memory", "indication": "direct",
                "standby": "off", "touch-poll": "on"}
USB_DEFAULTS = {"model": "usb", "version": "1.00", "mode": "windows", "format": "hex-dec", "type": "hex",
                "bytes": "5", "cards": "all"}
NO_RESPONSE = "the reader did not answer within 1 s"


def environment(extra=None):
    """The caller's environment without its locale, so that only `extra` chooses the language."""
    env = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "LC_MESSAGES", "LANG")}
    return {**env, "ASAN_OPTIONS": f"exitcode={SANITIZER_EXIT}", "UBSAN_OPTIONS": f"exitcode={SANITIZER_EXIT}",
            **(extra or {})}


class Run:
    """A finished mz6: exit status and its output, which must be UTF-8."""

    def __init__(self, proc, out, err):
        self.code, self.out, self.err = proc.returncode, out.decode(), err.decode()
        assert self.code != SANITIZER_EXIT, self.err

    def fields(self):
        """The "key: value" lines of a read (a write's changes after them left out)."""
        return dict(line.split(": ", 1) for line in self.out.splitlines() if not line.startswith((" ", "/")))


def start(*args, env=None, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, prefix=(), cwd=None):
    """mz6 with `args`, started through `prefix` (AS_NOBODY: as that user)."""
    return subprocess.Popen([*prefix, MZ6, *args], env=environment(env), stdin=stdin, stdout=subprocess.PIPE,
                            stderr=stderr, cwd=cwd)


def mz6(*args, env=None, input=None, stdin=subprocess.DEVNULL, **how):
    proc = start(*args, env=env, stdin=subprocess.PIPE if input is not None else stdin, **how)
    return Run(proc, *proc.communicate(input, timeout=30))


# Runs a command as a user without rights to the ports, as on a fresh machine (root opens anything).
AS_NOBODY = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] if os.geteuid() == 0 else []
# A user in dialout, as a machine's operator: a node opens for them once udev has given it its group.
AS_DIALOUT = ["setpriv", "--reuid=65534", "--regid=65534", f"--groups={DIALOUT_GID}"] if os.geteuid() == 0 else []


class ReaderTest(unittest.TestCase):
    def reader(self, model=0, mode="normal", **options):
        """A simulated reader on its own pty, gone at the end of the test."""
        sim = SimReader(model=model)
        sim.set_mode(mode, **options)
        self.addCleanup(sim.close)
        return sim

    def next_line(self, proc, timeout=5.0):
        """The next line of a running mz6 (watch)."""
        self.assertTrue(select.select([proc.stdout], [], [], timeout)[0], "no line from mz6 in time")
        return proc.stdout.readline().decode()

    def watching(self, *args, **how):
        """mz6 watch with `args` once it has looked at the ports present, and its line saying so; killed at the end."""
        proc = start("watch", *args, **how)
        self.addCleanup(lambda: (proc.kill(), proc.wait(), proc.stdout.close(), proc.stderr.close()))
        return proc, proc.stderr.readline().decode()

    def new_folder(self):
        """A folder of its own, gone at the end of the test."""
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        return Path(folder.name)

    def profile(self, text):
        """A profile file holding `text`, in a folder of its own."""
        (path := self.new_folder() / "site.profile").write_text(text)
        return str(path)


def in_own_process(test_id):
    """The test in a `python -m unittest` of its own, its output the runner's to keep."""
    def run(_world):
        code = subprocess.run([sys.executable, "-m", "unittest", test_id], cwd=HERE).returncode
        assert code == 0, f"unittest exit status {code}"
    return run


def run_side_by_side(workers=4):
    """Every test in a process of its own, `workers` at a time: they spend their time waiting for readers."""
    def tests(suite):
        for test in suite:
            yield from tests(test) if isinstance(test, unittest.TestSuite) else [test.id()]

    found = tests(unittest.TestLoader().discover(str(HERE), pattern="*_test.py"))
    return runner.run_with_retry([(test_id, in_own_process(test_id), None) for test_id in found], workers,
                                 lambda: None, REPO / "build" / "cli-durations.json")


if __name__ == "__main__":
    if len(sys.argv) == 1:
        sys.exit(run_side_by_side())
    unittest.main(module=None, argv=[sys.argv[0], "discover", "-s", str(HERE), "-p", "*_test.py", *sys.argv[1:]])
