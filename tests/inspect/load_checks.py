#!/usr/bin/env python3
"""Builds real plug-ins whose resources the program compiles (--res for Windows, --rsrc for
the Mac) and whose code exports the PiPL's entry point or another name, then runs the load
checks on them: Windows modules linked by MinGW (x86 and x64), Mac bundles linked by the
project's Zig toolchain (x86_64, arm64, and a universal file joined here from the format's
public layout, without lipo). A toolchain that is missing skips its tests."""
import argparse
import json
import os
import plistlib
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

OPTIONS = None
CODE = """
#ifdef _WIN32
#define EXPORT __declspec(dllexport)
#else
#define EXPORT __attribute__((visibility("default")))
#endif
EXPORT int %s(int selector) { return selector + 1; }
int notExported(void) { return 2; }
"""
FILTER = {"PluginType": "Photoshop_Filter", "Name": "Blur",
          "Version": {"Major": 1, "Minor": 0, "Revision": 0}}
ILLUSTRATOR = {"PluginType": "Illustrator", "Name": "Tool",
               "Version": {"Major": 1, "Minor": 0, "Revision": 0}}
SKIPPED = "Note: the export checks were skipped: the file holds resources alone, no code\n"


def run(*command, cwd=None):
    result = subprocess.run(command, capture_output=True, text=True, cwd=cwd, timeout=300)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def check_loads(path):
    """The probe's report (one line per failed check, then the notes) and its status."""
    result = subprocess.run([OPTIONS.probe, "check", path], capture_output=True, text=True,
                            timeout=60)
    return result.returncode, result.stdout


def compile_resources(folder, description, option, output):
    """The program's own compiled resource file for a list holding one PiPL."""
    with open(os.path.join(folder, "resources.json"), "w") as f:
        json.dump([{"type": "PiPL", "id": 16000, "data": description}], f)
    run(OPTIONS.program, "--input", "resources.json", "--adobe", "IDtoFile.txt", option, output,
        cwd=folder)
    return os.path.join(folder, output)


class WindowsModules(unittest.TestCase):
    def build(self, folder, triple, description, export):
        gcc, windres = f"{triple}-w64-mingw32-gcc", f"{triple}-w64-mingw32-windres"
        if not shutil.which(gcc) or not shutil.which(windres):
            self.skipTest(f"{gcc} is not installed")
        compile_resources(folder, description, "--res", "plugin.res")
        with open(os.path.join(folder, "plugin.c"), "w") as f:
            f.write(CODE % export)
        run(windres, "-J", "res", "-O", "coff", "-i", "plugin.res", "-o", "plugin-res.o",
            cwd=folder)
        run(gcc, "-shared", "-o", "plugin.8bf", "plugin.c", "plugin-res.o", cwd=folder)
        return os.path.join(folder, "plugin.8bf")

    def outcome(self, triple, description, export):
        with tempfile.TemporaryDirectory() as folder:
            return check_loads(self.build(folder, triple, description, export))

    def test_modules_that_export_the_entry_point_pass(self):
        for triple in ("i686", "x86_64"):
            with self.subTest(triple=triple):
                self.assertEqual(self.outcome(triple, FILTER, "FilterPluginMain"), (0, ""))

    def test_a_renamed_export_fails_with_the_message(self):
        for triple, machine, key in (("i686", "x86", "wx86"), ("x86_64", "x64", "8664")):
            with self.subTest(triple=triple):
                self.assertEqual(self.outcome(triple, FILTER, "PluginMain"), (98, (
                    f"Error: PiPL: the {machine} code does not export \"FilterPluginMain\", "
                    f"the entry point that '{key}' names\n")))

    def test_a_chosen_entry_point_is_the_one_checked(self):
        description = dict(FILTER, EntryPoint="BlurMain")
        self.assertEqual(self.outcome("x86_64", description, "BlurMain"), (0, ""))
        self.assertEqual(self.outcome("x86_64", description, "FilterPluginMain")[0], 98)

    def test_illustrator_64_bit_modules_are_read_through_wx86(self):
        self.assertEqual(self.outcome("x86_64", ILLUSTRATOR, "PluginMain"), (0, ""))
        self.assertEqual(self.outcome("x86_64", ILLUSTRATOR, "FilterPluginMain"), (98, (
            "Error: PiPL: the x64 code does not export \"PluginMain\", the entry point that "
            "'wx86' names\n")))

    def test_a_res_file_alone_gets_the_resource_checks(self):
        with tempfile.TemporaryDirectory() as folder:
            res = compile_resources(folder, FILTER, "--res", "plugin.res")
            self.assertEqual(check_loads(res), (0, SKIPPED))


