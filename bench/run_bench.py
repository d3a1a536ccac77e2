#!/usr/bin/env python3
"""Measures the built program end to end against cat and python3's json.load.

    run_bench.py --program PATH --hello PATH --inputs FOLDER [--repeat N]

For each input: the best wall time and the best processor time (user + system) of N runs
writing every output, the input rate, the peak resident set, and in the same run the same
times of `cat INPUT` and of json.load of it, with the ratios. On a busy machine the
processor times are the steadier measure; targets are checked against both. Then the start-up time of the program (usage text, nothing read) against a
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
    """Wall seconds, processor seconds and peak RSS in bytes of one run of argv."""
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
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024


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
    """The best wall time, the best processor time and the largest peak RSS."""
    runs = [run_once(argv, **options) for _ in range(repeat)]
    return (min(wall for wall, _, _ in runs), min(cpu for _, cpu, _ in runs),
            max(rss for _, _, rss in runs))


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
        tool_time, tool_cpu, tool_rss = best_of(repeat, argv, cwd=work)
    cat_time, cat_cpu, _ = best_of(repeat, [which("cat"), path])
    python = [which("python3"), "-c", "import json, sys; json.load(open(sys.argv[1], 'rb'))", path]
    python_time, python_cpu, _ = best_of(max(1, repeat // 2), python)
    return {"name": os.path.basename(path), "size": size, "time": tool_time, "cpu": tool_cpu,
            "rss": tool_rss, "cat": cat_time, "cat cpu": cat_cpu, "python": python_time,
            "python cpu": python_cpu}


def measure_startup(program, hello, repeat):
    """Mean wall and mean processor seconds of the program and of the hello-world."""
    def mean(argv):
        runs = [run_once(argv) for _ in range(repeat)]
        return sum(r[0] for r in runs) / repeat, sum(r[1] for r in runs) / repeat
    return mean([program]), mean([hello])


def ratio(numerator, denominator):
    return f"{numerator / denominator:.2f}" if denominator > 0 else "-"


def print_table(rows):
    """Times as wall/processor milliseconds; ratios as wall/processor."""
    header = ("input", "size MB", "vantrel ms", "MB/s", "peak RSS MB", "RSS/size",
              "cat ms", "x cat", "json.load ms", "x json.load")
    lines = [header]
    for r in rows:
        lines.append((r["name"], f"{r['size'] / MB:.2f}",
                      f"{r['time'] * 1000:.0f}/{r['cpu'] * 1000:.0f}",
                      f"{r['size'] / MB / r['time']:.0f}/{r['size'] / MB / max(r['cpu'], 1e-6):.0f}",
                      f"{r['rss'] / MB:.1f}", f"{r['rss'] / r['size']:.2f}",
                      f"{r['cat'] * 1000:.0f}/{r['cat cpu'] * 1000:.0f}",
                      f"{ratio(r['time'], r['cat'])}/{ratio(r['cpu'], r['cat cpu'])}",
                      f"{r['python'] * 1000:.0f}/{r['python cpu'] * 1000:.0f}",
                      f"{ratio(r['time'], r['python'])}/{ratio(r['cpu'], r['python cpu'])}"))
    widths = [max(len(line[i]) for line in lines) for i in range(len(header))]
    for line in lines:
        print("  ".join(cell.rjust(width) for cell, width in zip(line, widths)))
    print("(times and ratios: wall/processor)")


def check_targets(rows, startup):
    by_name = {r["name"]: r for r in rows}
    checks = []
    big = by_name.get("png-64mib.json")
    if big:
        for kind, time, cat in (("wall", big["time"], big["cat"]),
                                ("processor", big["cpu"], big["cat cpu"])):
            checks.append((f"64 MiB hex: >= 300 MB/s ({kind})", big["size"] / MB / time >= 300))
            checks.append((f"64 MiB hex: <= 8x cat ({kind})", time <= 8 * cat))
        checks.append(("64 MiB hex: peak RSS <= 5x input", big["rss"] <= 5 * big["size"]))
    many = by_name.get("files-60000.json")
    if many:
        checks.append(("60,000 resources: <= 1/4 of json.load (wall)",
                       many["time"] <= many["python"] / 4))
        checks.append(("60,000 resources: <= 1/4 of json.load (processor)",
                       many["cpu"] <= many["python cpu"] / 4))
    (tool_wall, tool_cpu), (hello_wall, hello_cpu) = startup
    checks.append(("start-up <= 2x static hello-world (wall)", tool_wall <= 2 * hello_wall))
    checks.append(("start-up <= 2x static hello-world (processor)", tool_cpu <= 2 * hello_cpu))
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
    (tool_wall, tool_cpu), (hello_wall, hello_cpu) = startup
    print(f"\nstart-up (usage text, mean of {20 * args.repeat} runs, wall/processor): "
          f"vantrel {tool_wall * 1000:.2f}/{tool_cpu * 1000:.2f} ms, static hello-world "
          f"{hello_wall * 1000:.2f}/{hello_cpu * 1000:.2f} ms, ratio "
          f"{ratio(tool_wall, hello_wall)}/{ratio(tool_cpu, hello_cpu)}\n")
    check_targets(rows, startup)
    return 0


if __name__ == "__main__":
    sys.exit(main())
