"""Runs end-to-end scenarios side by side. A scenario is a test_* function of a *_test.py file of a folder, so a
new file needs no change here. Each worker is a process with a Wine world of its own (Env: a private prefix,
wineserver and X display; its scenarios make their own simulated readers), and takes the next scenario when it is
free, the longest of the last run first. A scenario's output is kept apart and shown whole when it fails."""
import importlib.util
import json
import multiprocessing
import os
import queue
import sys
import tempfile
import time
import traceback
from pathlib import Path

from .env import LOCALE, REPO, WESTERN_LOCALE, Env, ensure_locale

# The last run's time of each scenario, so that the longest start first and the workers end together.
DURATIONS = REPO / "build" / "e2e-durations.json"
# Most of a scenario's time is spent waiting on the program's timers, not on the CPU: three at a time keep
# two cores busy without slowing any one of them much.
DEFAULT_WORKERS = 3


def collect(folder, filters):
    """[(file.function, function)] of the scenarios in file and line order, those whose name holds a filter."""
    found = []
    for path in sorted(Path(folder).glob("*_test.py")):
        module_spec = importlib.util.spec_from_file_location(f"scenarios.{path.stem}", path)
        module = importlib.util.module_from_spec(module_spec)
        module_spec.loader.exec_module(module)
        tests = [f for name, f in vars(module).items() if name.startswith("test_") and callable(f)]
        for test in sorted(tests, key=lambda f: f.__code__.co_firstlineno):
            name = f"{path.stem}.{test.__name__}"
            if not filters or any(word in name for word in filters):
                found.append((name, test))
    return found


def _captured(run):
    """Runs run() with this process's stdout and stderr going to a file of their own; returns its result
    and what was written."""
    sys.stdout.flush()
    sys.stderr.flush()
    saved = [os.dup(1), os.dup(2)]
    with tempfile.TemporaryFile() as output:
        os.dup2(output.fileno(), 1)
        os.dup2(output.fileno(), 2)
        try:
            result = run()
        finally:
            sys.stdout.flush()
            sys.stderr.flush()
            for fd, copy in zip((1, 2), saved):
                os.dup2(copy, fd)
                os.close(copy)
        output.seek(0)
        return result, output.read().decode("utf-8", "replace")


def _scenario(env, test):
    """None when the scenario passed, else the reason in one line (its traceback goes to stderr)."""
    try:
        test(env)
        return None
    except Exception as error:  # a failing scenario must not stop the others
        traceback.print_exc()
        return " ".join(str(error).split()) or type(error).__name__
    finally:
        env.stop_programs()


def _worker(number, tests, tasks, results):
    """One Wine world: runs the scenarios it takes from tasks until it takes None."""
    try:
        env = Env()
    except Exception as error:
        results.put(("broken", number, f"{type(error).__name__}: {error}"))
        return
    results.put(("ready", number, f"prefix {number} ready in {env.timings['prefix']:.1f} s (display {env.display})"))
    try:
        while (index := tasks.get()) is not None:
            results.put(("started", number, index))
            began = time.monotonic()
            reason, output = _captured(lambda: _scenario(env, tests[index][1]))
            results.put(("done", number, (index, reason, time.monotonic() - began, output)))
            if reason is not None:  # what a failed scenario left (an install, a running program) fails no other
                env.close()
                env = None
                env = Env()
    finally:
        if env is not None:
            env.close()


def _last_durations():
    try:
        return json.loads(DURATIONS.read_text())
    except (OSError, ValueError):
        return {}


def _longest_first(tests):
    last = _last_durations()
    # A scenario never timed (a new one) may be long: it goes first.
    return sorted(range(len(tests)), key=lambda i: -last.get(tests[i][0], float("inf")))


def _save_durations(times):
    DURATIONS.write_text(json.dumps(dict(_last_durations(), **times), indent=1, sort_keys=True) + "\n")


