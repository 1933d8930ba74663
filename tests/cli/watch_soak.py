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
from run import Run, start


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


def soak(cycles, lanes, seed):
    """Plugs `cycles` readers, `lanes` at a time, each unplugged once its record is out; returns the figures.
    Fails (AssertionError, with the seed) on a plug without exactly one record, or memory or descriptors that grow."""
    with tempfile.TemporaryDirectory() as folder:
        root = Path(folder)
        root.chmod(0o755)
        (profile := root / "profile").write_text("model = krx\ninterface = wiegand26\n")
        (log := root / "log").touch()
        log.chmod(0o666)
        proc = start("watch", str(profile), "--json", "--log", str(log), env={"MZ6_SYSTEM_ROOT": folder},
                     prefix=AS_DIALOUT)
        try:
            proc.stderr.readline()  # it has looked
            return _cycles(proc, root, cycles, lanes, seed, log)
        finally:
            proc.kill()
            proc.communicate()


def _cycles(proc, root, cycles, lanes, seed, log):
    records, news = {}, threading.Condition()  # USB serial -> its records

    def collect():
        for line in proc.stdout:
            record = json.loads(line)
            with news:
                records.setdefault(record["usb_serial"], []).append(record)
                news.notify_all()

    source = random.Random(seed)
    worlds = [RoughWorld(root, source.getrandbits(64)) for _ in range(lanes)]
    asked_after, missing, done = [], [], []  # seconds from openable to the first command; plugs without a record

    def lane(n, world):
        for cycle in range(n, cycles, lanes):
            serial, name = f"ZK6S{cycle:04}", f"ttyUSB{n}"
            sim = world.reader(settings=world.random.choice([b"TMX1AO", b"W261AO"]))  # to change, or in place
            openable = world.plug(name, sim, idVendor="0403", idProduct="6001", serial=serial)
            with news:
                if not news.wait_for(lambda: serial in records, SETTLE_S + 5):
                    missing.append(serial)
            if sim.commands:
                asked_after.append(sim.commands[0][0] - openable)
            world.unplug(name, sim)
            done.append(cycle)
            time.sleep(world.random.uniform(0, 0.2))

    threads = [threading.Thread(target=collect, daemon=True)]
    threads += [threading.Thread(target=lane, args=(n, world)) for n, world in enumerate(worlds)]
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

    check(not missing, f"no record for {missing}")
    odd = {serial: [r["result"] for r in got] for serial, got in records.items() if len(got) != 1 or
           got[0]["result"] != "ok"}
    check(not odd and len(records) == cycles, f"records other than one 'ok' a plug: {odd}")
    check(len(log.read_text().splitlines()) == cycles, "the log holds other than one record a plug")
    check(run.code == 143, f"watch ended {run.code}: {run.err}")
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
            "kB": (warm[0][0], kb_early, kb_late), "descriptors": (fds_early, fds_late),
            "asked after openable, ms": (round(statistics.median(asked_after) * 1000),
                                         round(max(asked_after) * 1000))}


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cycles", type=int, default=200)
    parser.add_argument("--lanes", type=int, default=2)
    options = parser.parse_args()
    seed = chosen_seed()
    print(f"{SEED_VARIABLE}={seed}", file=sys.stderr)
    print(soak(options.cycles, options.lanes, seed))
