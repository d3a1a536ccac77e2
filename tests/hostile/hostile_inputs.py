#!/usr/bin/env python3
"""Runs the built program on inputs too big, too deep or too odd to keep as case folders.

Each check generates its input in a temporary folder, runs the program with a time limit and
compares the exit status, standard error and the files written byte for byte. A crash, a
hang, a sanitizer report (it changes the status and standard error) or a file left behind
after a failed write is a failure.

    hostile_inputs.py --program build/native/Sources/vantrel GROUP

GROUP is one of the names in GROUPS. VANTREL_SANITIZED=1 in the environment marks an
instrumented program: the time limit grows and the biggest input shrinks.
"""
import argparse
import os
import resource
import signal
import subprocess
import sys
import tempfile

SANITIZED = os.environ.get("VANTREL_SANITIZED") == "1"
TIME_LIMIT = 900 if SANITIZED else 120
MiB = 1024 * 1024
DEPTH = 1_000_000
ONE_PNG = b'{"type":"PNGI","file":"img/a.png","id":10001}'
ONE_PNG_IDTOFILE = b"10001.png img/a.png\na.png img/a.png\n"
ONE_PNG_R = b"read 'PNGI' (10001, \"a\") \"img/a.png\";\n"
ALL_OUTPUTS = ["--header", "out.h", "--adobe", "IDtoFile.txt", "--mac", "out.r",
               "--windows", "out.rc", "--pipl", "out.bin"]


class Failure(Exception):
    pass


def error_line(text):
    return b"Error: " + text + b"\n"


def snapshot(folder):
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def shorten(data):
    return repr(data if len(data) <= 300 else data[:300] + b"...")


class Runner:
    def __init__(self, program):
        self.program = program

    def run(self, args, inputs=None, stdin=b"", limit_file_size=None):
        """Runs the program in a fresh folder holding inputs; returns (status, stderr, files)
        where files are those created or changed."""
        with tempfile.TemporaryDirectory(prefix="vantrel-hostile-") as work:
            for name, data in (inputs or {}).items():
                with open(os.path.join(work, name), "wb") as f:
                    f.write(data)
            before = snapshot(work)

            def limit():
                if limit_file_size is not None:
                    # Writes past the limit then fail with EFBIG instead of killing the run.
                    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                    resource.setrlimit(resource.RLIMIT_FSIZE, (limit_file_size, limit_file_size))

            with tempfile.TemporaryFile() as stdin_file:
                stdin_file.write(stdin)
                stdin_file.seek(0)
                try:
                    result = subprocess.run([self.program] + args, cwd=work, stdin=stdin_file,
                                            stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                            timeout=TIME_LIMIT, preexec_fn=limit)
                except subprocess.TimeoutExpired:
                    raise Failure(f"no result after {TIME_LIMIT} s")
            after = snapshot(work)
        changed = {name: data for name, data in after.items() if before.get(name) != data}
        return result.returncode, result.stderr, changed

    def expect(self, args, status, stderr=b"", files=None, **run_options):
        actual_status, actual_stderr, actual_files = self.run(args, **run_options)
        problems = []
        if actual_status != status:
            problems.append(f"status {actual_status}, expected {status}")
        if actual_stderr != stderr:
            problems.append(f"stderr {shorten(actual_stderr)}, expected {shorten(stderr)}")
        files = files or {}
        for name in sorted(set(files) | set(actual_files)):
            if name not in actual_files:
                problems.append(f"{name} was not written")
            elif name not in files:
                problems.append(f"{name} was written but not expected")
            elif actual_files[name] != files[name]:
                problems.append(f"{name} is {shorten(actual_files[name])}, expected "
                                f"{shorten(files[name])}")
        if problems:
            raise Failure("; ".join(problems))
        return actual_files


# Each check takes the runner; it raises Failure or returns normally.

def nested_arrays(runner):
    text = b"[" * DEPTH + b"]" * DEPTH
    runner.expect(["--input", "in.json", "--adobe", "IDtoFile.txt", "--mac", "out.r"],
                  79, error_line(b"expected to fine JSON object at array index 0"),
                  inputs={"in.json": text})


