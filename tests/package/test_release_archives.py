#!/usr/bin/env python3
"""The release files of scripts/package, used as a user would: each archive is unpacked and
holds the program, the man page, the JSON Schema, the CMake package, the README and the
LICENSE; the Linux program, and the Windows ones under Wine, write what the native build
writes for the example plug-in; the sample plug-in builds against the unpacked Linux
archive; and the .deb installs a /usr/bin/vantrel that prints the project version."""
import argparse
import filecmp
import re
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

from sample_project import INSTALLED_COPIES, INSTALLED_GENERATED

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
OPTIONS = None

# Platform of each archive: its format and the program under bin/.
ARCHIVES = {
    "macos-universal": ("tar.gz", "vantrel-mac"),
    "windows-x64": ("zip", "vantrel-win64.exe"),
    "windows-x86": ("zip", "vantrel-win32.exe"),
    "linux-x86_64": ("tar.gz", "vantrel"),
}
DOCUMENTS = {"README.md": "README.md", "LICENSE": "LICENSE"}
EXAMPLE_OUTPUTS = ["IDtoFile.txt", "plugin.r", "plugin.rc", "resources.h", "plugin.pipl.bin"]


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, timeout=600, **kwargs)


def archive_name(platform):
    return f"vantrel-{OPTIONS.version}-{platform}"


def deb_name():
    arch = run(["dpkg", "--print-architecture"], text=True).stdout.strip()
    return f"vantrel_{OPTIONS.version}_{arch}.deb"


def windows_prefix(platform):
    return {"windows-x64": OPTIONS.win64_prefix, "windows-x86": OPTIONS.win32_prefix}[platform]


def unpack(platform, into):
    kind, _ = ARCHIVES[platform]
    path = os.path.join(OPTIONS.dist, f"{archive_name(platform)}.{kind}")
    if kind == "zip":
        with zipfile.ZipFile(path) as archive:
            archive.extractall(into)
    else:
        result = run(["tar", "-xzf", path, "-C", into])
        if result.returncode != 0:
            raise AssertionError(result.stderr.decode())
    return os.path.join(into, archive_name(platform))


def without_carriage_returns(data):
    return data.replace(b"\r\n", b"\n")


class ReleaseArchivesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="vantrel-release-")
        cls.unpacked = {platform: unpack(platform, cls.work) for platform in ARCHIVES}
        cls.deb_root = os.path.join(cls.work, "deb")
        extract = run(["dpkg-deb", "-x", os.path.join(OPTIONS.dist, deb_name()), cls.deb_root])
        if extract.returncode != 0:
            raise AssertionError(extract.stderr.decode())

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def command(self, platform, *arguments):
        """The command that runs the program of an unpacked archive, under Wine for Windows."""
        program = os.path.join(self.unpacked[platform], "bin", ARCHIVES[platform][1])
        if platform.startswith("windows"):
            if not windows_prefix(platform):
                self.skipTest(f"the {platform} program cannot run here (no Wine prefix given)")
            return [OPTIONS.wine_run, windows_prefix(platform), program, *arguments]
        return [program, *arguments]

    def test_dist_holds_the_five_release_files(self):
        expected = [f"{archive_name(platform)}.{kind}" for platform, (kind, _) in ARCHIVES.items()]
        self.assertEqual(sorted(os.listdir(OPTIONS.dist)), sorted(expected + [deb_name()]))

    def test_each_archive_holds_program_man_page_schema_cmake_package_readme_and_licence(self):
        layouts = {platform: (folder, "", ARCHIVES[platform][1])
                   for platform, folder in self.unpacked.items()}
        layouts["deb"] = (os.path.join(self.deb_root, "usr"), "share/doc/vantrel/", "vantrel")
        for platform, (top, documents, program) in layouts.items():
            with self.subTest(platform=platform):
                self.assertTrue(os.path.isfile(os.path.join(top, "bin", program)))
                copies = dict(INSTALLED_COPIES, **{documents + name: source
                                                   for name, source in DOCUMENTS.items()})
                for shipped, source in copies.items():
                    self.assertTrue(filecmp.cmp(os.path.join(top, shipped),
                                                os.path.join(ROOT, source), shallow=False),
                                    shipped)
                for generated in INSTALLED_GENERATED:
                    self.assertTrue(os.path.isfile(os.path.join(top, generated)), generated)
                with open(os.path.join(top, "share/cmake/vantrel/vantrelTargets-release.cmake")) as f:
                    self.assertIn(f'"${{_IMPORT_PREFIX}}/bin/{program}"', f.read())
        with open(os.path.join(ROOT, "LICENSE")) as f:
            self.assertEqual(f.readline(), "MIT License\n")

    def test_readme_table_names_each_archive_and_its_program(self):
        with open(os.path.join(ROOT, "README.md")) as f:
            rows = re.findall(r"^\| `vantrel-[0-9.]+-([a-z0-9_-]+)\.(tar\.gz|zip)` \| `bin/([^`]+)` \|",
                              f.read(), re.M)
        self.assertEqual({platform: (kind, program) for platform, kind, program in rows},
                         ARCHIVES)
        for platform, folder in self.unpacked.items():
            with self.subTest(platform=platform):
                self.assertEqual(os.listdir(os.path.join(folder, "bin")), [ARCHIVES[platform][1]])
                shipped = os.path.join(folder, "share", "vantrel", "examples")
                for top, _, names in os.walk(os.path.join(ROOT, "examples")):
                    for name in names:
                        source = os.path.join(top, name)
                        relative = os.path.relpath(source, os.path.join(ROOT, "examples"))
                        self.assertTrue(filecmp.cmp(os.path.join(shipped, relative), source,
                                                    shallow=False), relative)

    def test_programs_print_the_project_version(self):
        for platform in ["linux-x86_64", "windows-x64", "windows-x86"]:
            with self.subTest(platform=platform):
                result = run(self.command(platform, "--version"))
                self.assertEqual((result.returncode, without_carriage_returns(result.stdout)),
                                 (0, f"vantrel {OPTIONS.version}\n".encode()))

    def test_programs_write_what_the_native_program_writes_for_the_example_plugin(self):
        arguments = ["--input", "resources.json", "--adobe", "IDtoFile.txt", "--mac", "plugin.r",
                     "--windows", "plugin.rc", "--header", "resources.h", "--pipl",
                     "plugin.pipl.bin"]
        expected = self.example_outputs([OPTIONS.native_program, *arguments], "native")
        for platform in ["linux-x86_64", "windows-x64", "windows-x86"]:
            with self.subTest(platform=platform):
                written = self.example_outputs(self.command(platform, *arguments), platform)
                if platform.startswith("windows"):
                    written = {name: data if name.endswith(".bin") else
                               without_carriage_returns(data) for name, data in written.items()}
                self.assertEqual(written, expected)

    def example_outputs(self, command, label):
        """Runs command in a copy of examples/plugin; returns the outputs it wrote."""
        folder = os.path.join(self.work, "example-" + label)
        shutil.copytree(os.path.join(ROOT, "examples", "plugin"), folder)
        result = run(command, cwd=folder)
        self.assertEqual((result.returncode, result.stderr), (0, b""), label)
        outputs = {}
        for name in EXAMPLE_OUTPUTS:
            with open(os.path.join(folder, name), "rb") as f:
                outputs[name] = f.read()
        return outputs

    def test_packaged_win64_program_reproduces_the_worked_example(self):
        command = self.command("windows-x64")
        result = run([sys.executable, os.path.join(ROOT, "tests", "cli", "run_case.py"),
                      "--program", command[2], "--crlf", "--emulator=" + "|".join(command[:2]),
                      os.path.join(ROOT, "tests", "cli", "cases", "res-worked-example")],
                     text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_sample_plugin_builds_against_the_unpacked_linux_archive(self):
        prefix = self.unpacked["linux-x86_64"]
        source = os.path.join(self.work, "sample plugin")
        build = os.path.join(self.work, "sample build")
        shutil.copytree(os.path.join(ROOT, "examples", "cmake-plugin"), source)
        configure = run(["cmake", "-S", source, "-B", build, "-G", "Ninja",
                         f"-DCMAKE_PREFIX_PATH={prefix}"], text=True)
        self.assertEqual(configure.returncode, 0, configure.stdout + configure.stderr)
        self.assertIn(f"{prefix}/bin/vantrel,", configure.stdout)
        compile = run(["cmake", "--build", build], text=True)
        self.assertEqual(compile.returncode, 0, compile.stdout + compile.stderr)
        resources = os.path.join(source, "resources")
        reference = os.path.join(self.work, "sample reference")
        os.makedirs(reference)
        native = run([OPTIONS.native_program, "--input", "resources.json", "--adobe",
                      os.path.join(reference, "IDtoFile.txt"), "--mac",
                      os.path.join(reference, "sample.r")], cwd=resources)
        self.assertEqual(native.returncode, 0)
        for built, expected in [("IDtoFile.txt", "IDtoFile.txt"), ("resources/sample.r", "sample.r")]:
            self.assertTrue(filecmp.cmp(os.path.join(build, built),
                                        os.path.join(reference, expected), shallow=False), built)

    def test_deb_installs_a_program_that_prints_the_version(self):
        if os.geteuid() != 0:
            self.skipTest("installing the .deb needs root")
        environment = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        apt = ["apt-get", "-o", f"DPkg::Lock::Timeout={OPTIONS.apt_lock_timeout}", "-y", "-qq"]
        install = run(apt + ["install", os.path.join(OPTIONS.dist, deb_name())],
                      env=environment, text=True)
        try:
            self.assertEqual(install.returncode, 0, install.stdout + install.stderr)
            result = run(["/usr/bin/vantrel", "--version"], text=True)
            self.assertEqual((result.returncode, result.stdout),
                             (0, f"vantrel {OPTIONS.version}\n"))
        finally:
            run(apt + ["purge", "vantrel"], env=environment)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--version", required=True, help="the CMake project version")
    parser.add_argument("--native-program", required=True)
    parser.add_argument("--wine-run", required=True)
    parser.add_argument("--win64-prefix", default="", help="Wine prefix for the win64 program")
    parser.add_argument("--win32-prefix", default="",
                        help="Wine prefix for the win32 program; none when it cannot run")
    parser.add_argument("--apt-lock-timeout", default="1200")
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.dist = os.path.abspath(OPTIONS.dist)
    OPTIONS.native_program = os.path.abspath(OPTIONS.native_program)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