def universal(slices, output):
    """A universal Mach-O file: the big-endian fat header, one entry per slice (CPU type and
    subtype from the slice's own little-endian header), each slice aligned to 2^14 bytes."""
    align = 14
    header = struct.pack(">II", 0xCAFEBABE, len(slices))
    offset, entries, body = 1 << align, b"", b""
    for data in slices:
        cpu, subtype = struct.unpack_from("<II", data, 4)
        entries += struct.pack(">IIIII", cpu, subtype, offset, len(data), align)
        padded = data + b"\0" * (-len(data) % (1 << align))
        body += padded
        offset += len(padded)
    with open(output, "wb") as f:
        f.write((header + entries).ljust(1 << align, b"\0") + body)


class MacBundles(unittest.TestCase):
    TARGETS = {"x86_64": "x86_64-macos.11.0", "arm64": "aarch64-macos.11.0"}

    def zig(self):
        if not OPTIONS.zig or not os.access(OPTIONS.zig, os.X_OK):
            self.skipTest("the project's Zig toolchain is not installed (npm ci)")
        return OPTIONS.zig

    def slice(self, folder, arch, export):
        source = os.path.join(folder, f"plugin-{arch}.c")
        with open(source, "w") as f:
            f.write(CODE % export)
        output = os.path.join(folder, f"plugin-{arch}")
        run(self.zig(), "cc", "-target", self.TARGETS[arch], "-shared", "-fvisibility=hidden",
            "-o", output, source)
        with open(output, "rb") as f:
            return f.read()

    def bundle(self, folder, description, exports):
        """A bundle whose executable holds one slice per (architecture, export) pair."""
        slices = [self.slice(folder, arch, export) for arch, export in exports]
        contents = os.path.join(folder, "Plugin.plugin", "Contents")
        os.makedirs(os.path.join(contents, "MacOS"))
        os.makedirs(os.path.join(contents, "Resources"))
        executable = os.path.join(contents, "MacOS", "Plugin")
        if len(slices) == 1:
            with open(executable, "wb") as f:
                f.write(slices[0])
        else:
            universal(slices, executable)
            self.assert_lipo_reads(executable, [arch for arch, _ in exports])
        with open(os.path.join(contents, "Info.plist"), "wb") as f:
            plistlib.dump({"CFBundleExecutable": "Plugin"}, f)
        shutil.move(compile_resources(folder, description, "--rsrc", "Plugin.rsrc"),
                    os.path.join(contents, "Resources", "Plugin.rsrc"))
        return os.path.dirname(contents)

    def outcome(self, description, exports):
        with tempfile.TemporaryDirectory() as folder:
            return check_loads(self.bundle(folder, description, exports))

    def assert_lipo_reads(self, path, archs):
        """LLVM's lipo, where installed, reads the joined file as these slices."""
        lipo = os.path.join(OPTIONS.llvm_bin or "", "llvm-lipo")
        if os.access(lipo, os.X_OK):
            self.assertEqual(run(lipo, "-archs", path).split(), archs)

    def test_thin_and_universal_bundles_that_export_their_entry_points_pass(self):
        self.assertEqual(self.outcome(FILTER, [("x86_64", "FilterPluginMain")]), (0, ""))
        both = dict(FILTER, CodeMacARM64=True)
        self.assertEqual(self.outcome(both, [("x86_64", "FilterPluginMain"),
                                             ("arm64", "FilterPluginMain")]), (0, ""))

    def test_a_slice_that_exports_another_name_fails_with_the_message(self):
        both = dict(FILTER, CodeMacARM64=True)
        self.assertEqual(
            self.outcome(both, [("x86_64", "FilterPluginMain"), ("arm64", "PluginMain")]),
            (98, "Error: PiPL: the arm64 code does not export \"FilterPluginMain\", the entry "
                 "point that 'ma64' names\n"))
        self.assertEqual(self.outcome(FILTER, [("x86_64", "PluginMain")]), (98, (
            "Error: PiPL: the x86_64 code does not export \"FilterPluginMain\", the entry "
            "point that 'mi64' names\n")))

    def test_an_arm_entry_point_in_an_intel_only_module_fails(self):
        both = dict(FILTER, CodeMacARM64=True)
        self.assertEqual(self.outcome(both, [("x86_64", "FilterPluginMain")]), (98, (
            "Error: PiPL: 'ma64' names an entry point of arm64 code, which the module does "
            "not hold\n")))

    def test_a_resource_file_alone_gets_the_resource_checks(self):
        with tempfile.TemporaryDirectory() as folder:
            rsrc = compile_resources(folder, FILTER, "--rsrc", "Plugin.rsrc")
            self.assertEqual(check_loads(rsrc), (0, SKIPPED))


def main():
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--probe", required=True)
    parser.add_argument("--program", required=True)
    parser.add_argument("--zig", default="")
    parser.add_argument("--llvm-bin", default="")
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
