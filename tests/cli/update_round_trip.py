#!/usr/bin/env python3
"""run_case.py --update, proved on the committed cases: each case copied, its expected/
folder first spoiled (a wrong status, a stray stream, a missing and an extra file) and then
updated, must come out byte for byte as committed, and must pass run_case.py again."""
import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def spoil(expected):
    """Every kind of stale expectation --update has to replace or remove."""
    os.makedirs(os.path.join(expected, "files"), exist_ok=True)
    for name, data in (("status", b"99\n"), ("stdout", b"stale\n"), ("stderr", b"stale\n"),
                       (os.path.join("files", "stale.txt"), b"stale\n")):
        with open(os.path.join(expected, name), "wb") as f:
            f.write(data)
    for folder, _, names in os.walk(os.path.join(expected, "files")):
        for name in names:
            if name != "stale.txt":
                os.remove(os.path.join(folder, name))


def differences(want, got):
    """Paths that differ between two trees, either missing from one or with other bytes."""
    found = []
    if os.path.isdir(want) != os.path.isdir(got):
        return [want]
    if not os.path.isdir(want):
        return []
    compared = filecmp.dircmp(want, got)
    found += [os.path.join(got, n) for n in compared.left_only + compared.right_only]
    found += [os.path.join(got, n) for n in compared.diff_files + compared.funny_files]
    # dircmp compares by size and time first; compare every common file by its bytes.
    _, mismatch, errors = filecmp.cmpfiles(want, got, compared.common_files, shallow=False)
    found += [os.path.join(got, n) for n in mismatch + errors]
    for name in compared.common_dirs:
        found += differences(os.path.join(want, name), os.path.join(got, name))
    return sorted(set(found))


def run_case(program, case, *options):
    return subprocess.run([sys.executable, os.path.join(HERE, "run_case.py"),
                           "--program", program, *options, case],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("cases", nargs="+")
    args = parser.parse_args()
    failures = []
    with tempfile.TemporaryDirectory(prefix="vantrel-update-") as work:
        for source in args.cases:
            case = os.path.join(work, os.path.basename(source))
            shutil.copytree(source, case, symlinks=True)
            spoil(os.path.join(case, "expected"))
            updated = run_case(args.program, case, "--update")
            if updated.returncode != 0:
                failures.append(f"{source}: --update failed:\n{updated.stdout}")
                continue
            failures += [f"{source}: {path} differs after --update"
                         for path in differences(os.path.join(source, "expected"),
                                                 os.path.join(case, "expected"))]
            checked = run_case(args.program, case)
            if checked.returncode != 0:
                failures.append(f"{source}: the updated case fails:\n{checked.stdout}")
    print("\n".join(failures) if failures else f"{len(args.cases)} cases updated as committed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
