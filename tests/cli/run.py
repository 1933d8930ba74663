#!/usr/bin/env python3
"""mz6 (build/host/mz6, or $MZ6) against simulated readers on ptys: every *_test.py here.

    python3 tests/cli/run.py [-v] [-k PATTERN]
"""
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

if __name__ == "__main__":
    unittest.main(module=None, argv=[sys.argv[0], "discover", "-s", str(HERE), "-p", "*_test.py", *sys.argv[1:]])
