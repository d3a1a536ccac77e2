#!/usr/bin/env python3
"""Measures the built program end to end against cat and python3's json.load.

    run_bench.py --program PATH --hello PATH --inputs FOLDER [--repeat N]

For each input: the best wall time of N runs writing every output, the input rate, the peak
resident set, and in the same run the best time of `cat INPUT` and of json.load of it, with
the ratios. Then the start-up time of the program (usage text, nothing read) against a
statically linked hello-world. Targets are checked at the end; the exit status is 0 either
way, as this is a measurement and not a test.
"""
import argparse
import os
import sys
import tempfile
import time

MB = 1000 * 1000


def run_once(argv, cwd=None, stdout_path=os.devnull):
    """Wall seconds and peak RSS in bytes of one run of argv."""
    with open(stdout_path, "wb") as out, open(os.devnull, "rb") as stdin:
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, stdin.fileno(), 0),
                                           (os.POSIX_SPAWN_DUP2, out.fileno(), 1)],
                             ) if cwd is None else _spawn_in(argv, cwd, stdin, out)
        _, status, usage = os.wait4(pid, 0)
        elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{' '.join(argv)} failed with status {status}")
    return elapsed, usage.ru_maxrss * 1024


def _spawn_in(argv, cwd, stdin, out):
    previous = os.getcwd()
    os.chdir(cwd)
    try:
        return os.posix_spawn(argv[0], argv, os.environ,
                              file_actions=[(os.POSIX_SPAWN_DUP2, stdin.fileno(), 0),
                                            (os.POSIX_SPAWN_DUP2, out.fileno(), 1)])
    finally:
        os.chdir(previous)


def best_of(repeat, argv, **options):
    runs = [run_once(argv, **options) for _ in range(repeat)]
    return min(t for t, _ in runs), max(rss for _, rss in runs)


def which(name):
    for folder in os.environ.get("PATH", "/usr/bin").split(os.pathsep):
        path = os.path.join(folder, name)
        if os.access(path, os.X_OK):
            return path
    raise SystemExit(f"{name} not found")


def measure_input(program, path, repeat):
    size = os.path.getsize(path)
    with tempfile.TemporaryDirectory(prefix="vantrel-bench-") as work:
        argv = [program, "--input", path, "--header", "out.h", "--adobe", "IDtoFile.txt",
                "--mac", "out.r", "--windows", "out.rc", "--pipl", "out.bin"]
        tool_time, tool_rss = best_of(repeat, argv, cwd=work)
    cat_time, _ = best_of(repeat, [which("cat"), path])
    python = [which("python3"), "-c", "import json, sys; json.load(open(sys.argv[1], 'rb'))", path]
    python_time, _ = best_of(max(1, repeat // 2), python)
    return {"name": os.path.basename(path), "size": size, "time": tool_time, "rss": tool_rss,
            "cat": cat_time, "python": python_time}


def measure_startup(program, hello, repeat):
    tool_time = sum(run_once([program])[0] for _ in range(repeat)) / repeat
    hello_time = sum(run_once([hello])[0] for _ in range(repeat)) / repeat
    return tool_time, hello_time


def print_table(rows):
    header = ("input", "size MB", "vantrel ms", "MB/s", "peak RSS MB", "RSS/size",
              "cat ms", "x cat", "json.load ms", "x json.load")
    lines = [header]
    for r in rows:
        lines.append((r["name"], f"{r['size'] / MB:.2f}", f"{r['time'] * 1000:.1f}",
                      f"{r['size'] / MB / r['time']:.0f}", f"{r['rss'] / MB:.1f}",
                      f"{r['rss'] / r['size']:.2f}", f"{r['cat'] * 1000:.1f}",
                      f"{r['time'] / r['cat']:.2f}", f"{r['python'] * 1000:.1f}",
                      f"{r['time'] / r['python']:.3f}"))
    widths = [max(len(line[i]) for line in lines) for i in range(len(header))]
    for line in lines:
        print("  ".join(cell.rjust(width) for cell, width in zip(line, widths)))


def check_targets(rows, startup):
    by_name = {r["name"]: r for r in rows}
    checks = []
    big = by_name.get("png-64mib.json")
    if big:
        checks.append(("64 MiB hex: >= 300 MB/s", big["size"] / MB / big["time"] >= 300))
        checks.append(("64 MiB hex: <= 8x cat", big["time"] <= 8 * big["cat"]))
        checks.append(("64 MiB hex: peak RSS <= 5x input", big["rss"] <= 5 * big["size"]))
    many = by_name.get("files-60000.json")
    if many:
        checks.append(("60,000 resources: <= 1/4 of json.load", many["time"] <= many["python"] / 4))
    checks.append(("start-up <= 2x static hello-world", startup[0] <= 2 * startup[1]))
    for label, ok in checks:
        print(f"{'met    ' if ok else 'MISSED '} {label}")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True)
    parser.add_argument("--hello", required=True)
    parser.add_argument("--inputs", required=True)
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    rows = [measure_input(program, os.path.join(args.inputs, name), args.repeat)
            for name in ("png-64mib.json", "files-60000.json", "example-plugin.json")]
    print_table(rows)
    startup = measure_startup(program, os.path.abspath(args.hello), 20 * args.repeat)
    print(f"\nstart-up (usage text, mean of {20 * args.repeat}): vantrel {startup[0] * 1000:.2f} ms, "
          f"static hello-world {startup[1] * 1000:.2f} ms, ratio {startup[0] / startup[1]:.2f}\n")
    check_targets(rows, startup)
    return 0


if __name__ == "__main__":
    sys.exit(main())
