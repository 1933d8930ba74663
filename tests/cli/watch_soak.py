#!/usr/bin/env python3
"""mz6 watch over many plug/unplug cycles in the rough world, run by the operator (a user in dialout): one
record a plug, memory and descriptors flat, and how soon after a port could be opened its reader was asked.

    python3 tests/cli/watch_soak.py [--cycles 200] [--lanes 2]    # MZ6_ROUGH_SEED=N replays a run
"""
import argparse
import json
import os
import random
import signal
import statistics
import sys
import tempfile
import threading
import time
from pathlib import Path

from rough_world import AS_DIALOUT, SEED_VARIABLE, SETTLE_S, RoughWorld, chosen_seed
from run import SANITIZER_EXIT, Run, start


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


def until(holds, timeout=SETTLE_S + 5):
    deadline = time.monotonic() + timeout
    while not holds():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.005)
    return True


def soak(cycles, lanes, seed):
    """Plugs `cycles` readers, `lanes` at a time, each unplugged once its record is out; returns the figures.
    Fails (AssertionError, with the seed) on a plug without exactly one record, or memory or descriptors that grow."""
    with tempfile.TemporaryDirectory() as folder:
        root = Path(folder)
        root.chmod(0o755)
        (profile := root / "profile").write_text("model = krx\ninterface = wiegand26\n")
        (log := root / "log").touch()
        log.chmod(0o666)
        # Without the sanitizer's quarantine of freed memory, which would grow however flat mz6's own use is.
        env = {"MZ6_SYSTEM_ROOT": folder, "ASAN_OPTIONS": f"exitcode={SANITIZER_EXIT}:quarantine_size_mb=0"}
        proc = start("watch", str(profile), "--json", "--log", str(log), env=env, prefix=AS_DIALOUT)
        try:
            proc.stderr.readline()  # it has looked
            return _cycles(proc, root, cycles, lanes, seed, log)
        finally:
            proc.kill()
            proc.communicate()


def _cycles(proc, root, cycles, lanes, seed, log):
    records = {}  # USB serial -> its records

    def collect():
        for line in proc.stdout:
            record = json.loads(line)
            records.setdefault(record["usb_serial"], []).append(record)

    source = random.Random(seed)
    worlds = [RoughWorld(root, source.getrandbits(64)) for _ in range(lanes)]
    asked_after, faults, done = [], [], []  # seconds from openable to the first command; what went wrong
    expected = {}  # USB serial -> the result its one record must give
    held_up = []  # plugs whose reply the machine held up (sim_reader.held_up), ending in a failure

    def lane(n, world):
        for cycle in range(n, cycles, lanes):
            serial, name = f"ZK6S{cycle:04}", f"ttyUSB{n}"
            # One in ten is pulled out while watch waits for its write's reply; the others to change, or in place.
            going = world.random.random() < 0.1
            settings = b"TMX1AO" if going else world.random.choice([b"TMX1AO", b"W261AO"])
            sim = world.reader(settings=settings, answers=1 if going else None)
            expected[serial] = "unplugged" if going else "ok"
            openable = world.plug(name, sim, serial)
            # (Its record comes first when the machine held the read's reply up.)
            pulled = going and until(lambda: len(sim.commands) > 1 or serial in records) and len(sim.commands) > 1
            if pulled:
                world.unplug(name, sim)
            if not until(lambda: serial in records):
                faults.append(f"no record for {serial}")
            if sim.commands:
                asked_after.append(sim.commands[0][0] - openable)
            if not pulled:
                world.unplug(name, sim)
            if sim.held_up and records.get(serial, [{}])[0].get("result") in ("unrecognised", "no-answer"):
                expected[serial] = records[serial][0]["result"]  # the machine's doing, not the reader's
                held_up.append(serial)
            done.append(cycle)
            time.sleep(world.random.uniform(0, 0.2))

    def run_lane(n, world):
        try:
            lane(n, world)
        except Exception as fault:  # noqa: BLE001 (told with the others)
            faults.append(repr(fault))

    threads = [threading.Thread(target=collect, daemon=True)]
    threads += [threading.Thread(target=run_lane, args=(n, world)) for n, world in enumerate(worlds)]
    for thread in threads:
        thread.start()
    samples = []  # (plugs done, kB resident, descriptors open)
    started = time.monotonic()
    while any(thread.is_alive() for thread in threads[1:]):
        samples.append((len(done), resident_kb(proc.pid), len(os.listdir(f"/proc/{proc.pid}/fd"))))
        time.sleep(0.2)
    elapsed = time.monotonic() - started
    time.sleep(SETTLE_S + 0.5)  # a reader counted twice, or failed after its settle time, shows by now
    proc.send_signal(signal.SIGTERM)
    run = Run(proc, *proc.communicate(timeout=10))
    threads[0].join(5)

    def check(holds, what):
        assert holds, f"{SEED_VARIABLE}={seed}: {what}"

    check(not faults, "; ".join(faults))
    odd = {serial: got for serial, got in records.items() if [r["result"] for r in got] != [expected.get(serial)]}
    check(not odd and len(records) == cycles, f"records other than one a plug, or not as expected: {odd}")
    check(len(log.read_text().splitlines()) == cycles, "the log holds other than one record a plug")
    check(run.code == (1 if held_up else 143), f"watch ended {run.code}: {run.err}")  # 143: SIGTERM, none failed
    # Flat: from the first tenth on, no more descriptors at rest (a port held while served counts one), and
    # memory within its first readings.
    warm = [(kb, fds) for plugs, kb, fds in samples if plugs >= max(2, cycles // 10)]
    check(len(warm) >= 4, "too short a run to tell")
    half = len(warm) // 2
    kb_early, kb_late = max(kb for kb, _ in warm[:half]), max(kb for kb, _ in warm[half:])
    fds_early, fds_late = min(fds for _, fds in warm[:half]), min(fds for _, fds in warm[half:])
    check(fds_late <= fds_early, f"descriptors grew from {fds_early} to {fds_late}")
    check(kb_late <= kb_early + 1024, f"memory grew from {kb_early} kB to {kb_late} kB")
    return {"seed": seed, "cycles": cycles, "lanes": lanes, "seconds": round(elapsed, 1),
            "unplugged while served": sum(result == "unplugged" for result in expected.values()),
            "failed, held up by the machine": len(held_up),
            "kB": (warm[0][0], kb_early, kb_late), "descriptors": (fds_early, fds_late),
            "asked after openable, ms": (round(statistics.median(asked_after) * 1000),
                                         round(max(asked_after) * 1000))}


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cycles", type=int, default=200)
    parser.add_argument("--lanes", type=int, default=2)
    options = parser.parse_args()
    seed = chosen_seed()
    print(f"{SEED_VARIABLE}={seed}", file=sys.stderr, flush=True)
    print(soak(options.cycles, options.lanes, seed))
