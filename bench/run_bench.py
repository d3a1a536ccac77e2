#!/usr/bin/python3
"""Measures built programs end to end against python3's json.load and a static hello-world.

    run_bench.py --program [LABEL=]PATH [--program ...] --hello PATH [--floor PATH]
                 --inputs FOLDER [--repeat N]

Each program is run on each input writing every output: the 64 MiB hex entry, the 60,000
file resources, a realistic list of about 300 resources and the example plug-in. With
several programs (an older build beside a newer one) their runs take turns, and the
references run in the same rounds, so that a busy machine slows all of them alike. For
each run the best wall time and the best processor time (user + system) of N runs are
kept; short runs are repeated twenty times as often. The peak resident set is taken in
runs of their own under GNU time: a child spawned by python3 inherits the interpreter's
high-water mark at exec, which would count some 15 MB that the program never used.
With --floor, the floor program (bench/floor_copy) runs in the same rounds on each input:
it reads the input and writes outputs of the sizes the first program wrote, which is
the least any run can cost on that machine at that moment; each program's time is then
also given as a multiple of it. The speed targets are checked against both times at the end; the exit status is 0 either
way, as this is a measurement and not a test.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

MB = 1000 * 1000
# Inputs in the order of the table: (file name, short runs are repeated more often).
INPUTS = (("png-64mib.json", False), ("files-60000.json", False), ("files-300.json", True),
          ("example-plugin.json", True))
SHORT_RUN_FACTOR = 20

# The targets: ratios and rates of the same round of runs.
EXAMPLE_TO_HELLO = 1.2
EXAMPLE_INSTRUCTIONS = 250_000
MANY_TO_JSON_LOAD = 1.0
HEX_RATE_MB_S = 350
RSS_TO_INPUT = {"png-64mib.json": 2.0, "files-60000.json": 6.0}
# Debian's interpreter itself: a shim found on PATH would add its own start-up to json.load.
PYTHON = "/usr/bin/python3"
VALGRIND = "/usr/bin/valgrind"


def run_once(argv, cwd=None):
    """Wall seconds and processor seconds of one run of argv."""
    with open(os.devnull, "wb") as out, open(os.devnull, "rb") as stdin:
        actions = [(os.POSIX_SPAWN_DUP2, stdin.fileno(), 0),
                   (os.POSIX_SPAWN_DUP2, out.fileno(), 1)]
        previous = os.getcwd()
        if cwd is not None:
            os.chdir(cwd)
        try:
            start = time.perf_counter()
            pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
        finally:
            os.chdir(previous)
        _, status, usage = os.wait4(pid, 0)
        elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{' '.join(argv)} failed with status {status}")
    return elapsed, usage.ru_utime + usage.ru_stime


def peak_rss(argv, cwd=None):
    """Peak resident set in bytes of one run of argv, as GNU time reports it."""
    with tempfile.NamedTemporaryFile("r", prefix="vantrel-rss-") as report:
        run_once(["/usr/bin/time", "-f", "%M", "-o", report.name] + argv, cwd)
        return int(report.read().split()[-1]) * 1024


class Best:
    """The best wall and processor times of a series of runs, and the largest peak RSS."""

    def __init__(self):
        self.wall = self.cpu = float("inf")
        self.rss = 0

    def add(self, run):
        wall, cpu = run
        self.wall, self.cpu = min(self.wall, wall), min(self.cpu, cpu)


def tool_argv(program, path):
    return [program, "--input", path, "--header", "out.h", "--adobe", "IDtoFile.txt",
            "--mac", "out.r", "--windows", "out.rc", "--pipl", "out.bin"]


def remove_outputs(folder):
    """Every run writes all of its outputs: one that found its outputs already holding the
    same bytes would leave them alone and measure far less work."""
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))


def json_load_argv(path):
    return [PYTHON, "-c", "import json, sys; json.load(open(sys.argv[1], 'rb'))", path]


def output_sizes(folder):
    return {name: os.path.getsize(os.path.join(folder, name)) for name in os.listdir(folder)}


def floor_argv(floor, path, sizes, folder):
    return [floor, path] + [f"{os.path.join(folder, name)}={size}" for name, size in sizes.items()]


def measure(programs, hello, floor, folder, repeat):
    """Best[(label, input)] of every program, and of the references under label None."""
    results = {}

    def record(key, argv, cwd=None):
        if cwd:
            remove_outputs(cwd)
        results.setdefault(key, Best()).add(run_once(argv, cwd))

    def record_rss(key, argv, cwd=None):
        results[key].rss = max(results[key].rss, peak_rss(argv, cwd))

    with tempfile.TemporaryDirectory(prefix="vantrel-bench-") as work, \
            tempfile.TemporaryDirectory(prefix="vantrel-floor-") as floor_work:
        for name, short in INPUTS:
            path = os.path.join(folder, name)
            sizes = None
            for _ in range(repeat * (SHORT_RUN_FACTOR if short else 1)):
                for label, program in programs:
                    record((label, name), tool_argv(program, path), cwd=work)
                    if sizes is None:
                        sizes = output_sizes(work)
                if floor:
                    record((None, "floor " + name), floor_argv(floor, path, sizes, floor_work),
                           cwd=floor_work)
                if name == "files-60000.json":
                    record((None, "json.load"), json_load_argv(path))
                if name == "example-plugin.json":
                    record((None, "hello"), [hello])
            for _ in range(2):
                for label, program in programs:
                    record_rss((label, name), tool_argv(program, path), cwd=work)
        record_rss((None, "hello"), [hello])
        record_rss((None, "json.load"), json_load_argv(os.path.join(folder, "files-60000.json")))
    return results


def print_floor(programs, results):
    """Each program's best times as multiples of the floor's on the same input."""
    print("against the floor (reading the input, writing outputs of the same sizes):")
    for name, _ in INPUTS:
        floor = results.get((None, "floor " + name))
        if floor is None:
            return
        for label, _ in programs:
            best = results[(label, name)]
            print(f"  {label} {name}: floor {floor.wall * 1000:.2f}/{floor.cpu * 1000:.2f} ms "
                  f"wall/cpu, {best.wall / floor.wall:.2f}x/{best.cpu / max(floor.cpu, 1e-6):.2f}x")
    print()


def print_table(programs, results, folder):
    header = ("program", "input", "size MB", "ms wall/cpu", "MB/s wall/cpu", "peak RSS MB",
              "RSS/size")
    lines = [header]
    for name, _ in INPUTS:
        size = os.path.getsize(os.path.join(folder, name))
        for label, _ in programs:
            best = results[(label, name)]
            lines.append((label, name, f"{size / MB:.3f}",
                          f"{best.wall * 1000:.2f}/{best.cpu * 1000:.2f}",
                          f"{size / MB / best.wall:.0f}/{size / MB / max(best.cpu, 1e-6):.0f}",
                          f"{best.rss / MB:.1f}", f"{best.rss / size:.2f}"))
    for label, name in ((None, "json.load"), (None, "hello")):
        best = results[(label, name)]
        lines.append(("python3" if name == "json.load" else "static", name, "",
                      f"{best.wall * 1000:.2f}/{best.cpu * 1000:.2f}", "",
                      f"{best.rss / MB:.1f}", ""))
    widths = [max(len(line[i]) for line in lines) for i in range(len(header))]
    for line in lines:
        print("  ".join(cell.rjust(width) for cell, width in zip(line, widths)))
    print("(json.load reads files-60000.json; hello is a static hello-world)\n")


def check_targets(label, results, folder):
    def best(name):
        return results[(label, name)]

    json_load, hello = results[(None, "json.load")], results[(None, "hello")]
    example, many = best("example-plugin.json"), best("files-60000.json")
    big = best("png-64mib.json")
    big_size = os.path.getsize(os.path.join(folder, "png-64mib.json"))
    checks = []
    for kind in ("wall", "cpu"):
        ratio = getattr(example, kind) / getattr(hello, kind)
        checks.append((f"example plug-in <= {EXAMPLE_TO_HELLO}x static hello-world ({kind}): "
                       f"{ratio:.2f}x", ratio <= EXAMPLE_TO_HELLO))
    for kind in ("wall", "cpu"):
        ratio = getattr(many, kind) / getattr(json_load, kind)
        checks.append((f"60,000 resources <= {MANY_TO_JSON_LOAD}x json.load ({kind}): "
                       f"{ratio:.2f}x", ratio <= MANY_TO_JSON_LOAD))
    for kind in ("wall", "cpu"):
        rate = big_size / MB / getattr(big, kind)
        checks.append((f"64 MiB hex >= {HEX_RATE_MB_S} MB/s ({kind}): {rate:.0f} MB/s",
                       rate >= HEX_RATE_MB_S))
    for name, limit in RSS_TO_INPUT.items():
        ratio = best(name).rss / os.path.getsize(os.path.join(folder, name))
        checks.append((f"{name} peak RSS <= {limit}x input: {ratio:.2f}x", ratio <= limit))
    instructions = example_instructions(label, folder)
    if instructions is not None:
        checks.append((f"example plug-in <= {EXAMPLE_INSTRUCTIONS} instructions: {instructions}",
                       instructions <= EXAMPLE_INSTRUCTIONS))
    print(f"targets of {label}:")
    for text, ok in checks:
        print(f"  {'met    ' if ok else 'MISSED '} {text}")


PROGRAMS = {}


def example_instructions(label, folder):
    """Instructions of one example run under callgrind, which stay the same on a busy
    machine; None without valgrind."""
    if not os.access(VALGRIND, os.X_OK):
        return None
    with tempfile.TemporaryDirectory(prefix="vantrel-callgrind-") as work:
        argv = [VALGRIND, "--tool=callgrind", "--callgrind-out-file=/dev/null"]
        argv += tool_argv(PROGRAMS[label], os.path.join(folder, "example-plugin.json"))
        run = subprocess.run(argv, cwd=work, capture_output=True, text=True, check=True)
    found = re.search(r"Collected : (\d+)", run.stderr)
    return int(found.group(1)) if found else None


def parse_program(value):
    label, separator, path = value.partition("=")
    if not separator:
        label, path = "vantrel", value
    return label, os.path.abspath(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, action="append", type=parse_program,
                        help="[LABEL=]PATH of a built program; give several to compare them")
    parser.add_argument("--hello", required=True)
    parser.add_argument("--floor", help="PATH of bench/floor_copy, measured beside the programs")
    parser.add_argument("--inputs", required=True)
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    inputs = os.path.abspath(args.inputs)
    PROGRAMS.update(args.program)
    floor = os.path.abspath(args.floor) if args.floor else None
    results = measure(args.program, os.path.abspath(args.hello), floor, inputs, args.repeat)
    print_table(args.program, results, inputs)
    print_floor(args.program, results)
    for label, _ in args.program:
        check_targets(label, results, inputs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
