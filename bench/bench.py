#!/usr/bin/env python3
"""Benchmarks of the program under Wine; scripts/bench builds what they need and runs them.

Timings on a shared machine only mean something next to a baseline measured in the same run, so
each figure is reported with its baseline and their ratio. A baseline is either a measurement of
the same steps by minimal-window.exe (a bare Win32 window, see minimal_window.cpp), started and
driven exactly like the program (the start is also measured for minimal-window-same-dlls.exe, the
same window linked against the system DLLs the program loads at start, and for
minimal-window-same-controls.exe, which also has as many controls as the program's window), or,
where no like-for-like program exists, the nominal sum of the fixed waits the figure contains.
Prints a table and writes the figures as JSON. mz6's rows (mz6_rows.py) run natively, without Wine.
A partial run (--only) puts its rows into the file in place of their earlier figures and keeps the others.

    python3 bench/bench.py [--cycles 200] [--repeats 7] [--idle 30] [--only paint|soak|mz6]
                          [--out bench/results.json]
"""
import argparse
import datetime
import json
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "testkit"))

import mz6_rows  # noqa: E402
from sim_reader import SimReader  # noqa: E402

READ, WRITE = 13, 14
LAMP, RED = (355, 150), 0x000000FF  # the middle of the first lamp, red on a fresh start
PROGRESS_CLASS, MAIN_CLASS, MINIMAL_CLASS = "msctls_progress32", "my Window", "MinimalWindow"
# The boxes that end a good read and write ("Settings read!", "Settings recorded!"; Russian by default).
SUCCESS = {READ: "Настройки считаны!".encode("cp1251"), WRITE: "Настройки записаны!".encode("cp1251")}
SENT = {READ: b"AT+READS_KRX", WRITE: b"AT+TMX1AO"}  # what the reader receives (its settings left as they are)
READER_PORT, MINIMAL_PORT, FIRST_SILENT_PORT = 40, 41, 10  # silent ports come before the reader
SEARCH_WAIT_MS, PORT_TRY_MS = 100 * 10, 100 + 60  # 100 ticks of 10 ms; Sleep 100 ms + 60 ms quiet gap
READ_WAIT_MS = 2 * 500 + 60  # two ticks of 500 ms + the 60 ms quiet gap that ends the reply


def poll(probe, timeout, what):
    """Asks every 10 ms: a timing is then late by 10 ms at most. Asking without a pause keeps
    wineserver so busy that it slowed each port of a search by up to 50 ms."""
    # The Wine harness is imported where it is used: it needs the win build, and mz6's rows run without it.
    from harness.env import wait_until
    return wait_until(probe, timeout, what, interval=0.01)


def since(start):
    return (time.monotonic() - start) * 1000


def proc_fields(pid, name):
    return Path(f"/proc/{pid}/{name}").read_text()


def cpu_ms(pid):
    """User + system time of the whole process (all its threads) so far."""
    fields = proc_fields(pid, "stat").rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000 / os.sysconf("SC_CLK_TCK")


def peak_rss_mb(pid):
    line = next(line for line in proc_fields(pid, "status").splitlines() if line.startswith("VmHWM:"))
    return int(line.split()[1]) / 1024


