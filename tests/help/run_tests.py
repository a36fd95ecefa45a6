#!/usr/bin/env python3
"""Runs the named help test modules (test_help_file, test_winhlp32,
test_htmlhelp) and ends with one line, "N passed, M failed, K skipped",
for scripts/test-all.sh."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))


def main(names):
    suite = unittest.TestLoader().loadTestsFromNames(names)
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    skipped = len(result.skipped)
    # A class whose set-up skips counts one skip and runs nothing.
    passed = max(0, result.testsRun - failed - skipped)
    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    # Skips alone are no pass: a level that ran nothing has tested nothing.
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or ["test_help_file"]))
