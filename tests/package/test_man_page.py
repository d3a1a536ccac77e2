"""The man page renders without a single groff warning, lists every exit status the
program has, and its example does what the page says when run through the program."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
MAN_PAGE = os.path.join(ROOT, "man", "vantrel.1")
PROGRAM = None


def render(*options):
    return subprocess.run(["groff", "-man", "-Tutf8", "-ww", *options, MAN_PAGE],
                          capture_output=True, timeout=60)


def plain_text():
    result = subprocess.run(["groff", "-man", "-Tascii", "-P-cbou", MAN_PAGE],
                            capture_output=True, text=True, timeout=60)
    return result.stdout


def section(text, title):
    match = re.search(r"^%s\n(.*?)(?=^[A-Z][A-Z ]+\n)" % re.escape(title), text, re.S | re.M)
    return match.group(1) if match else ""


def example_blocks(text):
    """The indented literal blocks of EXAMPLES, in order, with the indentation removed."""
    blocks, current = [], []
    for line in section(text, "EXAMPLES").split("\n"):
        if line.startswith("           "):
            current.append(line[11:])
        elif current:
            blocks.append("\n".join(current) + "\n")
            current = []
    return blocks


class ManPageTest(unittest.TestCase):
    def test_renders_without_warnings(self):
        for options in [("-z",), ("-z", "-rCHECKSTYLE=3")]:
            with self.subTest(options=options):
                result = render(*options)
                self.assertEqual((result.returncode, result.stderr.decode()), (0, ""))

    def test_lists_every_exit_status_of_the_program(self):
        with open(os.path.join(ROOT, "Sources", "common", "ExitStatus.h")) as f:
            statuses = sorted({int(n) for n in re.findall(r"=\s*(\d+)\s*,?", f.read())})
        self.assertIn(92, statuses)
        listed = set()
        for first, last in re.findall(r"\b(\d\d?)(?: to (\d\d))?\b",
                                      section(plain_text(), "EXIT STATUS")):
            listed.update(range(int(first), int(last or first) + 1))
        self.assertEqual([s for s in statuses if s not in listed], [])

    def test_options_are_those_the_program_takes(self):
        documented = set(re.findall(r"(?m)^       (--[a-z]+)", section(plain_text(), "OPTIONS")))
        documented |= set(re.findall(r", (--[a-z]+) ", section(plain_text(), "OPTIONS")))
        in_sources = set()
        for folder, _, names in os.walk(os.path.join(ROOT, "Sources")):
            for name in names:
                with open(os.path.join(folder, name), errors="replace") as f:
                    in_sources |= set(re.findall(r'"(--[a-z]+)"', f.read()))
        self.assertEqual(documented, in_sources)
        for option in sorted(documented):
            with self.subTest(option=option):
                result = subprocess.run([PROGRAM, option, "x"], capture_output=True, timeout=60)
                self.assertNotIn(b"bad program argument " + option.encode(), result.stderr)

    def test_title_names_the_version_the_program_prints(self):
        with open(MAN_PAGE) as f:
            title = re.search(r'(?m)^\.TH .* "(vantrel [^"]*)"', f.read())
        version = subprocess.run([PROGRAM, "--version"], capture_output=True, text=True,
                                 timeout=60)
        self.assertEqual((version.returncode, version.stdout), (0, title.group(1) + "\n"))

    def test_example_header_is_what_the_program_writes(self):
        blocks = example_blocks(plain_text())
        self.assertEqual(len(blocks), 3, blocks)
        document, command, header = blocks
        with tempfile.TemporaryDirectory() as work:
            with open(os.path.join(work, "resources.json"), "w") as f:
                f.write(document)
            arguments = command.replace("\\\n", " ").split()
            self.assertEqual(arguments[:2], ["$", "vantrel"])
            result = subprocess.run([PROGRAM] + arguments[2:], cwd=work, capture_output=True,
                                    timeout=60)
            self.assertEqual((result.returncode, result.stderr), (0, b""))
            with open(os.path.join(work, "resources.h")) as f:
                written = f.read()
            # The page shows the header's tabs as groff's tab stops: compare word by word.
            self.assertEqual([line.split() for line in written.splitlines()],
                             [line.split() for line in header.splitlines()])
            self.assertIn("TOOL_ICON_ID\t", written)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    options, rest = parser.parse_known_args()
    PROGRAM = os.path.abspath(options.program)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
