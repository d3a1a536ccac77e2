#!/usr/bin/env python3
"""Prints the name and captured output of each failed test in a CTest LastTest.log.

    failed_tests.py BUILD_DIR

The log holds one block per test; a failed one ends with "Test Failed." or names a signal
or timeout. Long outputs are cut to their first and last lines.
"""
import os
import re
import sys

LINES_KEPT = 40
TEST_START = re.compile(r"^\d+/\d+ Testing: (.*)$", re.M)


def blocks(log):
    starts = list(TEST_START.finditer(log))
    for index, match in enumerate(starts):
        end = starts[index + 1].start() if index + 1 < len(starts) else len(log)
        yield match.group(1), log[match.end():end]


def output_of(block):
    start = block.find("Output:\n")
    end = block.find("<end of output>")
    if start < 0 or end < 0:
        return block
    lines = block[start:end].splitlines()[2:]
    if len(lines) > LINES_KEPT:
        half = LINES_KEPT // 2
        lines = lines[:half] + [f"[... {len(lines) - LINES_KEPT} lines ...]"] + lines[-half:]
    return "\n".join(lines)


def main():
    path = os.path.join(sys.argv[1], "Testing", "Temporary", "LastTest.log")
    with open(path, encoding="utf-8", errors="replace") as f:
        log = f.read()
    for name, block in blocks(log):
        if "Test Passed." not in block:
            print(f"-- {name}")
            print(output_of(block))


if __name__ == "__main__":
    main()