def open_fds(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


def machine_busy():
    """(busy, total) jiffies of all CPUs, to tell how loaded the machine was during the run."""
    values = [int(v) for v in Path("/proc/stat").read_text().split("\n", 1)[0].split()[1:]]
    idle = values[3] + values[4]
    return sum(values) - idle, sum(values)


class Figures:
    def __init__(self):
        self.figures = []

    def add(self, name, unit, samples, baseline_samples=None, nominal=None, note=""):
        """One figure: the median of its samples next to the median of the baseline's samples, or
        next to the nominal value when there is no baseline program."""
        value = statistics.median(samples)
        baseline = statistics.median(baseline_samples) if baseline_samples else nominal
        figure = {"name": name, "unit": unit, "value": round(value, 1), "baseline": round(baseline, 1),
                  "baseline_is": "nominal" if baseline_samples is None else "measured",
                  "ratio": round(value / baseline, 3) if baseline else None,
                  "samples": [round(s, 1) for s in samples]}
        if baseline_samples:
            figure["baseline_samples"] = [round(s, 1) for s in baseline_samples]
        if note:
            figure["note"] = note
        self.figures.append(figure)
        print(f"  {name}: {figure['value']} {unit} vs {figure['baseline']} ({figure['baseline_is']})", flush=True)


class Bench(Figures):
    """The rows of the program under Wine."""

    def __init__(self, env, repeats):
        super().__init__()
        self.env, self.repeats = env, repeats
        self.minimal_exe = env.tools_dir / "minimal-window.exe"
        self.minimal_same_dlls_exe = env.tools_dir / "minimal-window-same-dlls.exe"
        self.minimal_same_controls_exe = env.tools_dir / "minimal-window-same-controls.exe"

    @property
    def driver(self):
        return self.env.driver

    # ---- helpers -------------------------------------------------------------------------------

    def start(self, exe, *args):
        return self.env.popen([exe, *args], cwd=self.env.new_workdir(Path(exe).stem))

    def stop(self, proc, main_class):
        proc.kill()
        proc.wait()
        # The next start must not meet the old window (the program would hand over to it).
        poll(lambda: not self.driver.windows(cls=main_class), 10, "the old window to go")

    def window_of(self, main_class):
        return poll(lambda: self.driver.windows(cls=main_class), 20, main_class)[0]["hwnd"]

    def close_box(self, hwnd, box):
        """Presses OK and waits until the window takes commands again."""
        self.driver.press_ok(box)
        poll(lambda: not self.driver.boxes(hwnd) and self.driver.info(hwnd)["enabled"], 10, "the window to be free")

    def operation(self, hwnd, command, expected_text=None):
        """Ms from posting the command to the message box it ends in; the box is then closed."""
        start = time.monotonic()
        self.driver.command(hwnd, command)
        box = poll(lambda: self.driver.boxes(hwnd), 10, f"the box after command {command}")[0]
        ms = since(start)
        if expected_text is not None and box["text"] != expected_text:
            raise AssertionError(f"command {command} ended in {box['text'].decode('cp1251')!r}")
        self.close_box(hwnd, box)
        return ms

    # ---- the figures ---------------------------------------------------------------------------

    def start_to_paint(self):
        """Start until the lamp is painted red, for the program and the three baselines taking turns;
        also the peak working set at that moment, against the baseline with the same controls."""
        def one(exe, main_class, memory=None):
            start = time.monotonic()
            proc = self.start(exe)
            poll(lambda: any(self.driver.pixel(w["hwnd"], *LAMP) == RED for w in self.driver.windows(cls=main_class)),
                 30, f"a red lamp in {main_class}")
            ms = since(start)
            if memory is not None:
                memory.append(peak_rss_mb(proc.pid))
            self.stop(proc, main_class)
            return ms

        program, minimal, same_dlls, same_controls = [], [], [], []
        program_mb, same_controls_mb = [], []
        for _ in range(2 * self.repeats + 1):  # a start is short and its time varies by tens of ms
            program.append(one(self.env.exe, MAIN_CLASS, program_mb))
            minimal.append(one(self.minimal_exe, MINIMAL_CLASS))
            same_dlls.append(one(self.minimal_same_dlls_exe, MINIMAL_CLASS))
            same_controls.append(one(self.minimal_same_controls_exe, MINIMAL_CLASS, same_controls_mb))
        same_samples = "; the program's samples are those of the first row"
        self.add("start to main window painted", "ms", program, minimal)
        self.add("start to main window painted, vs the same DLLs", "ms", program, same_dlls,
                 note="baseline: the bare window linked against the system DLLs the program loads at start "
                      "(minimal-window-same-dlls.exe)" + same_samples)
        self.add("start to main window painted, vs the same controls", "ms", program, same_controls,
                 note="baseline: that window with as many controls of each class and a menu bar "
                      "(minimal-window-same-controls.exe)" + same_samples)
        self.add("peak working set at the first paint", "MB", program_mb, same_controls_mb,
                 note="baseline: minimal-window-same-controls.exe at its first paint")

    def connected_program(self, cycles, idle_seconds):
        """One program connected to a reader and one bare window with a silent port, side by side:
        READ timings, idle CPU (left out for idle_seconds 0), the soak, peak memory after it."""
        env = self.env
        with SimReader(model=0) as reader, SimReader(model=0) as silent:
            silent.set_mode("silent")
            env.add_com_port(READER_PORT, reader.slave_path)
            (env.prefix / "dosdevices" / f"com{MINIMAL_PORT}").symlink_to(silent.slave_path)  # not listed: unseen by searches
            app = env.start_app(env.new_workdir("connected"))
            found = app.finish_startup_search()
            assert len(found) == 2 and found[0]["text"] == SUCCESS[READ], found
            minimal_proc = self.start(self.minimal_exe, f"COM{MINIMAL_PORT}")
            minimal = self.window_of(MINIMAL_CLASS)

            reads, waits = [], []
            for _ in range(self.repeats):
                reads.append(self.operation(app.hwnd, READ, SUCCESS[READ]))
                waits.append(self.operation(minimal, READ))
            self.add("READ to \"Settings read!\" shown", "ms", reads, waits,
                     note=f"baseline: the same waits (2 x 500 ms timer, 60 ms read time-out) run by the bare "
                          f"window; nominal {READ_WAIT_MS} ms")

            pids = (app.proc.pid, minimal_proc.pid)
            if idle_seconds:  # both idle at once, so both see the same machine
                before = [cpu_ms(pid) for pid in pids]
                time.sleep(idle_seconds)
                used = [cpu_ms(pid) - was for pid, was in zip(pids, before)]
                self.add(f"CPU time idle for {idle_seconds} s", "ms", [used[0]], [used[1]])

            self.soak(app, reader, cycles)
            self.add("peak working set (VmHWM)", "MB", [peak_rss_mb(pids[0])], [peak_rss_mb(pids[1])],
                     note="after the operations above; the bare window after its waits and idle time")
            app.kill()
            self.stop(minimal_proc, MINIMAL_CLASS)
            env.remove_com_port(READER_PORT)

    def soak(self, app, reader, cycles):
        """READ and WRITE taking turns `cycles` times: their times, and nothing piling up in the process.
        Then a reply the program cannot read ends the connection, and the port must be let go."""
        fds_before = open_fds(app.proc.pid)
        reader.clear()
        times = {READ: [], WRITE: []}
        for cycle in range(cycles):
            command = (READ, WRITE)[cycle % 2]
            times[command].append(self.operation(app.hwnd, command, SUCCESS[command]))
        fds_after = open_fds(app.proc.pid)
        assert reader.received_bytes() == b"".join(SENT[(READ, WRITE)[c % 2]] for c in range(cycles))
        for command, name in ((READ, "READ"), (WRITE, "WRITE")):
            self.add(f"{name} during {cycles} READ/WRITE", "ms", times[command], nominal=READ_WAIT_MS,
                     note=f"nominal: the same fixed waits as READ, {READ_WAIT_MS} ms")
        self.add(f"open descriptors after {cycles} READ/WRITE", "fds", [fds_after], [fds_before],
                 note="baseline: the same process before the operations")
        reader.set_mode("garbage")
        app.command(READ)
        app.finish_startup_search()  # "could not recognise", then "no response": the connection is over
        poll(lambda: not self.env.holders(reader.slave_path), 2, "the reader's port to be let go")

    def search(self, silent_counts):
        """Start until the reader's reply is shown, with silent ports tried before it."""
        env = self.env
        reader, silent = SimReader(model=0), []
        try:
            env.add_com_port(READER_PORT, reader.slave_path)
            for count in silent_counts:
                while len(silent) < count:
                    silent.append(SimReader(model=0))
                    silent[-1].set_mode("silent")
                    env.add_com_port(FIRST_SILENT_PORT + len(silent) - 1, silent[-1].slave_path)
                samples = []
                for _ in range(self.repeats):
                    proc = self.start(env.exe)
                    # The progress window comes up as timer 1 starts; its owner is the main window.
                    progress = poll(lambda: self.driver.windows(cls=PROGRESS_CLASS), 20, "the search")[0]
                    start = time.monotonic()
                    box = poll(lambda: self.driver.boxes(progress["owner"]), 30, "the reader's reply")[0]
                    samples.append(since(start))
                    assert box["text"] == SUCCESS[READ], box["text"].decode("cp1251")
                    self.stop(proc, MAIN_CLASS)
                self.add(f"search with {count} silent ports first", "ms", samples,
                         nominal=SEARCH_WAIT_MS + (count + 1) * PORT_TRY_MS,
                         note="from the progress window to \"Settings read!\" of the reader's port (the "
                              "\"reader found\" box follows when it is closed); nominal: 100 x 10 ms + "
                              "(silent ports + 1) x (100 ms + 60 ms)")
        finally:
            for sim in [reader, *silent]:
                sim.close()

    def sizes(self):
        size = self.env.exe.stat().st_size / 1024
        self.add("exe size", "KiB", [size], [self.minimal_exe.stat().st_size / 1024])


def unlist_wine_ports(env):
    """Wine lists a COM1 of its own; without it a search sees only the ports set up here."""
    from harness.env import SERIALCOMM_KEY
    listing = env.run(["reg", "query", SERIALCOMM_KEY]).stdout.decode(errors="replace")
    for line in listing.splitlines():
        value = line.strip().split("    ")  # name, type, data
        if len(value) == 3 and value[1] == "REG_SZ":
            env.run(["reg", "delete", SERIALCOMM_KEY, "/v", value[0], "/f"])


def print_table(figures, run):
    rows = [("figure", "value", "baseline", "ratio")]
    for f in figures:
        ratio = "-" if f["ratio"] is None else f"{f['ratio']:.2f}"
        rows.append((f["name"], f"{f['value']:g} {f['unit']}", f"{f['baseline']:g} ({f['baseline_is']})", ratio))
    widths = [max(len(row[i]) for row in rows) for i in range(4)]
    for row in rows:
        print("  ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())
    m = run["machine"]
    print(f"\n{m['cpus']} CPUs, load average {m['load_at_start']} at start, {m['load_at_end']} at end, "
          f"CPUs {m['busy_percent']} % busy during the run; {run['run_seconds']} s")


def merged(path, results):
    """The figures in `path` with those of a partial run in place of their earlier values (new ones at the
    end); the partial run's date, options and machine go under "partial_runs", by the name of its --only."""
    if not path.exists():
        return results
    kept = json.loads(path.read_text())
    new = {f["name"]: f for f in results["figures"]}
    kept["figures"] = [new.pop(f["name"], f) for f in kept["figures"]] + list(new.values())
    kept.setdefault("partial_runs", {})[results["options"]["only"]] = {
        key: value for key, value in results.items() if key != "figures"}
    return kept


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cycles", type=int, default=200, help="READ/WRITE operations for the descriptor count")
    parser.add_argument("--repeats", type=int, default=7,
                        help="samples per timing, twice as many plus one for a start or an mz6 run (the median "
                             "is reported)")
    parser.add_argument("--idle", type=int, default=30, help="seconds of idle time for the CPU figure")
    parser.add_argument("--only", choices=["paint", "soak", "mz6"],
                        help="run only the start-to-paint rows, or only the connected program's rows without "
                             "the idle time (READ, the READ/WRITE soak, memory), or only mz6's rows (no Wine)")
    parser.add_argument("--out", type=Path, default=REPO / "bench" / "results.json")
    options = parser.parse_args()

    started, load_at_start, busy_at_start = time.monotonic(), os.getloadavg(), machine_busy()
    wine = None
    if options.only == "mz6":
        figures = Figures()
    else:
        from harness.env import Env
        env = Env()
        try:
            unlist_wine_ports(env)
            figures = Bench(env, options.repeats)
            if options.only != "soak":
                figures.start_to_paint()
            if options.only != "paint":
                figures.connected_program(options.cycles, options.idle if options.only is None else 0)
            if options.only is None:
                figures.search((0, 5, 20))
                figures.sizes()
        finally:
            env.close()
        wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    if options.only in (None, "mz6"):
        mz6_rows.measure(figures, 2 * options.repeats + 1)  # a run of mz6 is short, like a start
    busy, total = (end - begin for end, begin in zip(machine_busy(), busy_at_start))
    machine = {"cpus": os.cpu_count(), "load_at_start": [round(v, 2) for v in load_at_start],
               "load_at_end": [round(v, 2) for v in os.getloadavg()], "busy_percent": round(100 * busy / total, 1)}
    if wine is not None:
        machine["wine"] = wine
    results = {
        "date": datetime.datetime.now(datetime.timezone.utc).isoformat(timespec="seconds"),
        "options": {"cycles": options.cycles, "repeats": options.repeats, "idle_seconds": options.idle,
                    "only": options.only},
        "machine": machine,
        "run_seconds": round(time.monotonic() - started),
        "figures": figures.figures,
    }
    options.out.parent.mkdir(parents=True, exist_ok=True)
    written = results if options.only is None else merged(options.out, results)
    options.out.write_text(json.dumps(written, indent=2) + "\n")
    print()
    print_table(written["figures"], results)


if __name__ == "__main__":
    main()
