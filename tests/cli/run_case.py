#!/usr/bin/env python3
"""Runs the program once as a case folder describes and compares everything byte for byte."""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile


def read_bytes(path, default=b""):
    if os.path.exists(path):
        with open(path, "rb") as f:
            return f.read()
    return default


def snapshot(root):
    """Maps each file's path relative to root to its bytes."""
    files = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            files[os.path.relpath(path, root)] = read_bytes(path)
    return files


def read_args(case):
    path = os.path.join(case, "args")
    if not os.path.exists(path):
        return []
    text = read_bytes(path).decode("utf-8")
    if text.endswith("\n"):
        text = text[:-1]
    return text.split("\n") if text != "" else []


def make_env(case):
    env = dict(os.environ)
    path = os.path.join(case, "env")
    if os.path.exists(path):
        for line in read_bytes(path).decode("utf-8").splitlines():
            if line.startswith("-"):
                env.pop(line[1:], None)
            elif "=" in line:
                name, value = line.split("=", 1)
                env[name] = value
    return env


def expected_file(data, name, crlf):
    """A text-mode stream on Windows writes every LF as CR LF, whatever precedes it."""
    if crlf and not name.endswith((".bin", ".rsrc", ".res", ".d")):
        return data.replace(b"\n", b"\r\n")
    return data


def captured_stream(data, args):
    """The stream as the program meant it: Windows text mode turns each LF into CR LF, and
    under Wine the program's own name arrives as its full Windows path."""
    if args.crlf:
        data = data.replace(b"\r\n", b"\n")
    if args.emulator:
        wine_path = "Z:" + os.path.abspath(args.program).replace("/", "\\")
        data = data.replace(wine_path.encode(), b"vantrel")
    return data


STRICT_LINE = re.compile(rb"Error: [^\n]+:[0-9]+:[0-9]+: [^\n]+\n")


def check_strict_refusal(result, before, after, args):
    """A run with --strict on an input that has problems: status 92, only "Error:" lines
    with a place, and not one file written."""
    failures = []
    stderr = captured_stream(result.stderr, args)
    if result.returncode != 92:
        failures.append(f"status {result.returncode} with --strict, expected 92\n")
    if result.stdout:
        failures.append(describe("stdout", b"", result.stdout))
    lines = stderr.splitlines(keepends=True)
    if not lines or not all(STRICT_LINE.fullmatch(line) for line in lines):
        failures.append(f"stderr is not --strict problem lines:\n{stderr!r}\n")
    if before != after:
        failures.append("files changed under --strict\n")
    return failures


STRICT_PLACE = rb"(?:[^\n]+:[0-9]+:[0-9]+: (?:entry [0-9]+: )?)?"
STRICT_REASON = rb"(?:: [^\n]+)?"


def check_strict_placed(case, result, before, after, args):
    """A run with --strict on an input whose faults the run without it reports: the same
    status, output and files, and each "Error:" line the expected one with its place in the
    input after "Error: " or the operating system's reason at its end, or both."""
    failures = []
    expected_status = int(read_bytes(os.path.join(case, "expected", "status"), b"0"))
    if result.returncode != expected_status:
        failures.append(f"status {result.returncode} with --strict, expected {expected_status}\n")
    if result.stdout != read_bytes(os.path.join(case, "expected", "stdout")):
        failures.append(describe("stdout", read_bytes(os.path.join(case, "expected", "stdout")),
                                 result.stdout))
    expected_lines = read_bytes(os.path.join(case, "expected", "stderr")).splitlines(keepends=True)
    lines = captured_stream(result.stderr, args).splitlines(keepends=True)
    placed = len(lines) == len(expected_lines)
    for line, expected in zip(lines, expected_lines):
        message = expected[len(b"Error: "):-1]
        pattern = rb"Error: " + STRICT_PLACE + re.escape(message) + STRICT_REASON + rb"\n"
        placed = placed and line != expected and re.fullmatch(pattern, line) is not None
    if not placed or not lines:
        failures.append(describe("stderr (with places)", b"".join(expected_lines),
                                 b"".join(lines)))
    if before != after:
        failures.append("files changed under --strict\n")
    return failures


def describe(label, expected, actual):
    return f"{label} differs\n--- expected\n{expected!r}\n--- actual\n{actual!r}\n"


def run_program(command, executable, case, work, timeout):
    stdin_path = os.path.join(case, "stdin")
    with open(stdin_path if os.path.exists(stdin_path) else os.devnull, "rb") as stdin:
        return subprocess.run(command, executable=executable, cwd=work, env=make_env(case),
                              stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              timeout=timeout)


def ended_by_emulator(result):
    """The program reports each failure on stderr, with a status of 64 or more, and never
    ends with status 1: a silent status 1 under Wine is Wine's own, and rare."""
    return result.returncode == 1 and not result.stdout and not result.stderr


