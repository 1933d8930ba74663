#!/usr/bin/env python3
"""End-to-end suite: the real program under Wine, driven from outside like a user would.

Build first (cmake --preset win && cmake --build --preset win), then:

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
sys.path.insert(0, str(HERE))

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


def main(filters):
    tests = collect(filters)
    started = time.monotonic()
    env = Env()
    print(f"wine prefix ready in {env.timings['prefix']:.1f} s (display {env.display})", flush=True)
    passed = failed = 0
    try:
        for name, test in tests:
            began = time.monotonic()
            try:
                test(env)
                passed += 1
                print(f"PASS {name} ({time.monotonic() - began:.1f} s)", flush=True)
            except Exception as error:  # a failing scenario must not stop the others
                failed += 1
                reason = " ".join(str(error).split()) or type(error).__name__
                print(f"FAIL {name}: {reason}", flush=True)
                traceback.print_exc(file=sys.stderr)
            finally:
                env.stop_programs()
    finally:
        env.close()
    print(f"suite took {time.monotonic() - started:.1f} s")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
