#!/usr/bin/env python3
"""Runs the debug stream probe under Wine with the debugger-string trace on and checks that
every insertion reached the debugger as one call, unchanged, and pending text at exit. The
program itself writes nothing to the stream, but has it: destroyed at exit, the stream
delivers its empty buffer as one call."""
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


def debugger_calls(emulator, command):
    """The exit status and the quoted argument of every OutputDebugStringA call."""
    env = dict(os.environ, WINEDEBUG="-all,+debugstr")
    result = subprocess.run(emulator.split("|") + command, env=env, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, timeout=120)
    lines = result.stderr.decode("latin-1").replace("\r", "").splitlines()
    return result.returncode, [match.group(1) for match in map(TRACE.search, lines) if match]


def compare(label, expected, status, calls):
    if status == 0 and calls == expected:
        return []
    return [f"{label}: status {status}; debugger calls\n--- expected\n" + "\n".join(expected)
            + "\n--- actual\n" + "\n".join(calls)]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--emulator", required=True, help="words joined by |")
    parser.add_argument("--program", required=True)
    parser.add_argument("probe")
    args = parser.parse_args()

    failures = compare("probe", EXPECTED_CALLS, *debugger_calls(args.emulator, [args.probe]))
    failures += compare("program", ['""'],
                        *debugger_calls(args.emulator, [args.program, "--help"]))
    print("\n".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
