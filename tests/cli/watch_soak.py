#!/usr/bin/env python3
"""mz6 watch, run by an operator in dialout, over many plug/unplug cycles of readers in the rough world
(system_root.RoughWorld): one record a plug, memory and descriptors flat, and how soon after a port could be opened
its reader was asked.

    python3 tests/cli/watch_soak.py [--cycles 200] [--lanes 2]    # MZ6_ROUGH_SEED=N replays a run
"""
import argparse
import json
import os
import signal
import statistics
import sys
import tempfile
import threading
import time
from pathlib import Path

from run import AS_DIALOUT, SANITIZER_EXIT, Run, start
from system_root import SEED_VARIABLE, RoughWorld

SETTLE_S = 2.0  # how long watch tries a new port that does not open yet


def until(holds, timeout=SETTLE_S + 5):
    deadline = time.monotonic() + timeout
    while not holds() and time.monotonic() < deadline:
        time.sleep(0.005)
    return holds()


def soak(cycles, lanes, seed=None):
    """Plugs `cycles` readers, `lanes` at a time, each unplugged once its record is out (one in ten while it is
    served); returns the figures.
    Fails (AssertionError) on a plug without exactly its one record, or memory or descriptors that grow."""
    with tempfile.TemporaryDirectory() as folder:
        world = RoughWorld(Path(folder), seed)
        print(f"{SEED_VARIABLE}={world.seed}", file=sys.stderr, flush=True)
        world.root.chmod(0o755)
        (profile := world.root / "profile").write_text("model = krx\ninterface = wiegand26\n")
        (log := world.root / "log").touch()
        log.chmod(0o666)
        # Without the sanitizer's quarantine of freed memory, which would grow however flat mz6's own use is.
        env = {"MZ6_SYSTEM_ROOT": folder, "ASAN_OPTIONS": f"exitcode={SANITIZER_EXIT}:quarantine_size_mb=0"}
        # Each reader found both by its tty and by its by-id link, which comes later.
        ports = ["--port", f"{folder}/dev/ttyUSB*", "--port", f"{folder}/dev/serial/by-id/*"]
        proc = start("watch", str(profile), *ports, "--json", "--log", str(log), env=env, prefix=AS_DIALOUT)
        try:
            proc.stderr.readline()  # it has looked
            return _cycles(proc, world, cycles, lanes, log)
        finally:
            proc.kill()
            proc.communicate()
            world.close()


def _cycles(proc, source, cycles, lanes, log):
    records, expected = {}, {}  # USB serial -> its records; -> the result its one record must give
    faults, asked_after, held_up, samples = [], [], [], []  # asked_after: seconds from openable to the first command

    def collect():
        for line in proc.stdout:
            record = json.loads(line)
            records.setdefault(record["usb_serial"], []).append(record)

    def lane(n, world):
        try:
            for cycle in range(n, cycles, lanes):
                serial, name = f"ZK6S{cycle:04}", f"ttyUSB{n}"
                going = cycle % 10 == 5  # pulled out while watch waits for its write's reply
                settings = b"TMX1AO" if going else world.random.choice([b"TMX1AO", b"W261AO"])  # in place, or not
                sim = world.reader(settings=settings, answers=1 if going else None)
                expected[serial] = "unplugged" if going else "ok"
                openable = world.plug(name, sim, serial, node=cycle % 2 == 1)  # a link to the pty, or a node
                # (Its record comes first when the machine held the read's reply up.)
                pulled = going and until(lambda: len(sim.commands) > 1 or serial in records) and len(sim.commands) > 1
                if pulled:
                    world.unplug(name, sim)
                if not until(lambda: serial in records):
                    faults.append(f"no record for {serial}")
                if sim.writes() > 1:
                    faults.append(f"{serial} written {sim.writes()} times")
                if not pulled:
                    world.unplug(name, sim)
                if sim.commands:
                    asked_after.append(sim.commands[0][0] - openable)
                if sim.held_up and records.get(serial, [{}])[0].get("result") in ("unrecognised", "no-answer"):
                    expected[serial] = records[serial][0]["result"]  # a busy machine's doing, not mz6's
                    held_up.append(serial)
                time.sleep(world.random.uniform(0, 0.2))
        except Exception as fault:  # noqa: BLE001 (told with the others)
            faults.append(repr(fault))

    threads = [threading.Thread(target=collect, daemon=True)]
    threads += [threading.Thread(target=lane, args=(n, RoughWorld(source.root, source.random.getrandbits(64))))
                for n in range(lanes)]
    for thread in threads:
        thread.start()
    started = time.monotonic()
    while any(thread.is_alive() for thread in threads[1:]):
        samples.append((len(records), resident_kb(proc.pid), len(os.listdir(f"/proc/{proc.pid}/fd"))))
        time.sleep(0.2)
    elapsed = time.monotonic() - started
    time.sleep(SETTLE_S + 0.5)  # a reader counted twice, or failed after its settle time, shows by now
    proc.send_signal(signal.SIGTERM)
    run = Run(proc, *proc.communicate(timeout=10))
    threads[0].join(5)

    assert not faults, faults
    odd = {serial: [(r["result"], r.get("message")) for r in got] for serial, got in records.items()
           if [r["result"] for r in got] != [expected.get(serial)]}
    assert not odd and len(records) == cycles, f"records other than one a plug, or not as expected: {odd}"
    assert len(log.read_text().splitlines()) == cycles, "the log holds other than one record a plug"
    assert run.code == (1 if held_up else 143), run.err  # 143: ended by SIGTERM, none failed
    # Flat: from the first tenth of the plugs on, no more descriptors at rest (a port being served holds one),
    # and memory within a megabyte of what it was.
    warm = [(kb, fds) for plugs, kb, fds in samples if plugs >= max(2, cycles // 10)]
    assert len(warm) >= 4, "too short a run to tell"
    early, late = warm[:len(warm) // 2], warm[len(warm) // 2:]
    kb, fds = (max(k for k, _ in early), max(k for k, _ in late)), (min(f for _, f in early), min(f for _, f in late))
    assert fds[1] <= fds[0] and kb[1] <= kb[0] + 1024, f"descriptors {fds}, kB resident {kb}"
    return {"seed": source.seed, "cycles": cycles, "lanes": lanes, "seconds": round(elapsed, 1),
            "unplugged while served": list(expected.values()).count("unplugged"),
            "failed, the machine holding a reply up": len(held_up), "kB resident": (warm[0][0], *kb),
            "descriptors at rest": fds, "asked after openable, ms (median, max)":
                (round(statistics.median(asked_after) * 1000), round(max(asked_after) * 1000))}


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cycles", type=int, default=200)
    parser.add_argument("--lanes", type=int, default=2)
    options = parser.parse_args()
    print(soak(options.cycles, options.lanes))
