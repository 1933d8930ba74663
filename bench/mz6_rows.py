"""mz6's rows of the bench (bench.py): the Release build (build/linux/mz6) run natively on Linux against
simulated readers on ptys that keep to the line rate, 19200 baud at 10 bits a byte."""
import os
import re
import select
import subprocess
import tempfile
import time
from pathlib import Path

from sim_reader import SimReader
from system_root import usb_reader_root

REPO = Path(__file__).resolve().parents[1]
MZ6 = REPO / "build" / "linux" / "mz6"
FUZZERS = REPO / "build" / "fuzz" / "tests" / "fuzz"  # scripts/fuzz builds them
BAUD = 19200
BYTE_MS = 10 * 1000 / BAUD
GAP_MS = 60  # the quiet spell that ends a reply
READ_COMMAND, READ_REPLY = b"AT+READS_KRX", b" - OK! >> 1.00TMX1AO"
USB_REPLY = b" - OK! >> 1.00WHDH5EM"
FUZZ_SECONDS = 5
FLEET = 20


def run_ms(*args, env=None):
    """Wall time of one run of mz6, from starting the process to its end; it must succeed."""
    start = time.monotonic()
    subprocess.run([str(MZ6), *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                   env={**os.environ, **(env or {})})
    return (time.monotonic() - start) * 1000


def paced_reader(model=0):
    """A reader that hears a command once its bytes would have crossed the line (a pty passes them at once)
    and sends its reply at the line rate."""
    return SimReader(model=model, baud=BAUD, delay_ms=len(READ_COMMAND) * BYTE_MS)


def executions_per_second(fuzzer):
    """libFuzzer's own count for FUZZ_SECONDS of `fuzzer` on its seeds (none: the fuzzers are not built)."""
    if not (FUZZERS / fuzzer).exists():
        return None
    with tempfile.TemporaryDirectory() as corpus:
        name = fuzzer.removesuffix("_fuzz")
        run = subprocess.run([str(FUZZERS / fuzzer), f"-max_total_time={FUZZ_SECONDS}", "-max_len=128",
                              "-print_final_stats=1", corpus, str(REPO / "tests" / "fuzz" / "corpus" / name)],
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    return float(re.search(r"stat::average_exec_per_sec:\s*(\d+)", run.stderr).group(1))


def measure(figures, samples):
    """Adds the rows to `figures` (bench.Figures), each the median of `samples` runs taking turns with its
    baseline's."""
    readers = [paced_reader() for _ in range(FLEET)]
    usb = paced_reader(model=1)
    try:
        port = readers[0].slave_path
        starts, reads = [], []
        for _ in range(samples):
            starts.append(run_ms("--help"))
            reads.append(run_ms("read", "--port", port))
        wire_ms = (len(READ_COMMAND) + len(READ_REPLY)) * BYTE_MS
        figures.add("mz6 read, start to end", "ms", reads, [ms + wire_ms + GAP_MS for ms in starts],
                    note=f"baseline: its floor, the start of the same binary (mz6 --help, measured) + "
                         f"{len(READ_COMMAND)} + {len(READ_REPLY)} bytes at {BAUD} baud ({wire_ms:.1f} ms) + the "
                         f"{GAP_MS} ms gap that ends the reply; goal: at most 1.3")

        with tempfile.TemporaryDirectory() as root:
            env = usb_reader_root(usb.slave_path, root)
            starts, reads = [], []
            for _ in range(samples):
                starts.append(run_ms("--help"))
                reads.append(run_ms("read", "--port", usb.slave_path, env=env))
        wire_ms = (len(READ_COMMAND) + len(USB_REPLY)) * BYTE_MS
        figures.add("mz6 read of the USB reader without --model", "ms", reads,
                    [ms + wire_ms + GAP_MS for ms in starts],
                    note=f"on a port with the USB reader's identifiers (a stand-in /sys, MZ6_SYSTEM_ROOT); baseline: "
                         f"its floor, the start of mz6 (--help, measured) + {len(READ_COMMAND)} + {len(USB_REPLY)} "
                         f"bytes at {BAUD} baud ({wire_ms:.1f} ms) + the {GAP_MS} ms gap; goal: at most 1.3")

        command_line, profile = executions_per_second("command_line_fuzz"), executions_per_second("profile_fuzz")
        if command_line is not None:
            figures.add("mz6 command-line fuzzer", "exec/s", [command_line], [profile],
                        note=f"command_line_fuzz (arguments and profile) for {FUZZ_SECONDS} s from its seeds, "
                             f"sanitizers on; baseline: the profile parser's fuzzer alone, the same way")

        ports = [arg for reader in readers for arg in ("--port", reader.slave_path)]
        with tempfile.TemporaryDirectory() as folder:
            profile = Path(folder) / "site.profile"
            profile.write_text("model = krx\ninterface = wiegand26\nstandby = static\n")
            one, fleet = [], []
            for _ in range(samples):  # --force: each reader is written, as a fleet that needs it would be
                one.append(run_ms("apply", str(profile), "--force", *ports[:2]))
                fleet.append(run_ms("apply", str(profile), "--force", *ports))
            figures.add(f"mz6 apply onto {FLEET} readers", "ms", fleet, one,
                        note="baseline: mz6 apply of the same profile onto one of them (read, write, read back), "
                             "both with --force; goal: at most 1.5")
            # The readers now hold the profile: apply reads each and writes none.
            held, one_held, one_read = [], [], []
            for _ in range(samples):
                held.append(run_ms("apply", str(profile), *ports))
                one_held.append(run_ms("apply", str(profile), *ports[:2]))
                one_read.append(run_ms("read", "--port", port))
            figures.add(f"mz6 apply of an unchanged profile onto {FLEET} readers", "ms", held, one_read,
                        note="baseline: mz6 read of one of them, taking turns; no write goes out, so no write's "
                             "wait is spent; goal: at most 1.2")
            watch_row(figures, samples, Path(folder), profile, readers[0], one_held)
    finally:
        for reader in readers + [usb]:
            reader.close()


def watch_row(figures, samples, folder, profile, reader, apply_ms):
    """mz6 watch: from a link to a reader appearing under the watched pattern to its line on standard output."""
    proc = subprocess.Popen([str(MZ6), "watch", str(profile), "--port", f"{folder}/plugged-*"], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE)
    try:
        proc.stderr.readline()  # it has looked at the ports present
        seen = []
        for n in range(samples):
            link = folder / f"plugged-{n}"
            start = time.monotonic()
            link.symlink_to(reader.slave_path)
            if not select.select([proc.stdout], [], [], 10)[0]:
                raise RuntimeError("mz6 watch printed no line")
            proc.stdout.readline()
            seen.append((time.monotonic() - start) * 1000)
            os.unlink(link)
            time.sleep(0.3)  # gone before the next one comes
        figures.add("mz6 watch, a port appearing to its line printed", "ms", seen,
                    [ms + 500 for ms in apply_ms],
                    note="baseline: mz6 apply of the same profile onto one reader (measured above) + 0.5 s; "
                         "goal: at most 1.0")
    finally:
        proc.kill()
        proc.communicate()
