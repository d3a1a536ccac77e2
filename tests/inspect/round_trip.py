#!/usr/bin/env python3
"""The inspect mode's round trip: a list is compiled into a .res and a .rsrc; `--inspect`
prints each file as a list; that list compiled again must give the same PiPL and aete bytes,
read from both files by readers written here from the formats' descriptions. Inputs: every
golden case and fuzz seed that compiles a PiPL, and generated descriptions (hostile strings included).
Generated descriptions whose strings a list can print must come back as descriptions, not
as hex data; the .res made by windres from the .rc is inspected too when windres is there.

    round_trip.py --program vantrel [--windres windres] [--lists N] [--seed S]
"""
import argparse
import glob
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "windows"))
sys.path.insert(0, os.path.join(HERE, "..", "compiled"))
from resource_compiler import compilable, read_res  # noqa: E402
from compiled_resources import read_rsrc  # noqa: E402

KINDS = ["Illustrator", "Photoshop_Acquire", "Photoshop_Actions", "Photoshop_Export",
         "Photoshop_Extension", "Photoshop_Filter", "Photoshop_Format", "Photoshop_Measurement",
         "Photoshop_Picker", "Photoshop_Selection"]
MODES = ["Bitmap", "Grayscale", "Indexed", "RGB", "CMYK", "HSL", "HSB", "LAB", "Multichannel",
         "Duotone"]
FLAGS = ["SavesImageResources", "CanRead", "CanWrite", "WritesAll", "CanWriteAlpha",
         "CanMakeThumb"]
PLAIN = ["Blur", "Hi", "", "Soft \"Glow\"", "caf\u00e9 \u2713", "x" * 255, "A B", "8BIM"]
HOSTILE = ["back\\slash", "tab\there", "bell\x07"]


def run(program, args, cwd):
    return subprocess.run([program] + args, cwd=cwd, capture_output=True, timeout=120)


def pipl_and_aete(resources, windows):
    """The PiPL and aete resources of a read file, by type and ID."""
    wanted = ("PIPL", "AETE") if windows else (b"PiPL", b"aete")
    picked = {}
    for key, value in resources.items():
        if key[0] in wanted:
            picked[key] = value if windows else value[2]
    return picked


def read_compiled(path, windows):
    with open(path, "rb") as f:
        data = f.read()
    if windows:
        resources, duplicates = read_res(data)
        assert not duplicates, f"{path}: {duplicates} twice"
        return pipl_and_aete(resources, True)
    return pipl_and_aete(read_rsrc(data), False)


