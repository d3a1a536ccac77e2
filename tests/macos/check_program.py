#!/usr/bin/env python3
"""Static checks of the universal macOS program, which this machine cannot run, read with
LLVM's Mach-O tools: both slices are there, each is built for the lowest macOS the
toolchain supports (the one the README names), links no library but libSystem and asks it
only for symbols it exports, and the arm64 slice carries an intact code signature (macOS
kills an arm64 program whose signature is missing or does not match its pages)."""
import argparse
import hashlib
import os
import re
import struct
import subprocess
import sys
import unittest

ARCHS = ["x86_64", "arm64"]
LIBSYSTEM = "/usr/lib/libSystem.B.dylib"
DYLIB_COMMANDS = {"LC_LOAD_DYLIB", "LC_LOAD_WEAK_DYLIB", "LC_REEXPORT_DYLIB",
                  "LC_LAZY_LOAD_DYLIB", "LC_LOAD_UPWARD_DYLIB"}
OPTIONS = None


def llvm(tool, *arguments):
    result = subprocess.run([os.path.join(OPTIONS.llvm_bin, tool), *arguments],
                            capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        raise AssertionError(f"{tool} {' '.join(arguments)} failed:\n{result.stderr}")
    return result.stdout


def load_commands(arch):
    """The slice's load commands as dictionaries of their printed fields."""
    commands = []
    for line in llvm("llvm-objdump", "--macho", "--private-headers", f"--arch={arch}",
                     OPTIONS.program).splitlines():
        fields = line.split()
        if len(fields) < 2:
            continue
        if fields[0] == "cmd":
            commands.append({"cmd": fields[1]})
        elif commands:
            commands[-1].setdefault(fields[0], fields[1])
    return commands


def commands_named(arch, name):
    return [command for command in load_commands(arch) if command["cmd"] == name]


def slice_bytes(arch):
    """The bytes of one architecture's slice of the universal file."""
    offsets, current = {}, None
    for line in llvm("llvm-objdump", "--macho", "--universal-headers",
                     OPTIONS.program).splitlines():
        fields = line.split()
        if len(fields) == 2 and fields[0] == "architecture":
            current = fields[1]
        elif len(fields) == 2 and fields[0] in ("offset", "size") and current:
            offsets.setdefault(current, {})[fields[0]] = int(fields[1])
    with open(OPTIONS.program, "rb") as f:
        f.seek(offsets[arch]["offset"])
        return f.read(offsets[arch]["size"])


def lowest_supported_macos():
    """The lowest macOS version the toolchain carries C library headers for."""
    include = os.path.join(OPTIONS.zig_lib, "libc", "include")
    majors = [int(m.group(1)) for name in os.listdir(include)
              for m in [re.search(r"-macos\.(\d+)-", name)] if m]
    return f"{min(majors)}.0"


def exported_symbols(tbd_path, target):
    """The symbols a text stub (.tbd) of libSystem and the libraries it re-exports lists as
    exported for target: the lists under exports and reexports, not those under undefineds."""
    with open(tbd_path) as f:
        text = f.read()
    symbols, section, targets = set(), None, []
    pattern = re.compile(r"^([A-Za-z][\w-]*):|^[ -]+([\w-]+):\s*\[([^\]]*)\]", re.M)
    for match in pattern.finditer(text):
        if match.group(1):
            section = match.group(1)
            continue
        key, items = match.group(2), [item.strip().strip("'\"")
                                      for item in match.group(3).split(",")]
        if key == "targets":
            targets = items
        elif (section in ("exports", "reexports") and target in targets
              and key in ("symbols", "weak-symbols", "thread-local-symbols")):
            symbols.update(items)
    return symbols


def undefined_symbols(arch):
    output = llvm("llvm-nm", "--undefined-only", f"--arch={arch}", OPTIONS.program)
    return {line.split()[-1] for line in output.splitlines()
            if line.strip() and not line.endswith(":")}


def code_directory(blob):
    """The code directory of an embedded signature (a SuperBlob), as its fields and bytes."""
    magic, _, count = struct.unpack_from(">III", blob, 0)
    if magic != 0xFADE0CC0:
        raise AssertionError(f"not an embedded signature: magic {magic:#x}")
    for index in range(count):
        slot, offset = struct.unpack_from(">II", blob, 12 + 8 * index)
        if slot == 0:
            directory = blob[offset:]
            fields = struct.unpack_from(">IIIIIIIIIBBBB", directory, 0)
            names = ["magic", "length", "version", "flags", "hashOffset", "identOffset",
                     "nSpecialSlots", "nCodeSlots", "codeLimit", "hashSize", "hashType",
                     "platform", "pageSize"]
            return dict(zip(names, fields)), directory
    raise AssertionError("the signature has no code directory")


class MacProgramTest(unittest.TestCase):
    def test_holds_an_x86_64_and_an_arm64_slice(self):
        self.assertEqual(sorted(llvm("llvm-lipo", "-archs", OPTIONS.program).split()),
                         sorted(ARCHS))

    def test_targets_the_lowest_macos_the_toolchain_supports_as_the_readme_says(self):
        lowest = lowest_supported_macos()
        for arch in ARCHS:
            with self.subTest(arch=arch):
                [build] = commands_named(arch, "LC_BUILD_VERSION")
                self.assertEqual((build["platform"], build["minos"]), ("macos", lowest))
        with open(OPTIONS.readme) as f:
            self.assertTrue(f"macOS {lowest}" in f.read(), f"the README does not name macOS {lowest}")

    def test_links_libsystem_alone(self):
        for arch in ARCHS:
            with self.subTest(arch=arch):
                libraries = [command["name"] for command in load_commands(arch)
                             if command["cmd"] in DYLIB_COMMANDS]
                self.assertEqual(libraries, [LIBSYSTEM])

    def test_asks_libsystem_only_for_symbols_it_exports(self):
        major = lowest_supported_macos().split(".")[0]
        tbd = os.path.join(OPTIONS.zig_lib, "libc", "darwin", f"libSystem.{major}.tbd")
        for arch in ARCHS:
            with self.subTest(arch=arch):
                undefined = undefined_symbols(arch)
                self.assertIn("_getpwuid", undefined)
                self.assertEqual(sorted(undefined - exported_symbols(tbd, f"{arch}-macos")), [])

    def test_arm64_slice_carries_a_code_signature_that_matches_its_pages(self):
        [signature] = commands_named("arm64", "LC_CODE_SIGNATURE")
        data = slice_bytes("arm64")
        start, size = int(signature["dataoff"]), int(signature["datasize"])
        fields, directory = code_directory(data[start:start + size])
        self.assertEqual(fields["magic"], 0xFADE0C02)
        self.assertEqual(fields["codeLimit"], start, "the signature covers all that precedes it")
        hash_function = {1: hashlib.sha1, 2: hashlib.sha256}[fields["hashType"]]
        page = 1 << fields["pageSize"]
        self.assertEqual(fields["nCodeSlots"], (start + page - 1) // page)
        for index in range(fields["nCodeSlots"]):
            stored = directory[fields["hashOffset"] + index * fields["hashSize"]:
                               fields["hashOffset"] + (index + 1) * fields["hashSize"]]
            content = data[index * page:min((index + 1) * page, start)]
            self.assertEqual(hash_function(content).digest()[:fields["hashSize"]], stored,
                             f"page {index}")


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True, help="the universal vantrel-mac")
    parser.add_argument("--llvm-bin", required=True, help="folder of llvm-lipo, llvm-objdump, llvm-nm")
    parser.add_argument("--zig-lib", required=True, help="the Zig toolchain's lib folder")
    parser.add_argument("--readme", required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