def nested_objects(runner):
    text = b"[" + b'{"a":' * DEPTH + b"1" + b"}" * DEPTH + b"]"
    runner.expect(["--adobe", "IDtoFile.txt", "--mac", "out.r"],
                  80, error_line(b'expected "type" member at array index 0'), stdin=text)


def nested_and_unclosed(runner):
    for text in (b"[" * DEPTH, b'{"a":' * DEPTH, b"[" + b'{"a":[' * DEPTH):
        runner.expect(["--adobe", "IDtoFile.txt", "--mac", "out.r"],
                      77, error_line(b"JSON input could not be parsed"), stdin=text)


def nested_member_kept_with_resource(runner):
    """A deep tree that the loader keeps alive (an ignored member of a PiPL description)
    must not change the outputs and must be released without recursion."""
    description = (b'{"PluginType":"Illustrator","Name":"Deep","Version":'
                   b'{"Major":1,"Minor":0,"Revision":0}%s}')
    deep = b',"Ignored":' + b"[" * DEPTH + b"]" * DEPTH
    shallow_text = b'[{"type":"PiPL","id":16000,"data":' + description % b"" + b"}]"
    deep_text = b'[{"type":"PiPL","id":16000,"data":' + description % deep + b"}]"
    args = ["--input", "in.json"] + ALL_OUTPUTS
    status, stderr, expected = runner.run(args, inputs={"in.json": shallow_text})
    if status != 0 or stderr:
        raise Failure(f"the shallow description fails: status {status}, {shorten(stderr)}")
    runner.expect(args, 0, files=expected, inputs={"in.json": deep_text})


