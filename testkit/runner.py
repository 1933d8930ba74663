"""Runs tests side by side, for the e2e and the cli suites. Each worker is a process with a world of its own
(what new_world() makes: the e2e suite's Wine prefix; none for the cli) and is handed the next test when it
is free: of those that may start, the longest of the last run first. A test's output is kept apart and shown
whole when it fails. A failed test is run once more; what passes only then is named as a flake."""
import json
import multiprocessing
import os
import queue
import sys
import tempfile
import time
import traceback

MOST_FLAKES = 1  # tests a run may pass only on their retry


def _captured(run):
    """Runs run() with this process's stdout and stderr, and those of the programs it starts, going to a file of
    their own; returns its result and what was written."""
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


def _test(world, test):
    """None when the test passed, else the reason in one line (its traceback goes to stderr)."""
    try:
        test(world)
        return None
    except Exception as error:  # a failing test must not stop the others
        traceback.print_exc()
        return " ".join(str(error).split()) or type(error).__name__


def _worker(number, tests, new_world, tasks, results):
    """Runs the tests it takes from tasks until it takes None, in one world (a fresh one after a failure)."""
    try:
        began = time.monotonic()
        world = new_world()
    except Exception as error:
        results.put(("broken", number, f"{type(error).__name__}: {error}"))
        return
    if world is not None:
        results.put(("ready", number, f"{world} ready in {time.monotonic() - began:.1f} s"))
    try:
        while (index := tasks.get()) is not None:
            results.put(("started", number, index))
            began = time.monotonic()
            reason, output = _captured(lambda: _test(world, tests[index][1]))
            results.put(("done", number, (index, reason, time.monotonic() - began, output)))
            if reason is not None and world is not None:  # what a failed test left fails no other
                world.close()
                world = None
                world = new_world()
    finally:
        if world is not None:
            world.close()


def _last_durations(durations):
    try:
        return json.loads(durations.read_text())
    except (OSError, ValueError):
        return {}


def _longest_first(tests, durations):
    """The longest of the last run first, so that the workers end together; one never timed (a new one, which may
    be long) before all."""
    last = _last_durations(durations)
    return sorted(range(len(tests)), key=lambda i: -last.get(tests[i][0], float("inf")))


def _hand_out(tests, waiting, idle, tasks, outcome, label):
    """Gives up to `idle` workers the first of the waiting tests that may start, and fails those that never will;
    returns how many workers are left idle. A worker is handed a test only when it is free, so that a test held
    back until then still goes before the shorter ones."""
    for index in list(waiting):
        if idle == 0:
            break
        may_start = tests[index][2]
        try:
            if may_start is not None and not may_start():
                continue
        except Exception as error:
            waiting.remove(index)
            outcome[index] = f"not run: {error}"
            print(f"FAIL{label} {tests[index][0]}: {outcome[index]}", flush=True)
            continue
        waiting.remove(index)
        tasks.put(index)
        idle -= 1
    return idle


def run(tests, workers, new_world, durations, label=""):
    """Runs the (name, function(world), may_start) tests on up to `workers` worlds at once and prints a line for
    each; returns those that failed, in the order given. may_start: None, or a function that says whether the test
    may start yet, and raises when it never will."""
    if not tests:
        return []
    context = multiprocessing.get_context("fork")  # the tests' functions are inherited, not pickled
    tasks, results = context.Queue(), context.Queue()
    waiting = _longest_first(tests, durations)
    count = idle = max(1, min(workers, len(tests)))
    processes = {n: context.Process(target=_worker, args=(n, tests, new_world, tasks, results))
                 for n in range(1, count + 1)}
    for process in processes.values():
        process.start()
    running, outcome, times = {}, {}, {}
    while len(outcome) < len(tests):
        if waiting:
            idle = _hand_out(tests, waiting, idle, tasks, outcome, label)
            if not waiting:  # all handed out: each worker ends after its last
                for _ in range(count):
                    tasks.put(None)
        try:
            kind, number, detail = results.get(timeout=1)
        except queue.Empty:
            # A worker that has ended with a test unfinished, or with none of the workers left.
            for n, process in processes.items():
                if not process.is_alive() and n in running:
                    index = running.pop(n)
                    outcome[index] = f"its worker ended with exit code {process.exitcode}"
                    print(f"FAIL{label} {tests[index][0]}: {outcome[index]}", flush=True)
            if not any(p.is_alive() for p in processes.values()) and results.empty():
                for index in set(range(len(tests))) - set(outcome):
                    outcome[index] = "not run: no world could be made"
                    print(f"FAIL{label} {tests[index][0]}: {outcome[index]}", flush=True)
            continue
        if kind in ("ready", "broken"):
            print(f"worker {number}: {detail if kind == 'ready' else 'no world could be made: ' + detail}", flush=True)
        elif kind == "started":
            running[number] = detail
        else:
            index, reason, seconds, output = detail
            running.pop(number, None)
            idle += 1
            outcome[index] = reason
            name = tests[index][0]
            times[name] = round(seconds, 1)
            if reason is None:
                print(f"PASS{label} {name} ({seconds:.1f} s, worker {number})", flush=True)
            else:
                print(f"FAIL{label} {name} ({seconds:.1f} s, worker {number}): {reason}", flush=True)
                print("".join(f"    {line}" for line in output.splitlines(True)), end="", flush=True)
    for process in processes.values():
        process.join()
    durations.parent.mkdir(parents=True, exist_ok=True)
    durations.write_text(json.dumps(dict(_last_durations(durations), **times), indent=1, sort_keys=True) + "\n")
    return [tests[i] for i in range(len(tests)) if outcome[i] is not None]


def run_with_retry(tests, workers, new_world, durations):
    """Runs the tests, then those that failed once more on fresh worlds (a loaded machine can fail a test that
    waits on timers once; a second failure is real); returns the exit status. What passes only on the retry is a
    flake, named so that it gets looked at; more than MOST_FLAKES in a run is no longer the machine's load."""
    started = time.monotonic()
    failures = run(tests, workers, new_world, durations)
    still_failing = run(failures, workers, new_world, durations, " (retry)") if failures else []
    print(f"took {time.monotonic() - started:.1f} s, {min(workers, len(tests))} at a time")
    failing_names = {name for name, _, _ in still_failing}
    flakes = [name for name, _, _ in failures if name not in failing_names]
    for name in flakes:
        print(f"flake (passed only on the retry): {name}")
    print(f"{len(tests) - len(still_failing)} passed, {len(still_failing)} failed, {len(flakes)} flaky")
    return 1 if still_failing or len(flakes) > MOST_FLAKES else 0
