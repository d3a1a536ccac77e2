#!/usr/bin/env python3
"""Runs the built program on inputs too big, too deep or too odd to keep as case folders,
and as a build runs it, over the outputs of earlier runs, killed at any moment.

Each check generates its input in a temporary folder, runs the program with a time limit and
compares the exit status, standard error and the files written byte for byte. A crash, a
hang, a sanitizer report (it changes the status and standard error), a file left behind
after a failed write or an output left half written by a killed run is a failure.

    hostile_inputs.py --program build/native/Sources/vantrel GROUP

GROUP is one of the names in GROUPS. VANTREL_SANITIZED=1 in the environment marks an
instrumented program: the time limit grows and the biggest input shrinks.
"""
import argparse
import json
import os
import random
import re
import resource
import signal
import subprocess
import sys
import tempfile
import threading
import time

SANITIZED = os.environ.get("VANTREL_SANITIZED") == "1"
TIME_LIMIT = 900 if SANITIZED else 120
MiB = 1024 * 1024
DEPTH = 1_000_000
ONE_PNG = b'{"type":"PNGI","file":"img/a.png","id":10001}'
ONE_PNG_IDTOFILE = b"10001.png img/a.png\na.png img/a.png\n"
ONE_PNG_R = b"read 'PNGI' (10001, \"a\") \"img/a.png\";\n"
OUTPUT_NAMES = {"--header": "out.h", "--adobe": "IDtoFile.txt", "--mac": "out.r",
                "--windows": "out.rc", "--pipl": "out.bin"}
ALL_OUTPUTS = [word for option in OUTPUT_NAMES.items() for word in option]
KILLS = 60
TEMPORARY = re.compile(r"\.vantrel-[0-9a-f]{16}-[0-9]+\.tmp")


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

    def run(self, args, inputs=None, stdin=b"", limit_file_size=None, limit_address_space=None):
        """Runs the program in a fresh folder holding inputs; returns (status, stderr, files)
        where files are those created or changed, and those removed with the value None."""
        with tempfile.TemporaryDirectory(prefix="vantrel-hostile-") as work:
            write_files(work, inputs or {})
            before = snapshot(work)

            def limit():
                if limit_file_size is not None:
                    # Writes past the limit then fail with EFBIG instead of killing the run.
                    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                    resource.setrlimit(resource.RLIMIT_FSIZE, (limit_file_size, limit_file_size))
                if limit_address_space is not None:
                    resource.setrlimit(resource.RLIMIT_AS, (limit_address_space,) * 2)

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
        changed.update({name: None for name in before if name not in after})
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
            elif actual_files[name] is None:
                problems.append(f"{name} was removed")
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


OLD_OUTPUTS = {"out.h": b"old header\n", "IDtoFile.txt": b"old idtofile\n", "out.r": b"old r\n"}


def write_fails_on_full_device(runner):
    """A device that refuses the bytes fails the run before any output is replaced."""
    runner.expect(["--adobe", "IDtoFile.txt", "--mac", "/dev/full"], 91,
                  error_line(b"cannot write to *.r output file at /dev/full"),
                  stdin=b"[" + ONE_PNG + b"]", inputs=OLD_OUTPUTS)
    # The byte image is written last; its failure is reported like the others'.
    pipl = (b'[{"type":"PiPL","data":{"PluginType":"Illustrator","Name":"n",'
            b'"Version":{"Major":1,"Minor":0,"Revision":0}}}]')
    runner.expect(["--adobe", "IDtoFile.txt", "--mac", "out.r", "--pipl", "/dev/full"], 91,
                  error_line(b"cannot write to PiPL output file at /dev/full"),
                  stdin=pipl, inputs=OLD_OUTPUTS)


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


def write_cut_short_keeps_old_outputs(runner):
    """A write that stops part way (here at the file size limit, as on a full disk) fails
    the run; every output keeps its old content and no temporary file is left behind."""
    data = b"0123456789abcdef" * 8192  # 64 KiB of bytes, about 200 KiB of .r text
    text = (b'[{"type":"PNGI","file":"img/a.png","id":10001,"define":"A"},'
            b'{"type":"RAW","data":"' + data + b'","id":10002}]')
    runner.expect(["--header", "out.h", "--adobe", "IDtoFile.txt", "--mac", "out.r"], 91,
                  error_line(b"cannot write to *.r output file at out.r"),
                  stdin=text, inputs=OLD_OUTPUTS, limit_file_size=64 * 1024)