class RoundTrip:
    def __init__(self, options):
        self.options = options
        self.failures = []
        self.pipls = 0
        self.described = 0

    def fail(self, what):
        self.failures.append(what)

    def inspect_and_compile(self, work, compiled, windows, label, must_describe):
        inspected = run(self.options.program, ["--inspect", compiled], work)
        if inspected.returncode != 0:
            return self.fail(f"{label}: --inspect {compiled} ended with {inspected.returncode}: "
                             f"{inspected.stderr.decode(errors='replace')}")
        listing = json.loads(inspected.stdout)  # the printed list is standard JSON
        again = os.path.join(work, "again" + (".res" if windows else ".rsrc"))
        with open(os.path.join(work, "printed.json"), "wb") as f:
            f.write(inspected.stdout)
        option = "--res" if windows else "--rsrc"
        recompiled = run(self.options.program, ["--strict", "--input", "printed.json", "--adobe",
                                                "again.txt", option, again], work)
        if recompiled.returncode != 0:
            return self.fail(f"{label}: the printed list does not compile: "
                             f"{recompiled.stderr.decode(errors='replace')}")
        before = read_compiled(os.path.join(work, compiled), windows)
        after = read_compiled(again, windows)
        if before != after:
            differ = sorted(k for k in set(before) | set(after) if before.get(k) != after.get(k))
            return self.fail(f"{label}: {'Windows' if windows else 'Mac'} PiPL/aete bytes differ"
                             f" in {differ}")
        for entry in listing:
            if entry["type"] == "PiPL":
                self.pipls += 1
                self.described += isinstance(entry["data"], dict)
                if must_describe and not isinstance(entry["data"], dict):
                    self.fail(f"{label}: PiPL {entry['id']} came back as hex data")

    def check_list(self, work, label, must_describe=False, input_name="input.json"):
        compiled = run(self.options.program, ["--input", input_name, "--adobe", "a.txt",
                                              "--rsrc", "first.rsrc", "--res", "first.res",
                                              "--windows", "first.rc"], work)
        if compiled.returncode != 0:
            return False
        self.inspect_and_compile(work, "first.res", True, label, must_describe)
        self.inspect_and_compile(work, "first.rsrc", False, label, must_describe)
        if self.options.windres:
            with open(os.path.join(work, "first.rc"), "rb") as f:
                rc = compilable(f.read())
            with open(os.path.join(work, "windres.rc"), "wb") as f:
                f.write(rc)
            made = subprocess.run([self.options.windres, "-c", "65001", "-J", "rc", "-O", "res",
                                   "-i", "windres.rc", "-o", "windres.res"], cwd=work,
                                  capture_output=True)
            if made.returncode != 0:
                return self.fail(f"{label}: windres: {made.stderr.decode(errors='replace')}")
            self.inspect_and_compile(work, "windres.res", True, label + " (windres)",
                                     must_describe)
        return True

    def golden_cases(self, cases):
        checked = 0
        for case in sorted(glob.glob(os.path.join(cases, "*"))):
            if os.path.exists(os.path.join(case, "expected", "status")):
                continue
            for path in glob.glob(os.path.join(case, "files", "*.json")) + \
                    glob.glob(os.path.join(case, "stdin")):
                checked += self.listed_file(path, os.path.join(case, "files"),
                                            os.path.basename(case))
        return checked

    def fuzz_seeds(self, seeds):
        """The fuzzer's seed lists; one that does not compile is not counted."""
        return sum(self.listed_file(path, None, "fuzz seed " + os.path.basename(path))
                   for path in sorted(glob.glob(os.path.join(seeds, "*.json"))))

    def listed_file(self, path, files, label):
        """Checks the list in path, run beside a copy of the files it names, if it has a PiPL."""
        with open(path, "rb") as f:
            text = f.read()
        if b"PiPL" not in text:
            return 0
        with tempfile.TemporaryDirectory() as work:
            if files and os.path.isdir(files):
                shutil.copytree(files, work, dirs_exist_ok=True)
            with open(os.path.join(work, "input.json"), "wb") as f:
                f.write(text)
            return self.check_list(work, label)


def random_string(rng, hostile):
    pool = PLAIN + (HOSTILE if hostile else [])
    return rng.choice(pool)


def random_code(rng):
    return "".join(rng.choice("ABCDxyz8 ") for _ in range(rng.randint(1, 4)))


