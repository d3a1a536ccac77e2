#!/usr/bin/env python3
"""Runs the debug stream probe under Wine with the debugger-string trace on and checks that
every insertion reached the debugger as one call, unchanged, and pending text at exit."""
import argparse
import os
import re
import subprocess
import sys

# Wine prints each OutputDebugStringA argument C-escaped, non-ASCII bytes as \xNN.
EXPECTED_CALLS = [
    r'"first line\n"',
    r'"a"',
    r'"b"',
    r'"42"',
    r'"1.5"',
    r'""',
    r'"tab\t\"quoted\" \xc3\xbc\r\n"',
    r'"held back"',
]
TRACE = re.compile(r":debugstr:OutputDebugStringA (\".*\")$")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--emulator", required=True, help="words joined by |")
    parser.add_argument("probe")
    args = parser.parse_args()

    env = dict(os.environ, WINEDEBUG="-all,+debugstr")
    result = subprocess.run(args.emulator.split("|") + [args.probe], env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    lines = result.stderr.decode("latin-1").replace("\r", "").splitlines()
    calls = [match.group(1) for match in map(TRACE.search, lines) if match]

    failures = []
    if result.returncode != 0:
        failures.append(f"probe exited with status {result.returncode}")
    if calls != EXPECTED_CALLS:
        failures.append("debugger calls differ\n--- expected\n" + "\n".join(EXPECTED_CALLS)
                        + "\n--- actual\n" + "\n".join(calls))
    if failures:
        print("\n".join(failures))
        print("--- full trace\n" + "\n".join(lines))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