def refused_entry_after_streamed_pieces_keeps_old_outputs(runner):
    """The texts reach their temporaries in pieces while the run goes on: an entry refused
    after several pieces were written still leaves every output as it was, and no
    temporary behind."""
    data = random.Random(4).randbytes(3 * MiB).hex().encode()
    text = (b'[{"type":"RAW","data":"' + data + b'","id":10002,"name":"Blob","define":"B"},'
            b'{"type":"RAW","data":"00g0","id":10003}]')
    runner.expect(["--header", "out.h", "--adobe", "IDtoFile.txt", "--mac", "out.r",
                   "--windows", "out.rc"], 89,
                  error_line(b'data for RAW : 10003 must be in stringified hex format (i.e. '
                             b'"1a2b3c56..."), but found char \'g\' in string'),
                  stdin=text, inputs=dict(OLD_OUTPUTS, **{"out.rc": b"old rc\n"}))


def same_path_for_two_outputs(runner):
    # One output would silently lose the other: refused before anything is written.
    runner.expect(["--adobe", "IDtoFile.txt", "--mac", "both", "--windows", "both"], 93,
                  error_line(b"*.rc output file at both is the same file as the *.r output "
                             b"file at both"),
                  stdin=b"[" + ONE_PNG + b"]")


# Runs as a build makes them, over the outputs of earlier runs. Each check returns nothing
# or a note to print.

def resource_list(seed, data_size):
    """A list whose outputs total about ten times data_size: a named data resource (its
    bytes twice in the .rc), a file resource with a define and an Illustrator PiPL.
    Lists with other seeds give the same kinds of output with other bytes."""
    data = random.Random(seed).randbytes(data_size)
    return json.dumps([
        {"type": "PNGI", "file": f"img/icon{seed}.png", "id": 10001, "define": f"ICON{seed}"},
        {"type": "RAW", "data": data.hex(), "id": 10002, "name": "Blob"},
        {"type": "PiPL", "id": 16000, "data": {"PluginType": "Illustrator", "Name": f"P{seed}",
                                               "Version": {"Major": 1, "Minor": 0,
                                                           "Revision": 0}}},
    ]).encode()


def arguments(program, list_name):
    return [program, "--input", list_name] + ALL_OUTPUTS


def read_outputs(folder):
    outputs = {}
    for name in OUTPUT_NAMES.values():
        with open(os.path.join(folder, name), "rb") as f:
            outputs[name] = f.read()
    return outputs


def write_files(folder, files):
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def run_to_end(program, folder, list_name):
    """Runs the program to its end; returns the seconds it took."""
    start = time.perf_counter()
    result = subprocess.run(arguments(program, list_name), cwd=folder, capture_output=True,
                            timeout=TIME_LIMIT)
    elapsed = time.perf_counter() - start
    if result.returncode != 0 or result.stderr:
        raise Failure(f"status {result.returncode}, stderr {result.stderr[:300]!r}")
    return elapsed


def left_over(folder, inputs):
    return sorted(set(os.listdir(folder)) - set(OUTPUT_NAMES.values()) - set(inputs))


