#!/usr/bin/env python3
"""Cross-builds examples/cmake-plugin on Linux as a macOS bundle with the project's Zig
toolchain, against the installed package, and reads the bundle's Contents/Resources/
resource file with the tests' own reader of the resource file format: it holds exactly the
resources of the .r text the same build wrote (its PiPL, its aete when the .r has one, and
every listed image with the file's bytes), and Contents/MacOS/ holds the Mach-O code. The
sample asks for CHECK, which fails the arm64 build: its PiPL names x86_64 code.
Zig 0.11 cannot link an MH_BUNDLE, so the code is linked as a dylib (zig_module_as_dylib.cmake).

    cmake_bundle.py --build-dir <native build with vantrel> [--arch x86_64|arm64]
"""
import argparse
import json
import os
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tests", "package"))
sys.path.insert(0, os.path.join(ROOT, "tests", "compiled"))
from sample_project import install_package_and_copy_sample, run  # noqa: E402
from compiled_resources import parse_r, read_rsrc  # noqa: E402

ZIG = os.path.join(ROOT, "node_modules", "@ryoppippi", "zig-linux-x64", "zig")
MACH_O_64 = 0xFEEDFACF
OPTIONS = None
# The sample's Photoshop PiPL names x86_64 code alone ('mi64'; it does not ask for 'ma64').
ARM_ONLY_FAILS = ("Error: PiPL 2 of 2: 'mi64' names an entry point of x86_64 code, which the "
                  "module does not hold")


class CrossBuiltBundle(unittest.TestCase):
    def test_bundle_carries_the_resources_of_the_r_text(self):
        if not os.access(ZIG, os.X_OK):
            self.skipTest("the project's Zig toolchain is not installed (npm ci)")
        with tempfile.TemporaryDirectory() as temp:
            prefix, source = install_package_and_copy_sample(OPTIONS.build_dir, temp)
            build = os.path.join(temp, "bundle build")
            configure = run(["cmake", "-S", source, "-B", build, "-G", "Ninja",
                             "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(
                                 ROOT, "cmake", f"toolchain-macos-{OPTIONS.arch}.cmake"),
                             "-DCMAKE_PROJECT_INCLUDE=" + os.path.join(HERE, "zig_module_as_dylib.cmake"),
                             "-Dvantrel_DIR=" + os.path.join(prefix, "share", "cmake", "vantrel")])
            self.assertEqual(configure.returncode, 0, configure.stdout + configure.stderr)
            # A host on an Intel Mac would not find the x86_64 code of an arm64 bundle: the
            # sample's CHECK fails that build. Without CHECK it builds.
            result = run(["cmake", "--build", build])
            if OPTIONS.arch == "arm64":
                self.assertNotEqual(result.returncode, 0, result.stdout + result.stderr)
                self.assertIn(ARM_ONLY_FAILS + "\n", result.stdout + result.stderr)
                self.drop_check(source)
                result = run(["cmake", "--build", build])
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

            contents = os.path.join(build, "sample_plugin.bundle", "Contents")
            with open(os.path.join(contents, "MacOS", "sample_plugin"), "rb") as f:
                self.assertEqual(struct.unpack("<I", f.read(4))[0], MACH_O_64)
            with open(os.path.join(contents, "Resources", "sample_plugin.rsrc"), "rb") as f:
                compiled = read_rsrc(f.read())
            resources = os.path.join(source, "resources")
            with open(os.path.join(build, "resources", "sample.r"), "rb") as f:
                described = parse_r(f.read(), resources)
            self.assertEqual({key: (name, body) for key, (name, _, body) in compiled.items()},
                             described)
            self.assertTrue(all(attributes == 0 for _, attributes, _ in compiled.values()))

            kinds = [kind for kind, _ in compiled]
            self.assertIn(b"PiPL", kinds)
            if any(kind == b"aete" for kind, _ in described):
                self.assertIn(b"aete", kinds)
            with open(os.path.join(resources, "resources.json")) as f:
                listed = [entry["file"] for entry in json.load(f) if "file" in entry]
            bodies = [body for _, _, body in compiled.values()]
            for path in listed:
                with open(os.path.join(resources, path), "rb") as f:
                    self.assertIn(f.read(), bodies, path)

    @staticmethod
    def drop_check(source):
        path = os.path.join(source, "CMakeLists.txt")
        with open(path) as f:
            text = f.read()
        with open(path, "w") as f:
            f.write(text.replace("\n  CHECK)", ")"))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--arch", default="x86_64", choices=["x86_64", "arm64"])
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.build_dir = os.path.abspath(OPTIONS.build_dir)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
