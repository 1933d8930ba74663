"""The end-to-end scenarios, run side by side (testkit/runner.py). A scenario is a test_* function of a
*_test.py file of a folder, so a new file needs no change here; each worker has a Wine world of its own (Env: a
private prefix, wineserver and X display), and its scenarios make their own simulated readers. A file that sets
NEEDS_GUIDE holds scenarios that install the guide: they start once it has been built."""
import functools
import importlib.util
import os
from pathlib import Path

import runner

from .env import LOCALE, REPO, WESTERN_LOCALE, Env, ensure_locale

# Most of a scenario's time is spent waiting on the program's timers, not on the CPU: three at a time keep
# two cores busy without slowing any one of them much.
DEFAULT_WORKERS = 3


def guide_built(status_file):
    """Whether scripts/test's help stage has built the guide: False while it runs; raises when it did not pass."""
    if not status_file.exists():
        return False
    status = status_file.read_text().strip()
    if not status.startswith(("passed", "not run")):  # not run: not chosen, so taken as built
        raise RuntimeError(f"the guide was not built (help: {status})")
    return True


def collect(folder, filters, guide_status=None):
    """[(file.function, function(env), may_start)] of the scenarios in file and line order, those whose name holds
    a filter. With guide_status, those that install the guide start once it is built."""
    found = []
    for path in sorted(Path(folder).glob("*_test.py")):
        module_spec = importlib.util.spec_from_file_location(f"scenarios.{path.stem}", path)
        module = importlib.util.module_from_spec(module_spec)
        module_spec.loader.exec_module(module)
        tests = [f for name, f in vars(module).items() if name.startswith("test_") and callable(f)]
        may_start = None
        if guide_status is not None and getattr(module, "NEEDS_GUIDE", False):
            may_start = functools.partial(guide_built, guide_status)
        for test in sorted(tests, key=lambda f: f.__code__.co_firstlineno):
            name = f"{path.stem}.{test.__name__}"
            if not filters or any(word in name for word in filters):
                found.append((name, functools.partial(scenario, test), may_start))
    return found


def scenario(test, env):
    try:
        test(env)
    finally:
        env.stop_programs()


def main(folder, argv):
    """`[--jobs N] [--guide-status FILE] [WORD...]`: the scenarios whose file.function name holds a word (all
    without one); with FILE (scripts/test's status of its help stage), those that install the guide wait for it.
    `--prefix-template`: only the Wine prefix that every worker copies, made while the programs build."""
    if argv == ["--prefix-template"]:
        Env(programs=False).close()
        return 0
    workers = int(os.environ.get("MZ6_E2E_JOBS", DEFAULT_WORKERS))
    guide_status = None
    while argv[:1] in (["--jobs"], ["--guide-status"]) and len(argv) > 1:
        if argv[0] == "--jobs":
            workers = int(argv[1])
        else:
            guide_status = Path(argv[1]).resolve()
        argv = argv[2:]
    for locale in (LOCALE, WESTERN_LOCALE):  # made once here, not by the workers at the same time
        ensure_locale(locale)
    tests = collect(folder, argv, guide_status)
    if not tests:
        print(f"no scenario's name holds {' or '.join(argv)}")
        return 1
    return runner.run_with_retry(tests, workers, Env, REPO / "build" / "e2e-durations.json")