def killed_runs_leave_old_or_new_outputs(runner):
    """Kills the program at moments spread evenly over a run that replaces about 40 MiB of
    outputs with others: afterwards each output must be byte-equal to its old or its new
    content, and anything else left must be a temporary, named as such, that the next
    successful run leaves alone."""
    program = runner.program
    data_size = (1 if SANITIZED else 4) * MiB
    inputs = {"old.json": resource_list(1, data_size), "new.json": resource_list(2, data_size)}
    with tempfile.TemporaryDirectory(prefix="vantrel-killed-") as folder:
        write_files(folder, inputs)
        run_to_end(program, folder, "old.json")
        old = read_outputs(folder)
        duration = run_to_end(program, folder, "new.json")
        new = read_outputs(folder)
        write_files(folder, old)
        duration = min(duration, run_to_end(program, folder, "new.json"))
        for name in OUTPUT_NAMES.values():
            if old[name] == new[name]:
                raise Failure(f"{name} is the same for both lists")

        outcomes = {"all old": 0, "some replaced": 0, "all new": 0, "left temporaries": 0}
        kept_temporaries = []
        # The leak check of an instrumented run works from a helper process that outlives
        # a kill at the run's end and reports that it lost the run; a killed run has no
        # leaks to check anyway.
        killed_environment = dict(os.environ, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "")
                                  + ":detect_leaks=0")
        started = time.perf_counter()
        for kill in range(KILLS):
            write_files(folder, old)
            process = subprocess.Popen(arguments(program, "new.json"), cwd=folder,
                                       env=killed_environment, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            # A tenth past the measured end too: a run among the kills may take longer.
            time.sleep(1.1 * duration * (kill + 0.5) / KILLS)
            process.send_signal(signal.SIGKILL)
            process.wait()
            states = []
            outputs = read_outputs(folder)
            for name, data in outputs.items():
                if data not in (old[name], new[name]):
                    raise Failure(f"kill {kill + 1} of {KILLS}: {name} is neither old nor new "
                                  f"({len(data)} bytes; old {len(old[name])}, new "
                                  f"{len(new[name])})")
                states.append(data == new[name])
            outcomes["all new" if all(states) else "some replaced" if any(states)
                     else "all old"] += 1
            left = left_over(folder, inputs)
            outcomes["left temporaries"] += bool(left)
            for name in left:
                if not TEMPORARY.fullmatch(name):
                    raise Failure(f"kill {kill + 1}: {name} left behind")
                if not kept_temporaries:
                    kept_temporaries.append(name)
                elif name not in kept_temporaries:
                    os.remove(os.path.join(folder, name))
        elapsed = time.perf_counter() - started

        if not kept_temporaries:
            raise Failure("no kill left a temporary, so their removal went untested")
        write_files(folder, old)
        run_to_end(program, folder, "new.json")
        # Another run's temporary may belong to a live run (in another PID namespace too):
        # it stays, and only the run's own are gone.
        left = left_over(folder, inputs)
        if left != kept_temporaries:
            raise Failure(f"a successful run left {left}, expected {kept_temporaries}")
        if read_outputs(folder) != new:
            raise Failure("a successful run after the kills wrote other outputs")
    return (f"{KILLS} kills over a {duration:.2f} s run in {elapsed:.1f} s: "
            + ", ".join(f"{count} {outcome}" for outcome, count in outcomes.items()))


def unchanged_outputs_keep_their_time_stamps(runner):
    """A second run with the same list rewrites nothing: every output keeps its time stamp
    (set into the past, so that a rewrite cannot go unnoticed within the clock's step)."""
    program = runner.program
    # Small outputs are compared whole; those of 2 MiB of data reach their temporaries in
    # pieces, and the finished temporary is compared.
    for data_size in (1024, 2 * MiB):
        with tempfile.TemporaryDirectory(prefix="vantrel-unchanged-") as folder:
            write_files(folder, {"in.json": resource_list(3, data_size)})
            run_to_end(program, folder, "in.json")
            stamps = {}
            for name in OUTPUT_NAMES.values():
                path = os.path.join(folder, name)
                os.utime(path, ns=(1_000_000_000, 1_000_000_000))
                stamps[name] = os.stat(path).st_mtime_ns
            run_to_end(program, folder, "in.json")
            for name in OUTPUT_NAMES.values():
                if os.stat(os.path.join(folder, name)).st_mtime_ns != stamps[name]:
                    raise Failure(f"{name} of a {data_size}-byte entry was written again")
            if left_over(folder, ["in.json"]):
                raise Failure(f"left behind: {left_over(folder, ['in.json'])}")


def rez_data_bytes(text):
    """The bytes of every data statement of a .r text, read as Rez reads $"..." lines."""
    statements = re.findall(rb"data '[^']*' \([^)]*\) \{((?:\n\t\$\"[0-9a-fA-F ]*\")*)\n\};\n",
                            text)
    return [bytes.fromhex(re.sub(rb'[\n\t$" ]', b"", body).decode()) for body in statements]


def rc_data_bytes(text):
    """The bytes of every raw-data block of a .rc text, its octal escapes decoded."""
    blocks = re.findall(rb' [^ \n]+ \{\n\t"((?:\\[0-7]{1,3})*)"\n\}\n', text)
    return [bytes(int(escape, 8) for escape in re.findall(rb"\\([0-7]{1,3})", block))
            for block in blocks]


def streamed_outputs_hold_every_byte(runner):
    """Texts of many pieces come out whole: the .r and both .rc blocks of a 5 MiB entry give
    its bytes back, and the .r is the one a special file, which gets its text at once,
    receives."""
    program = runner.program
    data = random.Random(5).randbytes(5 * MiB)
    list_text = json.dumps([{"type": "RAW", "data": data.hex(), "id": 10002,
                             "name": "Blob"}]).encode()
    with tempfile.TemporaryDirectory(prefix="vantrel-streamed-") as folder:
        write_files(folder, {"in.json": list_text})
        run = subprocess.run([program, "--input", "in.json", "--adobe", "IDtoFile.txt", "--mac",
                              "out.r", "--windows", "out.rc"], cwd=folder, capture_output=True, timeout=TIME_LIMIT)
        if run.returncode != 0 or run.stderr:
            raise Failure(f"status {run.returncode}, stderr {run.stderr[:300]!r}")
        outputs = {name: open(os.path.join(folder, name), "rb").read()
                   for name in ("out.r", "out.rc")}
        to_stdout = subprocess.run([program, "--input", "in.json", "--adobe", "IDtoFile.txt",
                                    "--mac", "/dev/stdout"],
                                   cwd=folder, capture_output=True, timeout=TIME_LIMIT)
        if sorted(os.listdir(folder)) != ["in.json", "out.r", "out.rc"]:  # IDtoFile.txt is empty
            raise Failure(f"left behind: {sorted(os.listdir(folder))}")
    if rez_data_bytes(outputs["out.r"]) != [data]:
        raise Failure("the .r text does not give the bytes back")
    if rc_data_bytes(outputs["out.rc"]) != [data, data]:
        raise Failure("the .rc blocks do not give the bytes back")
    if to_stdout.returncode != 0 or to_stdout.stdout != outputs["out.r"]:
        raise Failure(f"/dev/stdout got {len(to_stdout.stdout)} bytes, status "
                      f"{to_stdout.returncode}; the file got {len(outputs['out.r'])}")
    return f"{len(outputs['out.r'])} bytes of .r, {len(outputs['out.rc'])} of .rc"


def special_outputs_are_written_directly(runner):
    """A pipe and /dev/stdout (to a pipe or to a file) cannot be replaced: they get the
    bytes as they are, and nothing is created beside them."""
    program = runner.program
    header = b'#define A_ID\t10001\n#define A_NAME\t"a"\n#define A_FILE\t"img/a.png"\n'
    list_text = b'[{"type":"PNGI","file":"img/a.png","id":10001,"define":"A"}]'
    base = [program, "--adobe", "IDtoFile.txt", "--mac", "out.r", "--header"]
    with tempfile.TemporaryDirectory(prefix="vantrel-special-") as folder:
        to_pipe = subprocess.run(base + ["/dev/stdout"], cwd=folder, input=list_text,
                                 capture_output=True, timeout=TIME_LIMIT)
        with open(os.path.join(folder, "stdout.txt"), "w+b") as stdout_file:
            stdout_file.write(b"old text that is longer than the header" * 10)
            stdout_file.flush()
            to_file = subprocess.run(base + ["/dev/stdout"], cwd=folder, input=list_text,
                                     stdout=stdout_file, stderr=subprocess.PIPE,
                                     timeout=TIME_LIMIT)
            stdout_file.seek(0)
            file_content = stdout_file.read()
        fifo = os.path.join(folder, "fifo")
        os.mkfifo(fifo)
        received = []
        reader = threading.Thread(target=lambda: received.append(open(fifo, "rb").read()))
        reader.start()
        to_fifo = subprocess.run(base + ["fifo"], cwd=folder, input=list_text,
                                 capture_output=True, timeout=TIME_LIMIT)
        reader.join(TIME_LIMIT)
        results = {"/dev/stdout to a pipe": (to_pipe, to_pipe.stdout),
                   "/dev/stdout to a file": (to_file, file_content),
                   "a FIFO": (to_fifo, received[0] if received else b"")}
        for what, (result, written) in results.items():
            if result.returncode != 0 or result.stderr or written != header:
                raise Failure(f"{what}: status {result.returncode}, stderr "
                              f"{result.stderr!r}, written {written[:300]!r}")
        left = left_over(folder, ["stdout.txt", "fifo"])
        if left:
            raise Failure(f"{left} left behind")


# Proofs that a failed run changes nothing, and that runs in other PID namespaces leave each
# other alone. They need root for mount and PID namespaces, and skip cleanly without it.

def namespaces_allowed(*flags):
    if os.geteuid() != 0:
        return False
    probe = subprocess.run(["unshare", *flags, "true"], capture_output=True)
    return probe.returncode == 0


PROOF_LIST = resource_list(5, 4096)


def rename_failure_keeps_old_outputs(runner):
    """A bind mount over one output makes the rename onto it fail (EBUSY) after the outputs
    before it were replaced: those get their old content back, and nothing is left over."""
    if not namespaces_allowed("-m"):
        return "skipped: no mount namespace here"
    old = {name: b"old " + name.encode() + b"\n" for name in OUTPUT_NAMES.values()}
    with tempfile.TemporaryDirectory(prefix="vantrel-busy-") as folder:
        write_files(folder, dict(old, **{"in.json": PROOF_LIST, "mounted": old["out.rc"]}))
        script = ('mount --bind mounted out.rc && exec "$0" "$@"')
        run = subprocess.run(["unshare", "-m", "sh", "-c", script]
                             + arguments(runner.program, "in.json"), cwd=folder,
                             capture_output=True, timeout=TIME_LIMIT)
        if run.returncode != 91 or run.stderr != error_line(
                b"cannot write to *.rc output file at out.rc"):
            raise Failure(f"status {run.returncode}, {shorten(run.stderr)}")
        if read_outputs(folder) != old:
            raise Failure("an output lost its old content")
        left = left_over(folder, ["in.json", "mounted"])
        if left:
            raise Failure(f"{left} left behind")
    return None


def runs_in_two_pid_namespaces(runner):
    """Two runs at once in one folder, each in a PID namespace of its own (so both have
    process ID 1): 30 pairs, every run succeeds, every output is whole, nothing is left."""
    if not namespaces_allowed("-pf"):
        return "skipped: no PID namespace here"
    with tempfile.TemporaryDirectory(prefix="vantrel-pidns-") as folder:
        write_files(folder, {"in.json": PROOF_LIST})
        run_to_end(runner.program, folder, "in.json")
        expected = read_outputs(folder)
        for pair in range(30):
            for name in OUTPUT_NAMES.values():
                os.remove(os.path.join(folder, name))
            runs = [subprocess.Popen(["unshare", "-pf"] + arguments(runner.program, "in.json"),
                                     cwd=folder, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
                    for _ in range(2)]
            for run in runs:
                _, stderr = run.communicate(timeout=TIME_LIMIT)
                if run.returncode != 0 or stderr:
                    raise Failure(f"pair {pair + 1}: status {run.returncode}, {shorten(stderr)}")
            if read_outputs(folder) != expected:
                raise Failure(f"pair {pair + 1}: an output differs")
            left = left_over(folder, ["in.json"])
            if left:
                raise Failure(f"pair {pair + 1}: {left} left behind")
    return "30 pairs"


def out_of_memory_keeps_old_outputs(runner):
    """Under a small address-space limit a big list runs out of memory: the Error line,
    status 94, and every output as it was. The list is read whole, then its two strings
    are copied out of it (neither is most of the input, so neither keeps its buffer), which
    needs more than the limit."""
    if SANITIZED:
        return "skipped: the sanitizer's shadow memory needs more than the limit"
    limit = 256 * MiB
    data = b"00" * (48 * MiB)
    text = (b'[{"type":"RAW","data":"' + data + b'","id":10002,"name":"Blob"},'
            b'{"type":"RAW","data":"' + data + b'","id":10003,"name":"Blob2"}]')
    runner.expect(["--input", "in.json"] + ALL_OUTPUTS, 94, error_line(b"out of memory"),
                  inputs=dict({name: b"old\n" for name in OUTPUT_NAMES.values()},
                              **{"in.json": text}),
                  limit_address_space=limit)


GROUPS = {
    "deep-nesting": [nested_arrays, nested_objects, nested_and_unclosed,
                     nested_member_kept_with_resource],
    "big-inputs": [input_of_200_mib, unclosed_string_of_100_mib, oversized_numbers],
    "output-failures": [write_fails_on_full_device, write_fails_on_proc_file, read_only_folder,
                        write_cut_short_keeps_old_outputs,
                        refused_entry_after_streamed_pieces_keeps_old_outputs,
                        same_path_for_two_outputs],
    "output-replacement": [killed_runs_leave_old_or_new_outputs,
                           unchanged_outputs_keep_their_time_stamps,
                           special_outputs_are_written_directly,
                           streamed_outputs_hold_every_byte],
    "output-proofs": [rename_failure_keeps_old_outputs, runs_in_two_pid_namespaces,
                      out_of_memory_keeps_old_outputs],
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
            note = check(runner)
            print(f"ok   {check.__name__}" + (f": {note}" if note else ""))
        except Failure as failure:
            failed += 1
            print(f"FAIL {check.__name__}: {failure}")
        sys.stdout.flush()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
