#!/usr/bin/env python3
"""End-to-end suite: the real program under Wine, driven from outside like a user would.

Build first (scripts/build: the win preset, and the tools preset for the GUI driver and the serial
probe), then:

    python3 tests/e2e/run.py                      # every scenario
    python3 tests/e2e/run.py shell_test           # the scenarios of one file
    python3 tests/e2e/run.py test_quit test_lang  # scenarios whose name contains one of the words

Each tests/e2e/scenarios/*_test.py contributes its functions named test_*; each is called with the
one Env of the run. Screenshots go to build/win/e2e-shots.
"""
import importlib.util
import sys
import time
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path[:0] = [str(HERE), str(HERE.parents[1] / "tools")]  # scenarios.*; harness and sim_reader

from harness.env import Env  # noqa: E402


def collect(filters):
    tests = []
    for path in sorted((HERE / "scenarios").glob("*_test.py")):
        module_spec = importlib.util.spec_from_file_location(f"scenarios.{path.stem}", path)
        module = importlib.util.module_from_spec(module_spec)
        module_spec.loader.exec_module(module)
        found = [f for name, f in vars(module).items() if name.startswith("test_") and callable(f)]
        for test in sorted(found, key=lambda f: f.__code__.co_firstlineno):
            name = f"{path.stem}.{test.__name__}"
            if not filters or any(word in name for word in filters):
                tests.append((name, test))
    return tests


def run_one(env, name, test, label):
    """Runs one scenario; True when it passed."""
    began = time.monotonic()
    try:
        test(env)
        print(f"PASS{label} {name} ({time.monotonic() - began:.1f} s)", flush=True)
        return True
    except Exception as error:  # a failing scenario must not stop the others
        reason = " ".join(str(error).split()) or type(error).__name__
        print(f"FAIL{label} {name}: {reason}", flush=True)
        traceback.print_exc(file=sys.stderr)
        return False
    finally:
        env.stop_programs()


def main(filters):
    tests = collect(filters)
    started = time.monotonic()
    env = Env()
    print(f"wine prefix ready in {env.timings['prefix']:.1f} s (display {env.display})", flush=True)
    try:
        failures = [(name, test) for name, test in tests if not run_one(env, name, test, "")]
        # Timing under Wine on a loaded machine can fail a scenario once; a second failure is real.
        # Anything that passes only on the retry is named, so it gets looked at.
        still_failing = [name for name, test in failures if not run_one(env, name, test, " (retry)")]
    finally:
        env.close()
    flaky = len(failures) - len(still_failing)
    print(f"suite took {time.monotonic() - started:.1f} s")
    if flaky:
        print(f"{flaky} scenario(s) passed only on the retry: see the FAIL lines above")
    print(f"{len(tests) - len(still_failing)} passed, {len(still_failing)} failed")
    return 1 if still_failing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
