#!/usr/bin/env python3
"""Builds small plug-in modules with real toolchains and checks that the readers find their
machine or CPU, their PluginMain export and their resources: Windows DLLs with MinGW (x86
and x64) and a resource compiled in by windres, and Mac bundles with Zig (x86_64, arm64 and
a universal file joined by llvm-lipo). A toolchain that is missing skips its tests."""
import argparse
import os
import plistlib
import shutil
import subprocess
import sys
import tempfile
import unittest

OPTIONS = None
PIPL_BYTES = bytes(range(7, 47))  # not a multiple of four: the reader must keep the size
CODE = """
#ifdef _WIN32
#define EXPORT __declspec(dllexport)
#else
#define EXPORT __attribute__((visibility("default")))
#endif
EXPORT int %s(int selector) { return selector + 1; }
static int helper(void) { return 2; }
int notExported(void) { return helper(); }
"""


def run(*command, cwd=None):
    result = subprocess.run(command, capture_output=True, text=True, cwd=cwd, timeout=300)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(command)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def probe(kind, path):
    result = subprocess.run([OPTIONS.probe, kind, path], capture_output=True, text=True,
                            timeout=60)
    return result.returncode, result.stdout.splitlines()


class WindowsModules(unittest.TestCase):
    MACHINES = {"i686": "x86", "x86_64": "x64"}

    def build(self, folder, triple, entry):
        gcc, windres = f"{triple}-w64-mingw32-gcc", f"{triple}-w64-mingw32-windres"
        if not shutil.which(gcc) or not shutil.which(windres):
            self.skipTest(f"{gcc} is not installed")
        with open(os.path.join(folder, "plugin.c"), "w") as f:
            f.write(CODE % entry)
        with open(os.path.join(folder, "pipl.bin"), "wb") as f:
            f.write(PIPL_BYTES)
        with open(os.path.join(folder, "plugin.rc"), "w") as f:
            f.write('16000 PiPL "pipl.bin"\nLOGO RCDATA { "hi" }\n')
        run(windres, "plugin.rc", "-O", "coff", "-o", "plugin-rc.o", cwd=folder)
        run(windres, "plugin.rc", "-O", "res", "-o", "plugin.res", cwd=folder)
        run(gcc, "-shared", "-o", "plugin.8bf", "plugin.c", "plugin-rc.o", cwd=folder)
        return os.path.join(folder, "plugin.8bf")

    def check(self, triple, entry):
        with tempfile.TemporaryDirectory() as folder:
            module = self.build(folder, triple, entry)
            status, lines = probe("pe", module)
            self.assertEqual(status, 0, lines)
            self.assertIn(f"machine {self.MACHINES[triple]}", lines)
            exports = [line.split()[1] for line in lines if line.startswith("export ")]
            self.assertEqual(exports, [entry])
            resources = [line.split() for line in lines if line.startswith("resource ")]
            pipl = [r for r in resources if r[1:3] == ["PIPL", "16000"]]
            self.assertEqual(len(pipl), 1, resources)
            self.assertEqual(pipl[0][4], PIPL_BYTES.hex())
            self.assertIn(["10", "LOGO"], [r[1:3] for r in resources])  # 10: RCDATA
            status, res_lines = probe("res", os.path.join(folder, "plugin.res"))
            self.assertEqual(status, 0, res_lines)
            self.assertEqual(sorted(line for line in res_lines),
                             sorted(" ".join(r) for r in resources))

    def test_x64_dll(self):
        self.check("x86_64", "PluginMain")

    def test_x86_dll(self):
        self.check("i686", "PluginMain")

    def test_renamed_entry_point_is_the_export_found(self):
        self.check("x86_64", "FilterPluginMain")

    def test_truncated_dll_is_refused_with_a_message(self):
        with tempfile.TemporaryDirectory() as folder:
            module = self.build(folder, "x86_64", "PluginMain")
            with open(module, "rb") as f:
                whole = f.read()
            for size in (1, 64, 200, 1024, len(whole) // 2, len(whole) - 1):
                cut = os.path.join(folder, f"cut{size}.8bf")
                with open(cut, "wb") as f:
                    f.write(whole[:size])
                status, lines = probe("pe", cut)
                if status == 0:  # a cut that loses only unread bytes still reads whole
                    self.assertIn("export PluginMain", lines)
                else:
                    self.assertTrue(lines and lines[0].startswith("error "), lines)


class MacBundles(unittest.TestCase):
    ARCHS = {"x86_64": "x86_64", "arm64": "aarch64"}

    def zig(self):
        if not OPTIONS.zig or not os.access(OPTIONS.zig, os.X_OK):
            self.skipTest("the project's Zig toolchain is not installed (npm ci)")
        return OPTIONS.zig

    def build(self, folder, arch, entry):
        source = os.path.join(folder, "plugin.c")
        with open(source, "w") as f:
            f.write(CODE % entry)
        output = os.path.join(folder, f"plugin-{arch}")
        run(self.zig(), "cc", "-target", f"{self.ARCHS[arch]}-macos.11.0", "-shared",
            "-fvisibility=hidden", "-o", output, source)
        return output

    def bundle(self, folder, executable):
        macos = os.path.join(folder, "Plugin.plugin", "Contents", "MacOS")
        os.makedirs(macos)
        shutil.copy(executable, os.path.join(macos, "Plugin"))
        with open(os.path.join(macos, "..", "Info.plist"), "wb") as f:
            plistlib.dump({"CFBundleExecutable": "Plugin"}, f)
        return os.path.dirname(os.path.dirname(macos))

    def nm_exports(self, path):
        """The external defined symbols as LLVM's nm reads them: a consumer of its own."""
        nm = os.path.join(OPTIONS.llvm_bin or "", "llvm-nm")
        if not os.access(nm, os.X_OK):
            self.skipTest("llvm-nm is not installed")
        return {line.split()[-1] for line in
                run(nm, "--extern-only", "--defined-only", path).splitlines() if line.strip()}

    def exports(self, lines):
        return {tuple(line.split()[1:]) for line in lines if line.startswith("export ")}

    def test_thin_bundles(self):
        for arch in self.ARCHS:
            with self.subTest(arch=arch), tempfile.TemporaryDirectory() as folder:
                bundle = self.bundle(folder, self.build(folder, arch, "PluginMain"))
                status, lines = probe("bundle", bundle)
                self.assertEqual(status, 0, lines)
                self.assertEqual([l for l in lines if l.startswith("slice ")], [f"slice {arch}"])
                self.assertIn((arch, "_PluginMain"), self.exports(lines))
                self.assertNotIn((arch, "_helper"), self.exports(lines))
                self.assertEqual({name for _, name in self.exports(lines)},
                                 self.nm_exports(bundle + "/Contents/MacOS/Plugin"))

    def test_universal_bundle(self):
        lipo = os.path.join(OPTIONS.llvm_bin or "", "llvm-lipo")
        if not os.access(lipo, os.X_OK):
            self.skipTest("llvm-lipo is not installed")
        with tempfile.TemporaryDirectory() as folder:
            x86 = self.build(folder, "x86_64", "PluginMain")
            arm = self.build(folder, "arm64", "ActionsPluginMain")
            universal = os.path.join(folder, "plugin-universal")
            run(lipo, "-create", x86, arm, "-output", universal)
            status, lines = probe("macho", universal)
            self.assertEqual(status, 0, lines)
            self.assertEqual([l for l in lines if l.startswith("slice ")],
                             ["slice x86_64", "slice arm64"])
            exports = self.exports(lines)
            self.assertIn(("x86_64", "_PluginMain"), exports)
            self.assertIn(("arm64", "_ActionsPluginMain"), exports)
            self.assertNotIn(("arm64", "_PluginMain"), exports)


def main():
    global OPTIONS
    parser = argparse.ArgumentParser()
    parser.add_argument("--probe", required=True)
    parser.add_argument("--zig", default="")
    parser.add_argument("--llvm-bin", default="")
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
