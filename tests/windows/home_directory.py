#!/usr/bin/env python3
"""Checks where a leading "~" leads the Windows program: to HOME when it is set (also when it
holds non-ASCII characters), else to the profile folder the shell reports."""
import argparse
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

RESOURCES = b'[{"type":"PNGI","file":"images/icon.png","id":12345,"name":"My_Image"}]\n'
ID_TO_FILE = b"12345.png images/icon.png\r\nMy_Image.png images/icon.png\r\n"
RC_TEXT = b'12345 PNGI "images/icon.png"\r\n"My_Image" PNGI "images/icon.png"\r\n'


def run_in_home(args, env, tilde, folder):
    """Runs the program with its paths under tilde ("~" or "~/sub") and checks the files it
    wrote into folder, the Unix folder that tilde should stand for."""
    with open(os.path.join(folder, "resources.json"), "wb") as f:
        f.write(RESOURCES)
    command = args.emulator.split("|") + [
        args.program, "--input", tilde + "/resources.json", "--adobe", tilde + "/IDtoFile.txt",
        "--windows", (tilde + "/out.rc").replace("/", "\\")]
    with tempfile.TemporaryDirectory(prefix="vantrel-cwd-") as cwd:
        run = subprocess.run(command, cwd=cwd, env=env, capture_output=True, timeout=120)
        stray = os.listdir(cwd)
    failures = []
    if run.returncode != 0 or run.stderr:
        failures.append(f"status {run.returncode}, stderr {run.stderr!r}")
    if stray:
        failures.append(f"files written to the working folder instead: {stray}")
    for name, expected in (("IDtoFile.txt", ID_TO_FILE), ("out.rc", RC_TEXT)):
        path = os.path.join(folder, name)
        actual = open(path, "rb").read() if os.path.exists(path) else None
        if actual != expected:
            failures.append(f"{name} in {folder}: expected {expected!r}, found {actual!r}")
    return failures


def check_home_variable(args, folder_name):
    with tempfile.TemporaryDirectory(prefix="vantrel-home-") as parent:
        home = os.path.join(parent, folder_name)
        os.mkdir(home)
        return run_in_home(args, dict(os.environ, HOME=home), "~", home)


def check_profile_fallback(args):
    """Without HOME: the profile folder inside the Wine prefix, named after the user. The
    files go to a fresh subfolder of it, named in the paths after the "~"."""
    prefix = args.emulator.split("|")[1]
    # The first run in a build folder makes the prefix, and with it the profile folder.
    subprocess.run(args.emulator.split("|") + [args.program, "--help"], capture_output=True,
                   timeout=300)
    profile = os.path.join(prefix, "drive_c", "users", pwd.getpwuid(os.getuid()).pw_name)
    if not os.path.isdir(profile):
        return [f"no profile folder {profile} in the Wine prefix"]
    folder = tempfile.mkdtemp(prefix="vantrel-home-", dir=profile)
    try:
        env = {name: value for name, value in os.environ.items() if name != "HOME"}
        return run_in_home(args, env, "~/" + os.path.basename(folder), folder)
    finally:
        shutil.rmtree(folder)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--emulator", required=True, help="wine-run and its prefix, joined by |")
    parser.add_argument("--program", required=True)
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    failures = []
    for label, check in (
            ("HOME set", lambda: check_home_variable(args, "home")),
            ("HOME with non-ASCII characters", lambda: check_home_variable(args, "h\u00f6me-\u65e5\u672c")),
            ("HOME unset", lambda: check_profile_fallback(args))):
        failures += [f"{label}: {failure}" for failure in check()]
    print("\n".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
