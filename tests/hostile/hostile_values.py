#!/usr/bin/env python3
"""Feeds crafted "type", "file", "name" and "define" values through every text output and
its real consumer: the .r text through a reader of Rez's statement and string syntax, the
.rc through GNU windres, the header through the C compiler, IDtoFile.txt line by line.

Each value, in the default mode and under --strict, is either refused with the message and
status of its member (and no output written), or reproduced exactly: windres compiles the
entry's file under its ID and name and nothing else, and under exactly its type (every
accepted type, upper-cased as the compiler stores it, its end blanks dropped), the compiled header gives back its ID,
name and path, the .r holds one statement of its type, name and path, and IDtoFile.txt its
two lines.

    hostile_values.py --program vantrel --windres x86_64-w64-mingw32-windres --cc cc
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "windows"))
from resource_compiler import compilable, read_res  # noqa: E402

# Values from the reports of outputs that said what their entries did not, and their
# variations: every byte that quotes, escapes, comments or breaks a line somewhere, alone,
# inside a value and at its ends, and the values real projects use.
INJECTIONS = [
    b'PNGI "secret.txt" 666 PNGI', b"PNGI' (666) \"secret.txt\"; read 'PNGI",
    b"TOOL_ID 666 //", b"if(x) if(!(x)) //", b'img.png\n#include "secret.h"',
    b'a.png" 666 PNGI "secret.txt', b"PNGI secret.txt 666 PNGI", b"x\r\n12 PNGI \"s\"",
]
SPECIAL = b"\"'\\ /*#$,;{}()@-._+=%&!?<>|`~^[]:"
CONTROLS = bytes(range(0x20)) + b"\x7f"
PLAIN = [b"PNGI", b"snd ", b"Ab_9", b"_x", b"x9", b"caf\xc3\xa9", b"\xe6\x97\xa5\xe6\x9c\xac",
         b"a b", b" lead", b"trail ", b"x/y", b"x-y.z_1", b"9x", b"x//y", b"x/*y", b"x*/y",
         b"ab\\", b"\\", b'"', b"'", b"a\\\"b", b"$\"00\"", b"x\\ny", b"d/x\\y.png",
         b"d/x\\ny.png"]


# Types the .rc would not carry as a type of their name had the program let them through:
# numbers, words of the resource script language, and the macros the resource compiler's
# preprocessor defines (those of the compiler at hand are added at run time), beside words
# that are plain types to it.
TYPE_WORDS = [b"STR#", b"8BIM", b"123", b"0x10", b" ", b"   ", b"ICON", b"icon", b"Icon",
              b"RCDATA", b"BEGIN", b"END", b"HTML", b"FONT", b"MENU", b"DIALOG", b"VERSION",
              b"LANGUAGE", b"STRINGTABLE", b"VERSIONINFO", b"MANIFEST", b"BITMAP", b"CURSOR",
              b"GROUP_ICON", b"DLGINIT", b"NOT", b"PURE", b"DATA", b"STRING", b"TEXT",
              b"snd ", b"WIN32", b"WIN64", b"WINNT", b"RC_INVOKED", b"i386", b"_WIN32",
              b"_X86_", b"__GNUC__", b"__LINE__", b"__FILE__", b"__COUNTER__", b"_Pragma",
              b"__VA_ARGS__", b"__has_include", b"_cdecl", b"_stdcall", b"_x", b"x__y"]


def predefined_macros(windres):
    """The macros the preprocessor that windres runs (the C compiler of its target, with
    RC_INVOKED) defines without being asked."""
    compiler = re.sub(r"windres$", "gcc", windres) if windres.endswith("windres") else "gcc"
    run = subprocess.run([compiler, "-E", "-dM", "-xc", "-DRC_INVOKED", os.devnull],
                         capture_output=True)
    if run.returncode != 0:
        raise SystemExit(f"{compiler} -dM: {run.stderr.decode(errors='replace')}")
    return [line.split()[1].split(b"(")[0] for line in run.stdout.splitlines()
            if line.startswith(b"#define ")]


def corpus():
    values = list(INJECTIONS) + list(PLAIN)
    for byte in SPECIAL + CONTROLS:
        one = bytes([byte])
        values += [one, b"a" + one + b"b", b"ab" + one]
    return list(dict.fromkeys(values))


def json_string(value):
    """The value as the lenient reader reads it back: only quotes escaped, every other byte
    raw, control bytes and backslashes included (it keeps a backslash as written unless a
    quote follows)."""
    return b'"' + value.replace(b'"', b'\\"') + b'"'


def feedable(value):
    """Whether the lenient reader can be given the value: no backslash before a quote or at
    the end, which it would read as an escape."""
    return b'\\"' not in value and not value.endswith(b"\\") and as_read(value) != b""


def derived_name(path):
    """The name a resource without "name" gets from its file: the last piece after "/" (or
    after "\\" when the path has no "/"), without its extension unless that leaves nothing."""
    last = path.split(b"/")[-1] if b"/" in path else path.split(b"\\")[-1]
    return last.rsplit(b".", 1)[0] if b"." in last and last.split(b".")[0] else last


def as_read(value):
    """What the program reads of a value in an --input file, whose line ends it normalises:
    every carriage return is dropped."""
    return value.replace(b"\r", b"")


class Failure(Exception):
    pass


def ascii_upper(text):
    return "".join(c.upper() if c.isascii() else c for c in text)


REZ_STRING = rb'"((?:[^"\\\n]|\\[\\"])*)"'
REZ_READ = re.compile(rb"read '([^'\\\n]*)' \((\d+), " + REZ_STRING + rb"\) " + REZ_STRING
                      + rb";\n")


def rez_unescape(text):
    return re.sub(rb"\\(.)", rb"\1", text)


class Checker:
    def __init__(self, args):
        self.program = os.path.abspath(args.program)
        self.windres, self.cc = args.windres, args.cc

    def run(self, folder, strict):
        args = [self.program] + (["--strict"] if strict else []) + [
            "--input", "in.json", "--header", "out.h", "--adobe", "IDtoFile.txt",
            "--mac", "out.r", "--windows", "out.rc"]
        return subprocess.run(args, cwd=folder, capture_output=True, timeout=60)

    def check(self, member, value, strict, name_from_file=False):
        entry = {"type": b"DATA", "file": b"f.bin", "id": b"12345", "name": b"N",
                 "define": b"D"}
        entry[member] = value
        if name_from_file:
            del entry["name"]
        with tempfile.TemporaryDirectory(prefix="vantrel-values-") as folder:
            text = b"[{" + b", ".join(
                b'"%s": %s' % (key.encode(), item if key == "id" else json_string(item))
                for key, item in entry.items()) + b"}]"
            with open(os.path.join(folder, "in.json"), "wb") as f:
                f.write(text)
            body = b"bytes of " + value
            entry = {key: as_read(item) for key, item in entry.items()}
            if name_from_file:
                entry["name"] = derived_name(entry["file"])
            made = self.make_file(folder, entry["file"], body)
            run = self.run(folder, strict)
            written = sorted(set(os.listdir(folder)) - {"in.json"} - self.made(entry["file"]))
            if run.returncode != 0:
                if written:
                    raise Failure(f"refused, but wrote {written}")
                return self.check_refusal(member, run, strict)
            if run.stderr:
                raise Failure(f"status 0 with {run.stderr!r}")
            return self.check_outputs(folder, entry, body, made)

    @staticmethod
    def made(path):
        return {path.split(b"/")[0].decode("utf-8", "surrogateescape")} if path else set()

    @staticmethod
    def make_file(folder, path, body):
        """Whether the path now names a file of those bytes."""
        if not path or b"\0" in path or path.startswith(b"/"):
            return False
        full = os.path.join(os.fsencode(folder), path)
        try:
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "wb") as f:
                f.write(body)
            return True
        except OSError:
            return False  # a folder, or a name the file system refuses

    STATUS = {"type": 81, "file": 83, "name": 86, "define": 87}

    def check_refusal(self, member, run, strict):
        lines = run.stderr.split(b"\n")
        prefix = b'Error: the "%s" member ' % member.encode()
        if not strict:
            if run.returncode != self.STATUS[member] or len(lines) != 2 or lines[1] \
                    or not lines[0].startswith(prefix) \
                    or not lines[0].endswith(b" at array index 0"):
                raise Failure(f"status {run.returncode}, {run.stderr!r}")
            return "refused"
        wanted = re.compile(rb"Error: in\.json:1:\d+: the \"%s\" member of entry 0 (may|must) "
                            % member.encode())
        if run.returncode == 92 and any(wanted.match(line) for line in lines):
            return "refused"
        # A type the outputs carry, but not of a Mac type's four bytes; the run without
        # --strict proves the outputs.
        length = re.compile(rb'Error: in\.json:1:\d+: type "[^"]*" of entry 0 is \d+ bytes long; ')
        if member == "type" and run.returncode == 92 and lines[-1] == b"" \
                and all(length.match(line) for line in lines[:-1]):
            return "--strict: not four bytes"
        raise Failure(f"--strict: status {run.returncode}, {run.stderr!r}")

    def check_outputs(self, folder, entry, body, made):
        read = lambda name: open(os.path.join(folder, name), "rb").read()
        rtype, path, name = entry["type"], entry["file"], entry["name"]
        match = REZ_READ.fullmatch(read("out.r"))
        if not match or match.group(1) != rtype or match.group(2) != b"12345" \
                or rez_unescape(match.group(3)) != name or rez_unescape(match.group(4)) != path:
            raise Failure(f".r says {read('out.r')!r}")
        lines = read("IDtoFile.txt").split(b"\n")
        if len(lines) != 3 or lines[2] or not lines[0].startswith(b"12345.") \
                or not all(line.endswith(b" " + path) for line in lines[:2]):
            raise Failure(f"IDtoFile.txt says {read('IDtoFile.txt')!r}")
        self.check_header(folder, entry)
        if not made:
            return "kept, .rc not compiled"
        self.check_rc(folder, rtype, name, body)
        return "kept"

    def check_rc(self, folder, rtype, name, body):
        with open(os.path.join(folder, "compilable.rc"), "wb") as f:
            f.write(compilable(read_text(folder, "out.rc")))
        run = subprocess.run([self.windres, "-c", "65001", "-i", "compilable.rc", "-o",
                              "out.res", "-O", "res"], cwd=folder, capture_output=True)
        if run.returncode != 0:
            raise Failure(f"windres: {run.stderr.decode(errors='replace').strip()}")
        resources, duplicates = read_res(read_text(folder, "out.res"))
        windows_type = ascii_upper(rtype.decode().rstrip(" "))
        expected = {(windows_type, 12345): body, (windows_type, ascii_upper(name.decode())): body}
        if resources != expected or duplicates:
            raise Failure(f"windres compiled {resources!r}, expected {expected!r}")

    def check_header(self, folder, entry):
        define = entry["define"].decode()
        with open(os.path.join(folder, "main.c"), "w") as f:
            f.write('#include <stdio.h>\n#include "out.h"\nint main(void) {\n'
                    f'    printf("%d", {define}_ID);\n    putchar(0);\n'
                    f'    fputs({define}_NAME, stdout);\n    putchar(0);\n'
                    f'    fputs({define}_FILE, stdout);\n    return 0;\n}}\n')
        build = subprocess.run([self.cc, "-std=c11", "-Wall", "-Werror", "-o", "main", "main.c"],
                               cwd=folder, capture_output=True)
        if build.returncode != 0:
            raise Failure(f"the header does not compile: {build.stderr[:400]!r}")
        got = subprocess.run([os.path.join(folder, "main")], capture_output=True).stdout
        wanted = b"12345\0" + entry["name"] + b"\0" + entry["file"]
        if got != wanted or len(read_text(folder, "out.h").split(b"\n")) != 4:
            raise Failure(f"the header gives {got!r}, expected {wanted!r}")


def read_text(folder, name):
    with open(os.path.join(folder, name), "rb") as f:
        return f.read()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True)
    parser.add_argument("--windres", required=True)
    parser.add_argument("--cc", required=True)
    args = parser.parse_args()
    checker = Checker(args)
    type_words = TYPE_WORDS + predefined_macros(args.windres)
    counts, failed = {}, 0
    for member in ("type", "file", "name", "define"):
        values = corpus() + (type_words if member == "type" else [])
        for value in filter(feedable, list(dict.fromkeys(values))):
            # Under --strict a backslash is a JSON escape, read otherwise: its own checks.
            for strict in (False, True) if b"\\" not in value else (False,):
                try:
                    outcome = checker.check(member, value, strict)
                    counts[outcome] = counts.get(outcome, 0) + 1
                except Failure as failure:
                    failed += 1
                    print(f"FAIL {member} {value!r}{' --strict' if strict else ''}: {failure}")
    # A file's value once more, as the name of an entry that has none: every output must
    # carry the name taken from it as exactly as the path.
    for value in filter(feedable, corpus()):
        if derived_name(as_read(value)):
            try:
                outcome = checker.check("file", value, False, name_from_file=True)
                counts[outcome] = counts.get(outcome, 0) + 1
            except Failure as failure:
                failed += 1
                print(f"FAIL name from file {value!r}: {failure}")
    print(f"{sum(counts.values())} checks passed ({counts}), {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