def random_description(rng, index, hostile):
    kind = rng.choice(KINDS)
    d = {"PluginType": kind, "Name": random_string(rng, hostile)[:255],
         "Version": {"Major": rng.randint(0, 65535), "Minor": rng.randint(0, 255),
                     "Revision": rng.randint(0, 255)}}
    if kind == "Illustrator":
        d["Version"] = {"Major": 0, "Minor": 0, "Revision": 0}
    maybe = lambda: rng.random() < 0.4  # noqa: E731
    if kind != "Illustrator":
        if maybe():
            d["Category"] = random_string(rng, hostile)
        if maybe():
            d["SupportedModes"] = {m: rng.random() < 0.5 for m in MODES}
        for name in ["AboutBox", "ExportAlpha", "FilterLayers", "CodeMacARM64", "CodeWin64ARM",
                     "SupportsPOSIXIO"]:
            if maybe():
                d[name] = rng.random() < 0.5
        if maybe():
            d["FormatFlags"] = {f: rng.random() < 0.5 for f in FLAGS}
        if maybe():
            d["FormatFileType"] = {"Creator": random_code(rng), "Type": random_code(rng)}
        for name in ["FormatReadTypes", "FormatWriteTypes", "FormatFilteredTypes"]:
            if maybe():
                d[name] = [{"Creator": random_code(rng), "Type": random_code(rng)}
                           for _ in range(rng.randint(0, 3))]
        for name in ["FormatReadExt", "FormatWriteExt", "FormatFilteredExt"]:
            if maybe():
                d[name] = [random_code(rng) for _ in range(rng.randint(0, 3))]
        if maybe():
            d["EntryPoint"] = rng.choice(["PluginMain", "Main", "x" * 40])
        if maybe():
            d["EnableInfo"] = rng.choice(["true", "in (PSHOP_ImageMode, RGBMode)", ""])
        if maybe():
            d["PlugInMaxSize"] = {"Height": rng.randint(1, 2**31 - 1),
                                  "Width": rng.randint(1, 2**31 - 1)}
        if maybe():
            d["FormatMaxSize"] = {"Height": rng.randint(1, 32767), "Width": rng.randint(1, 32767)}
        if maybe():
            d["FormatMaxChannels"] = [rng.randint(0, 32767) for _ in range(rng.randint(1, 16))]
        if maybe():
            d["FormatICCFlags"] = {f: rng.random() < 0.5
                                   for f in ["EmbedGray", "EmbedIndexed", "EmbedRGB", "EmbedCMYK"]}
        if maybe():
            d["Priority"] = rng.randint(-2**31, 2**31 - 1)
        if maybe():
            d["FilterCaseInfo"] = [{"InHandling": rng.randint(0, 255),
                                    "OutHandling": rng.randint(0, 255),
                                    "DontCopyToDestination": rng.random() < 0.5,
                                    "WorksWithBlankData": rng.random() < 0.5,
                                    "FiltersLayerMasks": rng.random() < 0.5,
                                    "WritesOutsideSelection": rng.random() < 0.5}
                                   for _ in range(7)]
        # Each Photoshop PiPL of a list names its own terminology resource. One that stays
        # hex data (a hostile string) needs an "aete" ID that a list can hold.
        choice = rng.random()
        first_id = 20000 if hostile else 1000
        if choice < 0.2:
            d["Terminology"] = False
        elif choice < 0.8:
            d["Terminology"] = {"Class": random_code(rng), "Event": random_code(rng),
                                "Name": random_string(rng, hostile), "aete": first_id + index}
        elif index == 0 and not hostile:
            pass  # the default one, ID 1000
        else:
            d["Terminology"] = {"Class": "DfTm", "Event": "DfTm", "Name": d["Name"],
                                "aete": first_id + index}
    if maybe():
        d["Properties"] = [{"Vendor": rng.choice(["ADBE", "8BIM", "Othr"]),
                            "Key": rng.choice(["zzz1", "AbCd", "q  q"]),
                            "Data": "".join(rng.choice("0123456789abcdef")
                                            for _ in range(2 * rng.randint(0, 9)))}
                           for _ in range(rng.randint(1, 3))]
    return d


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--windres")
    parser.add_argument("--lists", type=int, default=50)
    parser.add_argument("--per-list", type=int, default=40)
    parser.add_argument("--seed", type=int, default=23)
    options = parser.parse_args()
    trip = RoundTrip(options)
    cases = trip.golden_cases(os.path.join(HERE, "..", "cli", "cases"))
    cases += trip.fuzz_seeds(os.path.join(HERE, "..", "..", "fuzz", "seeds"))
    rng = random.Random(options.seed)
    generated = 0
    for number in range(options.lists):
        hostile = number % 5 == 4
        entries = [{"type": "PiPL", "id": 16000 + i, "data": random_description(rng, i, hostile)}
                   for i in range(options.per_list)]
        with tempfile.TemporaryDirectory() as work:
            with open(os.path.join(work, "input.json"), "w") as f:
                json.dump(entries, f, ensure_ascii=False)
            if not trip.check_list(work, f"generated list {number}", must_describe=not hostile):
                trip.fail(f"generated list {number} does not compile")
            generated += len(entries)
    print(f"{cases} golden and seed lists, {generated} generated descriptions; {trip.described} of "
          f"{trip.pipls} printed PiPLs are descriptions")
    if cases == 0 or trip.described == 0:
        trip.fail("nothing was checked")
    for failure in trip.failures[:30]:
        print("FAIL", failure)
    return 1 if trip.failures else 0


if __name__ == "__main__":
    sys.exit(main())
