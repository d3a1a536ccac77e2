"""Cross-builds the sample plug-in, its vantrel_add_resources call asking for CHECK, as a
64-bit Windows DLL with MinGW-w64 against the installed package: the build passes while the
code exports the PiPL's entry point, and fails with the check's message, leaving no DLL
behind, once the entry point is renamed; mending the code makes the next build pass."""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from sample_project import install_package_and_copy_sample, run

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The sample carries two PiPLs, the Illustrator one first; both name PluginMain.
MESSAGE = ("Error: PiPL 1 of 2: the x64 code does not export \"PluginMain\", the entry point that "
           "'wx86' names")
OPTIONS = None


def inspect_supported(program):
    """The check needs the program's --inspect mode."""
    result = subprocess.run([program, "--inspect", os.devnull], capture_output=True, timeout=60)
    return b"bad program argument" not in result.stderr


class SampleCheckTest(unittest.TestCase):
    def test_a_renamed_entry_point_fails_the_build(self):
        if not shutil.which("x86_64-w64-mingw32-g++"):
            self.skipTest("MinGW-w64 is not installed")
        if not inspect_supported(os.path.join(OPTIONS.build_dir, "Sources", "vantrel")):
            self.skipTest("this program has no --inspect mode yet")
        with tempfile.TemporaryDirectory() as folder:
            prefix, source = install_package_and_copy_sample(OPTIONS.build_dir, folder)
            self.ask_for_check(source)
            build = os.path.join(folder, "plugin build")
            configure = run(["cmake", "-S", source, "-B", build, "-G", "Ninja",
                             "-DCMAKE_TOOLCHAIN_FILE="
                             + os.path.join(ROOT, "cmake", "toolchain-mingw64.cmake"),
                             "-Dvantrel_DIR=" + os.path.join(prefix, "share", "cmake", "vantrel")])
            self.assertEqual(configure.returncode, 0, configure.stdout + configure.stderr)
            self.build_passes(build)

            code = os.path.join(source, "src", "plugin.cpp")
            with open(code) as f:
                original = f.read()
            with open(code, "w") as f:
                f.write(original.replace("int PluginMain(", "int FilterPluginMain("))
            result = run(["cmake", "--build", build])
            self.assertNotEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertIn(MESSAGE + "\n", result.stdout + result.stderr)
            self.assertEqual(self.dlls(build), [])

            with open(code, "w") as f:
                f.write(original)
            self.build_passes(build)

    def ask_for_check(self, source):
        path = os.path.join(source, "CMakeLists.txt")
        with open(path) as f:
            text = f.read()
        if "\n  CHECK" not in text:
            self.assertIn("PIPL resources/sample.pipl)", text)
            with open(path, "w") as f:
                f.write(text.replace("PIPL resources/sample.pipl)",
                                     "PIPL resources/sample.pipl\n  CHECK)"))

    def build_passes(self, build):
        result = run(["cmake", "--build", build])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertNotIn("Error:", result.stdout + result.stderr)
        self.assertEqual(len(self.dlls(build)), 1)

    def dlls(self, build):
        return [name for name in os.listdir(build) if name.endswith(".dll")]


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.build_dir = os.path.abspath(OPTIONS.build_dir)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