def run(tests, workers, label=""):
    """Runs the scenarios on up to `workers` Wine worlds at once and prints a line for each; returns the
    (name, test) of those that failed, in the order given."""
    context = multiprocessing.get_context("fork")  # the scenarios' functions are inherited, not pickled
    tasks, results = context.Queue(), context.Queue()
    for index in _longest_first(tests):
        tasks.put(index)
    count = max(1, min(workers, len(tests)))
    for _ in range(count):
        tasks.put(None)
    processes = {n: context.Process(target=_worker, args=(n, tests, tasks, results)) for n in range(1, count + 1)}
    for process in processes.values():
        process.start()
    running, outcome, times = {}, {}, {}
    while len(outcome) < len(tests):
        try:
            kind, number, detail = results.get(timeout=1)
        except queue.Empty:
            # A worker that has ended with a scenario unfinished, or with none of the workers left.
            for n, process in processes.items():
                if not process.is_alive() and n in running:
                    index = running.pop(n)
                    outcome[index] = f"its worker ended with exit code {process.exitcode}"
                    print(f"FAIL{label} {tests[index][0]}: {outcome[index]}", flush=True)
            if not any(p.is_alive() for p in processes.values()) and results.empty():
                for index in set(range(len(tests))) - set(outcome):
                    outcome[index] = "not run: no Wine world could be made"
                    print(f"FAIL{label} {tests[index][0]}: {outcome[index]}", flush=True)
            continue
        if kind in ("ready", "broken"):
            print(detail if kind == "ready" else f"prefix {number} could not be made: {detail}", flush=True)
        elif kind == "started":
            running[number] = detail
        else:
            index, reason, seconds, output = detail
            running.pop(number, None)
            outcome[index] = reason
            name = tests[index][0]
            times[name] = round(seconds, 1)
            if reason is None:
                print(f"PASS{label} {name} ({seconds:.1f} s, prefix {number})", flush=True)
            else:
                print(f"FAIL{label} {name} ({seconds:.1f} s, prefix {number}): {reason}", flush=True)
                print("".join(f"    {line}" for line in output.splitlines(True)), end="", flush=True)
    for process in processes.values():
        process.join()
    _save_durations(times)
    return [tests[i] for i in range(len(tests)) if outcome[i] is not None]


MOST_FLAKES = 1  # scenarios a run may pass only on their retry


def main(folder, argv):
    """`[--jobs N] [WORD...]`: the scenarios whose file.function name holds a word (all without one)."""
    workers = int(os.environ.get("MZ6_E2E_JOBS", DEFAULT_WORKERS))
    if argv[:1] == ["--jobs"] and len(argv) > 1:
        workers, argv = int(argv[1]), argv[2:]
    for locale in (LOCALE, WESTERN_LOCALE):  # made once here, not by the workers at the same time
        ensure_locale(locale)
    tests = collect(folder, argv)
    if not tests:
        print(f"no scenario's name holds {' or '.join(argv)}")
        return 1
    started = time.monotonic()
    failures = run(tests, workers)
    # Timing under Wine on a loaded machine can fail a scenario once; a second failure is real. The retry
    # starts from fresh prefixes, so that nothing a failed scenario left behind (a registry value, a program
    # still running) fails it again. What passes only on the retry is a flake, named so that it gets looked
    # at; more than one in a run is no longer the machine's load, and fails it.
    still_failing = run(failures, workers, " (retry)") if failures else []
    print(f"suite took {time.monotonic() - started:.1f} s on {min(workers, len(tests))} Wine prefixes at once")
    failing_names = {name for name, _ in still_failing}
    flakes = [name for name, _ in failures if name not in failing_names]
    for name in flakes:
        print(f"flake (passed only on the retry): {name}")
    print(f"{len(tests) - len(still_failing)} passed, {len(still_failing)} failed, {len(flakes)} flaky")
    return 1 if still_failing or len(flakes) > MOST_FLAKES else 0
