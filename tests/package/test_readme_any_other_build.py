"""Runs the commands of the README's "Any other build" section as written, in a copy of
examples/cmake-plugin with the built program first on PATH: the Rez-free Mac resource
file, the .res and the depfile are written, and MinGW's windres turns the .res into an
object file."""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
OPTIONS = None


def section_commands():
    with open(os.path.join(ROOT, "README.md")) as f:
        text = f.read()
    section = text[text.index("### Any other build"):]
    return re.search(r"```sh\n(.*?)```", section, re.S).group(1)


class AnyOtherBuild(unittest.TestCase):
    def test_commands_run_as_written(self):
        if not shutil.which("x86_64-w64-mingw32-windres"):
            self.skipTest("MinGW-w64 windres is not installed")
        with tempfile.TemporaryDirectory() as temp:
            project = os.path.join(temp, "project")
            shutil.copytree(os.path.join(ROOT, "examples", "cmake-plugin"), project)
            path = os.path.dirname(OPTIONS.program) + os.pathsep + os.environ["PATH"]
            result = subprocess.run(["sh", "-e", "-c", section_commands()], cwd=project,
                                    env=dict(os.environ, PATH=path), capture_output=True,
                                    text=True, timeout=120)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            folder = os.path.join(project, "resources")
            for name in ["IDtoFile.txt", "plugin.rsrc", "plugin.res", "resources.d",
                         "plugin_res.o"]:
                self.assertGreater(os.path.getsize(os.path.join(folder, name)), 0, name)
            with open(os.path.join(folder, "plugin_res.o"), "rb") as f:
                self.assertEqual(f.read(2), b"\x64\x86")  # COFF, x86-64


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.program = os.path.abspath(OPTIONS.program)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
