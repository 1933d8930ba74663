#!/usr/bin/env python3
"""End-to-end suite: the real programs under Wine, driven from outside. After scripts/build and help/build-help,
`run.py [--jobs N] [--guide-status FILE] [WORD...]` runs the test_* functions of scenarios/*_test.py whose
file.function name holds a word, on N Wine prefixes at once (3, or $MZ6_E2E_JOBS); with FILE, scripts/test's
status of its help stage, the scenarios that install the guide wait for it. `run.py --prefix-template` makes only
the Wine prefix that the workers copy."""
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path[:0] = [str(HERE), str(HERE.parents[1] / "testkit")]  # the harness, the runner and sim_reader

from harness import suite  # noqa: E402

if __name__ == "__main__":
    sys.exit(suite.main(HERE / "scenarios", sys.argv[1:]))