def execute(args, case):
    """Runs the case in a fresh working folder: the result and the folder before and after."""
    with tempfile.TemporaryDirectory(prefix="vantrel-case-") as work:
        if os.path.isdir(os.path.join(case, "files")):
            shutil.copytree(os.path.join(case, "files"), work, dirs_exist_ok=True)
        before = snapshot(work)
        if args.emulator:
            argv, executable = args.emulator.split("|") + [args.program], None
        else:
            argv, executable = ["vantrel"], args.program
        strict_args = ["--strict"] if args.strict or args.strict_refused or args.strict_placed else []
        command = argv + strict_args + read_args(case)
        result = run_program(command, executable, case, work, args.timeout)
        after = snapshot(work)
        if args.emulator and ended_by_emulator(result) and after == before:
            print("Wine ended the run with status 1 before the program printed or wrote "
                  "anything; it ran again")
            result = run_program(command, executable, case, work, args.timeout)
            after = snapshot(work)
    return result, before, after


def changed_files(before, after):
    return {name: data for name, data in after.items() if before.get(name) != data}


def compare(case, result, before, after, args):
    failures = []
    expected_status = int(read_bytes(os.path.join(case, "expected", "status"), b"0"))
    if result.returncode != expected_status:
        failures.append(f"status {result.returncode}, expected {expected_status}\n")
    for stream, actual in (("stdout", result.stdout), ("stderr", result.stderr)):
        actual = captured_stream(actual, args)
        expected = read_bytes(os.path.join(case, "expected", stream))
        if actual != expected:
            failures.append(describe(stream, expected, actual))

    expected_files = snapshot(os.path.join(case, "expected", "files"))
    changed = changed_files(before, after)
    for name in sorted(set(expected_files) | set(changed)):
        if name not in changed:
            failures.append(f"file {name} was not written\n")
        elif name not in expected_files:
            failures.append(f"file {name} was written but not expected\n")
        else:
            want = expected_file(expected_files[name], name, args.crlf)
            if changed[name] != want:
                failures.append(describe(f"file {name}", want, changed[name]))
    return failures + removed_files(before, after)


def removed_files(before, after):
    return [f"file {name} was removed\n" for name in sorted(set(before) - set(after))]


def write_if(path, data, wanted):
    """Writes data to path when wanted, and otherwise leaves no file: missing means default."""
    if wanted:
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    elif os.path.exists(path):
        os.remove(path)


def update(case, result, before, after, args):
    """Makes expected/ say what this run did, in the form compare() reads it back."""
    removed = removed_files(before, after)
    if removed:
        return removed + ["a removed file cannot be expected: nothing updated\n"]
    expected = os.path.join(case, "expected")
    shutil.rmtree(os.path.join(expected, "files"), ignore_errors=True)
    for name, data in changed_files(before, after).items():
        if args.crlf and not name.endswith(".bin"):
            data = data.replace(b"\r\n", b"\n")
        write_if(os.path.join(expected, "files", name), data, True)
    write_if(os.path.join(expected, "status"), b"%d\n" % result.returncode,
             result.returncode != 0)
    for stream, actual in (("stdout", result.stdout), ("stderr", result.stderr)):
        actual = captured_stream(actual, args)
        write_if(os.path.join(expected, stream), actual, actual != b"")
    if os.path.isdir(expected) and not os.listdir(expected):
        os.rmdir(expected)
    print(f"updated {os.path.relpath(expected)}")
    return []


def run(args):
    case = os.path.abspath(args.case)
    result, before, after = execute(args, case)
    if args.strict_refused:
        failures = check_strict_refusal(result, before, after, args)
    elif args.strict_placed:
        failures = check_strict_placed(case, result, before, after, args)
    elif args.update:
        failures = update(case, result, before, after, args)
    else:
        failures = compare(case, result, before, after, args)
    sys.stdout.write("".join(failures))
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("--emulator", help="command that runs the program, its words joined by |")
    parser.add_argument("--crlf", action="store_true")
    parser.add_argument("--strict", action="store_true",
                        help="run with --strict first: the case's expectations must hold as they are")
    parser.add_argument("--strict-refused", action="store_true",
                        help="run with --strict first: the input must be refused with status 92")
    parser.add_argument("--strict-placed", action="store_true",
                        help="run with --strict first: the same failure, each message with its place")
    parser.add_argument("--update", action="store_true",
                        help="write the case's expected/ folder from this run instead of comparing")
    parser.add_argument("--timeout", type=float, default=120)
    parser.add_argument("case")
    args = parser.parse_args()
    if args.update and (args.strict or args.strict_refused or args.strict_placed):
        parser.error("--update writes what the run without --strict gives")
    # The program runs in a temporary folder: a path relative to here must still find it.
    args.program = os.path.abspath(args.program)
    sys.exit(run(args))


if __name__ == "__main__":
    main()
