"""mz6's rows of the bench (bench.py): the Release build (build/linux/mz6) run natively on Linux against
simulated readers on ptys that keep to the line rate, 19200 baud at 10 bits a byte."""
import os
import select
import subprocess
import tempfile
import time
from pathlib import Path

from sim_reader import SimReader

MZ6 = Path(__file__).resolve().parents[1] / "build" / "linux" / "mz6"
BAUD = 19200
BYTE_MS = 10 * 1000 / BAUD
GAP_MS = 60  # the quiet spell that ends a reply
READ_COMMAND, READ_REPLY = b"AT+READS_KRX", b" - OK! >> 1.00TMX1AO"
FLEET = 20


def run_ms(*args):
    """Wall time of one run of mz6, from starting the process to its end; it must succeed."""
    start = time.monotonic()
    subprocess.run([str(MZ6), *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return (time.monotonic() - start) * 1000


def paced_reader():
    """A serial-output reader that hears a command once its bytes would have crossed the line (a pty passes
    them at once) and sends its reply at the line rate."""
    return SimReader(model=0, baud=BAUD, delay_ms=len(READ_COMMAND) * BYTE_MS)


def measure(figures, samples):
    """Adds the rows to `figures` (bench.Figures), each the median of `samples` runs taking turns with its
    baseline's."""
    readers = [paced_reader() for _ in range(FLEET)]
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
            held, one_held = [], []
            for _ in range(samples):
                held.append(run_ms("apply", str(profile), *ports))
                one_held.append(run_ms("apply", str(profile), *ports[:2]))
            figures.add(f"mz6 apply of an unchanged profile onto {FLEET} readers", "ms", held, reads,
                        note="baseline: mz6 read of one reader (measured above); no write goes out, so no write's "
                             "wait is spent; goal: at most 1.2")
            watch_row(figures, samples, Path(folder), profile, readers[0], one_held)
    finally:
        for reader in readers:
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