def input_of_200_mib(runner):
    size = (20 if SANITIZED else 200) * MiB  # instrumented runs are ~10x slower
    padding_line = b" " * 1023 + b"\n"
    text = b"[" + ONE_PNG + padding_line * (size // len(padding_line)) + b"]"
    runner.expect(["--input", "in.json", "--adobe", "IDtoFile.txt", "--mac", "out.r"], 0,
                  files={"IDtoFile.txt": ONE_PNG_IDTOFILE, "out.r": ONE_PNG_R},
                  inputs={"in.json": text})


def unclosed_string_of_100_mib(runner):
    body = b"a" * (100 * MiB)
    args = ["--adobe", "IDtoFile.txt", "--mac", "out.r"]
    # Inside a container the open string never closes: a syntax error.
    runner.expect(args, 77, error_line(b"JSON input could not be parsed"),
                  stdin=b'[{"type":"PNGI","file":"' + body)
    # As the whole document it is a complete (if unterminated) string: not an array.
    runner.expect(["--input", "in.json"] + args, 78,
                  error_line(b"Root JSON node is expected to be of type array"),
                  inputs={"in.json": b'"' + body})


def oversized_numbers(runner):
    args = ["--adobe", "IDtoFile.txt", "--mac", "out.r"]
    runner.expect(args, 79, error_line(b"expected to fine JSON object at array index 0"),
                  stdin=b"[" + b"9" * (10 * MiB) + b"]")
    runner.expect(args, 85, error_line(b'"id" member must be of type number and in the range '
                                       b"10000-32767(other values are reserved) at array index 0"),
                  stdin=b'[{"type":"X","file":"a/b","id":' + b"9" * 400 + b"}]")
    runner.expect(args, 0, files={"IDtoFile.txt": b"10000.X a/b\nb.X a/b\n",
                                  "out.r": b"read 'X' (10000, \"b\") \"a/b\";\n"},
                  stdin=b'[{"type":"X","file":"a/b","id":10000.' + b"0" * MiB + b"}]")


def write_fails_on_full_device(runner):
    runner.expect(["--adobe", "IDtoFile.txt", "--mac", "/dev/full"], 91,
                  error_line(b"cannot write to *.r output file at /dev/full"),
                  files={"IDtoFile.txt": ONE_PNG_IDTOFILE}, stdin=b"[" + ONE_PNG + b"]")
    # The byte image is written last; its failure is reported like the others'.
    pipl = (b'[{"type":"PiPL","data":{"PluginType":"Illustrator","Name":"n",'
            b'"Version":{"Major":1,"Minor":0,"Revision":0}}}]')
    args = ["--adobe", "IDtoFile.txt", "--mac", "out.r", "--pipl"]
    status, stderr, written = runner.run(args + ["out.bin"], stdin=pipl)
    if status != 0 or stderr or set(written) != {"out.r", "out.bin"}:
        raise Failure(f"--pipl out.bin: status {status}, {shorten(stderr)}, {sorted(written)}")
    del written["out.bin"]
    runner.expect(args + ["/dev/full"], 91,
                  error_line(b"cannot write to PiPL output file at /dev/full"),
                  files=written, stdin=pipl)


def write_fails_on_proc_file(runner):
    # The kernel lets root open /proc/version for writing but refuses every write.
    runner.expect(["--header", "/proc/version", "--adobe", "IDtoFile.txt", "--mac", "out.r"],
                  91, error_line(b"cannot write to header output file at /proc/version"),
                  stdin=b'[{"type":"PNGI","file":"img/a.png","id":10001,"define":"A"}]')


def read_only_folder(runner):
    if os.access("/sys", os.W_OK) and os.geteuid() != 0:
        raise Failure("/sys is writable here; no read-only folder to test with")
    path = "/sys/vantrel-hostile-out.txt"
    runner.expect(["--adobe", path, "--mac", "out.r"], 91,
                  error_line(b"cannot write to IDtoFile.txt output file at " + path.encode()),
                  stdin=b"[" + ONE_PNG + b"]")


def write_cut_short_leaves_no_partial_file(runner):
    """A write that stops part way (here at the file size limit, as on a full disk) fails
    the run and must not leave the truncated .r file behind for a build to pick up."""
    data = b"0123456789abcdef" * 8192  # 64 KiB of bytes, about 200 KiB of .r text
    text = (b'[{"type":"PNGI","file":"img/a.png","id":10001,"define":"A"},'
            b'{"type":"RAW","data":"' + data + b'","id":10002}]')
    runner.expect(["--header", "out.h", "--adobe", "IDtoFile.txt", "--mac", "out.r"], 91,
                  error_line(b"cannot write to *.r output file at out.r"),
                  files={"out.h": b'#define A_ID\t10001\n#define A_NAME\t"a"\n'
                                  b'#define A_FILE\t"img/a.png"\n',
                         "IDtoFile.txt": b"10001.png img/a.png\na.png img/a.png\n"},
                  stdin=text, limit_file_size=64 * 1024)


def same_path_for_two_outputs(runner):
    # Files are written in a fixed order, so the later output (.rc) is what stays.
    runner.expect(["--adobe", "IDtoFile.txt", "--mac", "both", "--windows", "both"], 0,
                  files={"IDtoFile.txt": ONE_PNG_IDTOFILE,
                         "both": b'10001 PNGI "img/a.png"\n"a" PNGI "img/a.png"\n'},
                  stdin=b"[" + ONE_PNG + b"]")


GROUPS = {
    "deep-nesting": [nested_arrays, nested_objects, nested_and_unclosed,
                     nested_member_kept_with_resource],
    "big-inputs": [input_of_200_mib, unclosed_string_of_100_mib, oversized_numbers],
    "output-failures": [write_fails_on_full_device, write_fails_on_proc_file, read_only_folder,
                        write_cut_short_leaves_no_partial_file, same_path_for_two_outputs],
}


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True)
    parser.add_argument("group", choices=sorted(GROUPS))
    args = parser.parse_args()
    runner = Runner(os.path.abspath(args.program))
    failed = 0
    for check in GROUPS[args.group]:
        try:
            check(runner)
            print(f"ok   {check.__name__}")
        except Failure as failure:
            failed += 1
            print(f"FAIL {check.__name__}: {failure}")
        sys.stdout.flush()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
