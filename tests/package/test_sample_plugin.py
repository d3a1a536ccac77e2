"""Installs vantrel into a temporary prefix and builds examples/cmake-plugin against it.

Checks what a plug-in developer relies on: find_package(vantrel) and
vantrel_add_resources generate the sources (compared byte for byte with expected/), the
plug-in compiles against the generated header, a build with nothing changed runs nothing,
touching a listed image or editing the list runs the tool again (an output whose bytes
stay the same keeps its time stamp, and what includes it is not compiled again), every
output deleted by hand comes back with the next build, a file named with `;` is followed
like any other, an output the list no longer fills is emptied, each output's path is a
target property, and a list naming a missing file or one the tool refuses fails the build. The tool runs with --strict: a misspelt member fails the build
with its line and column, unless NO_STRICT is given.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from sample_project import (INSTALLED_COPIES, INSTALLED_GENERATED,
                            install_package_and_copy_sample, run)

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
EXPECTED = os.path.join(HERE, "expected", "sample-plugin")
GENERATING = "vantrel: generating the resources of sample_plugin"
OPTIONS = None

# Where the sample's build puts each output, and its expected file.
OUTPUTS = {
    "IDtoFile.txt": "IDtoFile.txt",
    "resources/sample.r": "sample.r",
    "resources/sample.rc": "sample.rc",
    "include/sample_resources.h": "sample_resources.h",
    "resources/sample.pipl": "sample.pipl",
}


class SamplePluginTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.TemporaryDirectory()
        cls.prefix, cls.source = install_package_and_copy_sample(OPTIONS.build_dir,
                                                                 cls.temp.name)
        # A blank in the build path too checks the quoting of every path passed on.
        cls.build = os.path.join(cls.temp.name, "plugin build")
        configure = run(["cmake", "-S", cls.source, "-B", cls.build, "-G", OPTIONS.generator,
                         "-DCMAKE_PREFIX_PATH=" + cls.prefix])
        if configure.returncode != 0:
            raise AssertionError("configure failed:\n" + configure.stdout + configure.stderr)
        cls.configure_output = configure.stdout

    def use_own_build(self, name):
        """Builds in a folder of this test's own, so that the other tests still start from
        a build that has never run."""
        self.build = os.path.join(self.temp.name, name)
        configure = run(["cmake", "-S", self.source, "-B", self.build, "-G", OPTIONS.generator,
                         "-DCMAKE_PREFIX_PATH=" + self.prefix])
        self.assertEqual(configure.returncode, 0, configure.stdout + configure.stderr)

    @classmethod
    def tearDownClass(cls):
        cls.temp.cleanup()

    def build_plugin(self, expect_success=True):
        result = run(["cmake", "--build", self.build])
        output = result.stdout + result.stderr
        self.assertEqual(result.returncode == 0, expect_success, output)
        return output

    def output_times(self):
        return {name: os.stat(os.path.join(self.build, name)).st_mtime_ns for name in OUTPUTS}

    def object_time(self):
        """When the plug-in's source, which includes the header, was last compiled."""
        objects = [os.path.join(folder, name) for folder, _, names in os.walk(self.build)
                   for name in names if name in ("plugin.cpp.o", "plugin.cpp.obj")]
        self.assertEqual(len(objects), 1, objects)
        return os.stat(objects[0]).st_mtime_ns

    def read_output(self, name):
        with open(os.path.join(self.build, name), "rb") as f:
            return f.read()

    def assert_outputs_as_expected(self):
        for name, expected in OUTPUTS.items():
            with open(os.path.join(self.build, name), "rb") as f:
                actual = f.read()
            with open(os.path.join(EXPECTED, expected), "rb") as f:
                self.assertEqual(actual, f.read(), name)

    def assert_nothing_to_do(self):
        self.assertNotIn(GENERATING, self.build_plugin())
        if OPTIONS.generator == "Ninja":
            dry_run = run(["ninja", "-C", self.build, "-n"])
            self.assertIn("ninja: no work to do.", dry_run.stdout)

    def touch(self, relative_path):
        # Past the file-system clock granularity, so the file is newer than the outputs.
        time.sleep(1.1)
        os.utime(os.path.join(self.source, relative_path))

    def edit_list(self, text):
        self.touch("resources/resources.json")
        with open(os.path.join(self.source, "resources", "resources.json"), "w") as f:
            f.write(text)

    def test_installed_layout(self):
        for path in ["bin/vantrel", *INSTALLED_COPIES, *INSTALLED_GENERATED]:
            with self.subTest(path=path):
                self.assertTrue(os.path.isfile(os.path.join(self.prefix, path)))
        self.assertTrue(os.access(os.path.join(self.prefix, "bin", "vantrel"), os.X_OK))
        # The variables the package sets for plug-in builds.
        program = os.path.join(self.prefix, "bin", "vantrel")
        schema = os.path.join(self.prefix, "share", "vantrel", "vantrel-resources.schema.json")
        self.assertIn(f"-- vantrel 1.0.0: {program}, schema {schema}\n", self.configure_output)

    def test_builds_regenerate_only_when_an_input_changes(self):
        # One test, because each step starts from the build the previous step left.
        self.assertIn(GENERATING, self.build_plugin())
        self.assert_outputs_as_expected()
        self.assertTrue(any(name.startswith(("libsample_plugin", "sample_plugin"))
                            for name in os.listdir(self.build)), "the plug-in was not linked")

        before = self.output_times()
        self.assert_nothing_to_do()
        self.assertEqual(self.output_times(), before)

        # A touched image changes none of the outputs: each keeps its time stamp, and the
        # source that includes the header is not compiled again.
        compiled = self.object_time()
        self.touch("resources/images/tool@2x.png")
        self.assertIn(GENERATING, self.build_plugin())
        self.assertEqual(self.output_times(), before)
        self.assertEqual(self.object_time(), compiled)
        self.assert_outputs_as_expected()
        self.assert_nothing_to_do()

        # A list naming a new image: the build follows the new image too (touching it
        # re-runs the tool only if the depfile of the new list was read).
        images = os.path.join(self.source, "resources", "images")
        shutil.copyfile(os.path.join(images, "tool.png"), os.path.join(images, "extra.png"))
        with open(os.path.join(self.source, "resources", "resources.json")) as f:
            original = f.read()
        extended = original.rstrip().rstrip("]").rstrip() + \
            ',\n  {"type": "PNGI", "file": "images/extra.png", "define": "SAMPLE_EXTRA"}\n]\n'
        self.edit_list(extended)
        self.assertIn(GENERATING, self.build_plugin())
        with open(os.path.join(self.build, "include", "sample_resources.h")) as f:
            self.assertIn('#define SAMPLE_EXTRA_FILE\t"images/extra.png"\n', f.read())
        self.assert_nothing_to_do()
        self.touch("resources/images/extra.png")
        self.assertIn(GENERATING, self.build_plugin())
        self.assert_nothing_to_do()

        # A named file that does not exist fails the build, naming the file.
        self.edit_list(original.replace("images/tool@2x.png", "images/missing.png"))
        output = self.build_plugin(expect_success=False)
        self.assertIn("images/missing.png", output)

        # An output the list no longer fills (a Photoshop PiPL has no byte image) is emptied
        # rather than left with the bytes of the earlier list.
        self.edit_list(original.replace('"Illustrator"', '"Photoshop_Filter"'))
        self.assertIn(GENERATING, self.build_plugin())
        self.assertEqual(self.read_output("resources/sample.pipl"), b"")

        # A list the tool refuses fails the build with its message, keeps failing until
        # the list is mended, and leaves the outputs as they were.
        header = self.read_output("include/sample_resources.h")
        self.edit_list(original.replace('"type": "SVG", ', ""))
        output = self.build_plugin(expect_success=False)
        # The helper runs the tool with --strict, which places the message in the list.
        listed = os.path.join(self.source, "resources", "resources.json")
        self.assertIn(f'Error: {listed}:4:3: entry 2: expected "type" member at array index 2\n',
                      output)
        self.assertEqual(self.read_output("include/sample_resources.h"), header)
        self.build_plugin(expect_success=False)
        self.edit_list(original)
        self.assertIn(GENERATING, self.build_plugin())
        self.assert_outputs_as_expected()
        self.assert_nothing_to_do()

    def test_deleted_outputs_come_back(self):
        self.use_own_build("deleted outputs")
        self.build_plugin()
        for name in OUTPUTS:
            with self.subTest(output=name):
                os.remove(os.path.join(self.build, name))
                self.assertIn(GENERATING, self.build_plugin())
                self.assert_outputs_as_expected()
                self.assert_nothing_to_do()

    def test_a_file_named_with_a_semicolon_is_followed(self):
        # Neither Ninja's nor Make's depfile reader can carry the `;`: the helper names the
        # file through a link of a plain name.
        self.use_own_build("semicolon")
        images = os.path.join(self.source, "resources", "images")
        odd = os.path.join(images, "a;b.png")
        shutil.copyfile(os.path.join(images, "tool.png"), odd)
        with open(os.path.join(self.source, "resources", "resources.json")) as f:
            original = f.read()
        self.addCleanup(self.restore_list, original, odd)
        self.edit_list(original.rstrip().rstrip("]").rstrip() +
                       ',\n  {"type": "DATA", "file": "images/a;b.png", "id": 20000}\n]\n')
        self.assertIn(GENERATING, self.build_plugin())
        with open(os.path.join(self.build, "resources", "sample.r"), "rb") as f:
            self.assertIn(b"read 'DATA' (20000, \"a;b\") \"images/a;b.png\";\n", f.read())
        self.assert_nothing_to_do()
        self.touch("resources/images/a;b.png")
        self.assertIn(GENERATING, self.build_plugin())
        self.assert_nothing_to_do()

    def restore_list(self, original, extra):
        self.edit_list(original)
        os.remove(extra)
        self.build_plugin()

    def test_output_paths_are_target_properties(self):
        keywords = {"IDTOFILE": "IDtoFile.txt", "MAC": "resources/sample.r",
                    "WINDOWS": "resources/sample.rc", "HEADER": "include/sample_resources.h",
                    "PIPL": "resources/sample.pipl"}
        printing = "".join(f'get_target_property(path sample_plugin VANTREL_{keyword})\n'
                           f'message(STATUS "VANTREL_{keyword}=${{path}}")\n'
                           for keyword in [*keywords, "RSRC"])
        path = os.path.join(self.source, "CMakeLists.txt")
        with open(path) as f:
            original = f.read()
        self.addCleanup(self.write_sample_cmake, original)
        self.write_sample_cmake(original + printing)
        configure = run(["cmake", self.build])
        self.assertEqual(configure.returncode, 0, configure.stderr)
        for keyword, relative in keywords.items():
            self.assertIn(f"-- VANTREL_{keyword}={os.path.join(self.build, relative)}\n",
                          configure.stdout)
        # Written only on Apple targets, where no RSRC given means <output name>.rsrc.
        self.assertIn("-- VANTREL_RSRC=path-NOTFOUND\n", configure.stdout)

    def write_sample_cmake(self, text):
        self.touch("CMakeLists.txt")
        with open(os.path.join(self.source, "CMakeLists.txt"), "w") as f:
            f.write(text)

    def edit_sample_cmake(self, old, new):
        path = os.path.join(self.source, "CMakeLists.txt")
        self.touch("CMakeLists.txt")
        with open(path) as f:
            text = f.read()
        self.assertIn(old, text)
        with open(path, "w") as f:
            f.write(text.replace(old, new))

    def test_strict_checks_fail_the_build_unless_no_strict(self):
        with open(os.path.join(self.source, "resources", "resources.json")) as f:
            original = f.read()
        self.build_plugin()

        # A misspelt member fails the build with the tool's own line, shown before the
        # build tool's report of the failed command.
        self.edit_list(original.replace('"define": "SAMPLE_LOGO"', '"defien": "SAMPLE_LOGO"'))
        # Both streams in one, in the order a terminal shows them.
        result = subprocess.run(["cmake", "--build", self.build], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True, timeout=300)
        output = result.stdout
        self.assertNotEqual(result.returncode, 0, output)
        listed = os.path.join(self.source, "resources", "resources.json")
        line = (f'Error: {listed}:4:43: unknown member "defien" in entry 2; '
                f'did you mean "define"?\n')
        self.assertIn(line, output)
        if OPTIONS.generator == "Ninja":
            self.assertLess(output.index(line), output.index("FAILED:"), output)

        # NO_STRICT lets the lenient tool through: the misspelt member is ignored.
        self.edit_sample_cmake("  CHECK)", "  CHECK\n  NO_STRICT)")
        self.assertIn(GENERATING, self.build_plugin())
        with open(os.path.join(self.build, "include", "sample_resources.h")) as f:
            self.assertNotIn("SAMPLE_LOGO", f.read())
        self.edit_sample_cmake("  CHECK\n  NO_STRICT)", "  CHECK)")

        # A list without an Illustrator PiPL gets an empty byte image.
        self.edit_list(original.replace('"Illustrator"', '"Photoshop_Filter"'))
        output = self.build_plugin()
        self.assertEqual(os.path.getsize(os.path.join(self.build, "resources", "sample.pipl")), 0)

        self.edit_list(original)
        self.assertIn(GENERATING, self.build_plugin())
        self.assert_outputs_as_expected()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--generator", default="Ninja")
    OPTIONS, rest = parser.parse_known_args()
    OPTIONS.build_dir = os.path.abspath(OPTIONS.build_dir)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
