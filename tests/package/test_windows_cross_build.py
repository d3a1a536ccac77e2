"""Cross-builds the sample plug-in as a 64-bit and a 32-bit Windows DLL with MinGW-w64
against the installed package: vantrel_add_resources links the tool's compiled .res into
the DLL (through windres -J res -O coff; the .rc itself is not compiled), every resource
under both its keys, with the bytes of the files the list names (relative to the list's
folder); a UTF-8 name keeps its letters, and a listed file that changes is embedded anew
although the script naming it stays the same.
The 32-bit build also shows that the package of a 64-bit program serves it.
"""
import argparse
import json
import os
import re
import sys
import tempfile
import unittest

from sample_project import install_package_and_copy_sample, run

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
EXPECTED_RC = os.path.join(HERE, "expected", "sample-plugin", "sample.rc")
TRIPLES = {"64": "x86_64-w64-mingw32", "32": "i686-w64-mingw32"}
# Every entry of the sample's script, as windres lists it (names and types upper-cased).
EXPECTED_KEYS = sorted([
    '10000 "PNGI"', '"TOOL" "PNGI"', '10001 "PNGI"', '"TOOL@2X" "PNGI"', '16000 "PIPL"',
    '10000 "SVG"', '10000 "SVG_"', '"LOGO" "SVG"', '"LOGO" "SVG_"', '20000 "DATA"',
    '16001 "PIPL"', '16001 "AETE"'])  # the Photoshop filter and its generated terminology
# Added to the sample's list here: a name outside ASCII, which windres reads as UTF-8 only
# when told (-c 65001), and which it lists upper-cased as UTF-16 with an octal escape.
UTF8_ENTRY = {"type": "DATA", "data": "01", "id": 20000, "name": "Café"}
UTF8_BLOCKS = '20000 DATA {\n\t"\\1"\n}\n\n"Café" DATA {\n\t"\\1"\n}\n\n'.encode()
UTF8_KEY = 'L"CAF\\351" "DATA"'

OPTIONS = None


def windows_pipl_bytes():
    """The Windows property list of the sample's PiPL, read from the expected .rc block."""
    with open(EXPECTED_RC) as f:
        block = re.search(r'^16000 PiPL \{\n\t"(.*)"\n\}$', f.read(), re.M).group(1)
    return bytes(int(code, 8) for code in block.split("\\")[1:])


class WindowsCrossBuildTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory()
        cls.prefix, cls.source = install_package_and_copy_sample(OPTIONS.build_dir,
                                                                 cls.temp.name)
        list_path = os.path.join(cls.source, "resources", "resources.json")
        with open(list_path, encoding="utf-8") as f:
            entries = json.load(f)
        with open(list_path, "w", encoding="utf-8") as f:
            json.dump(entries + [UTF8_ENTRY], f, ensure_ascii=False)

    @classmethod
    def tearDownClass(cls):
        cls.temp.cleanup()

    def test_resources_are_compiled_into_the_dll(self):
        for bits in ["64", "32"]:
            with self.subTest(windows=bits):
                self.cross_build_and_check(bits)

    def cross_build_and_check(self, bits):
        build = os.path.join(self.temp.name, f"plugin build {bits}")
        # The toolchain finds packages only under the MinGW root: point at this one.
        configure = run(["cmake", "-S", self.source, "-B", build, "-G", "Ninja",
                         "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(ROOT, "cmake", f"toolchain-mingw{bits}.cmake"),
                         "-Dvantrel_DIR=" + os.path.join(self.prefix, "share", "cmake", "vantrel")])
        self.assertEqual(configure.returncode, 0, configure.stdout + configure.stderr)
        result = run(["cmake", "--build", build])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

        # The tool's own script is left as the tool wrote it (its data type sorts first).
        with open(os.path.join(build, "resources", "sample.rc"), "rb") as f, \
                open(EXPECTED_RC, "rb") as expected:
            self.assertEqual(f.read(), UTF8_BLOCKS + expected.read())
        self.check_dll(build, bits)

        # New bytes in a listed image leave the script as it was, yet reach the DLL.
        with open(os.path.join(self.source, "resources", "images", "tool.png"), "ab") as f:
            f.write(f"appended for the {bits}-bit build".encode())
        result = run(["cmake", "--build", build])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.check_dll(build, bits)

    def check_dll(self, build, bits):
        """Every resource is linked into the DLL, with the listed files as they are now."""
        compiled = [name for folder, _, names in os.walk(build) for name in names
                    if name.endswith((".rc.res", ".rc.obj"))]
        self.assertEqual(compiled, [], "the .rc was compiled beside the tool's .res")
        dlls = [name for name in os.listdir(build) if name.endswith(".dll")]
        self.assertEqual(len(dlls), 1, os.listdir(build))
        # windres reads the resources back out of the linked DLL.
        listing = run([TRIPLES[bits] + "-windres", "-J", "coff", "-O", "rc", "-i",
                       os.path.join(build, dlls[0])])
        self.assertEqual(listing.returncode, 0, listing.stderr)
        keys = sorted(re.findall(r'^((?:\d+|"[^"]*") "[^"]*")$', listing.stdout, re.M))
        self.assertEqual(keys, EXPECTED_KEYS)
        self.assertIn("\n" + UTF8_KEY + "\n", listing.stdout)

        with open(os.path.join(build, dlls[0]), "rb") as f:
            dll = f.read()
        for listed in ["images/tool.png", "images/tool@2x.png", "art/logo.svg"]:
            with open(os.path.join(self.source, "resources", listed), "rb") as f:
                self.assertIn(f.read(), dll, listed)
        pipl = windows_pipl_bytes()
        self.assertEqual(len(pipl), 98)
        self.assertIn(pipl, dll)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.build_dir = os.path.abspath(OPTIONS.build_dir)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
