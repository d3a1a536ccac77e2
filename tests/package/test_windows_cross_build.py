"""Cross-builds the sample plug-in as a 64-bit and a 32-bit Windows DLL with MinGW-w64
against the installed package: vantrel_add_resources compiles the generated .rc into the
DLL, and the resource compiler finds the images the list names (relative to the list's
folder). The 32-bit build also shows that the package of a 64-bit program serves it.

GNU windres reads two adjacent quoted strings as one, so a named file line right after a
file line ("tool" after "images/tool.png") is taken as part of the file name; the list
used here therefore gives its file resources an empty name, which keeps them to their
ID-keyed line.
"""
import argparse
import json
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


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, timeout=300, **kwargs)


def windows_pipl_bytes():
    """The Windows property list of the sample's PiPL, read from the expected .rc block."""
    with open(os.path.join(HERE, "expected", "sample-plugin", "sample.rc")) as f:
        block = re.search(r'^16000 PiPL \{\n\t"(.*)"\n\}$', f.read(), re.M).group(1)
    return bytes(int(code, 8) for code in block.split("\\")[1:])


class WindowsCrossBuildTest(unittest.TestCase):
    def test_rc_is_compiled_into_the_dll_with_the_listed_files(self):
        for bits in ["64", "32"]:
            with self.subTest(windows=bits):
                self.cross_build_and_check(bits)

    def cross_build_and_check(self, bits):
        with tempfile.TemporaryDirectory() as temp:
            prefix = os.path.join(temp, "prefix")
            install = run(["cmake", "--install", OPTIONS.build_dir, "--prefix", prefix])
            self.assertEqual(install.returncode, 0, install.stdout + install.stderr)
            source = os.path.join(temp, "sample plugin")
            shutil.copytree(os.path.join(ROOT, "examples", "cmake-plugin"), source)
            list_path = os.path.join(source, "resources", "resources.json")
            with open(list_path) as f:
                resources = json.load(f)
            for entry in resources:
                if "file" in entry:
                    entry["name"] = ""
            with open(list_path, "w") as f:
                json.dump(resources, f, indent=2)

            build = os.path.join(temp, "plugin build")
            # The toolchain finds packages only under the MinGW root: point at this one.
            configure = run(["cmake", "-S", source, "-B", build, "-G", "Ninja",
                             "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(ROOT, "cmake", f"toolchain-mingw{bits}.cmake"),
                             "-Dvantrel_DIR=" + os.path.join(prefix, "share", "cmake", "vantrel")])
            self.assertEqual(configure.returncode, 0, configure.stdout + configure.stderr)
            result = run(["cmake", "--build", build])
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

            with open(os.path.join(build, "resources", "sample.rc")) as f:
                self.assertIn('10000 PNGI "images/tool.png"\n', f.read())
            dlls = [name for name in os.listdir(build) if name.endswith(".dll")]
            self.assertEqual(len(dlls), 1, os.listdir(build))
            with open(os.path.join(build, dlls[0]), "rb") as f:
                dll = f.read()
            for listed in ["images/tool.png", "images/tool@2x.png", "art/logo.svg"]:
                with self.subTest(file=listed):
                    with open(os.path.join(source, "resources", listed), "rb") as f:
                        self.assertIn(f.read(), dll)
            pipl = windows_pipl_bytes()
            self.assertEqual(len(pipl), 98)
            self.assertIn(pipl, dll)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.build_dir = os.path.abspath(OPTIONS.build_dir)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
