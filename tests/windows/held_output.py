#!/usr/bin/env python3
"""Runs the Windows program while another program holds its .rc output open without
FILE_SHARE_DELETE: the rename onto it fails after the header, IDtoFile.txt and .r were
replaced, so the run must end with 91 and put every output's old content back."""
import argparse
import os
import subprocess
import sys
import tempfile

LIST = (b'[{"type":"PNGI","file":"img/a.png","id":10001,"define":"A"},'
        b'{"type":"RAW","data":"00ff","id":10002}]')
OUTPUTS = {"--header": "out.h", "--adobe": "IDtoFile.txt", "--mac": "out.r",
           "--windows": "out.rc"}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--emulator", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("probe")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vantrel-held-") as folder:
        old = {name: b"old " + name.encode() + b"\r\n" for name in OUTPUTS.values()}
        for name, data in dict(old, **{"in.json": LIST}).items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
        arguments = ["--input", "in.json"] + [w for o in OUTPUTS.items() for w in o]
        command = args.emulator.split("|") + [args.probe, "out.rc", args.program] + arguments
        run = subprocess.run(command, cwd=folder, capture_output=True, timeout=300)
        failures = []
        expected_error = b"Error: cannot write to *.rc output file at out.rc\r\n"
        if run.returncode != 91 or run.stderr.replace(b"\r\n", b"\n") != \
                expected_error.replace(b"\r\n", b"\n"):
            failures.append(f"status {run.returncode}, stderr {run.stderr!r}")
        for name, data in old.items():
            with open(os.path.join(folder, name), "rb") as f:
                if f.read() != data:
                    failures.append(f"{name} lost its old content")
        left = sorted(set(os.listdir(folder)) - set(old) - {"in.json"})
        if left:
            failures.append(f"{left} left behind: "
                            + repr([open(os.path.join(folder, n), "rb").read()[:80] for n in left]))
    for failure in failures:
        print("FAIL", failure)
    print("ok" if not failures else f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
