#!/usr/bin/env python3
"""Writes the benchmark inputs into a folder (kept between runs; regenerated when missing).

    generate_inputs.py OUTPUT_FOLDER

png-64mib.json      one "PNGI" entry whose "data" holds 64 MiB of hex digits
files-60000.json    60,000 file resources over three types, PNG images with @2x/@3x variants
files-300.json      a plug-in's list of about 300 resources: icons with variants, inline
                    images, vector art, data files and two PiPL descriptions
example-plugin.json the shipped example resource list
"""
import json
import os
import random
import shutil
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MiB = 1024 * 1024


def write_png_64mib(path):
    rng = random.Random(1)
    digits = "0123456789abcdef"
    # A repeated random block keeps generation fast; the program cannot tell.
    block = "".join(rng.choice(digits) for _ in range(MiB)).encode()
    with open(path, "wb") as f:
        # No name: a named entry gets its .rc block twice (by ID and by name), and the
        # outputs alone would then be five times the input.
        f.write(b'[\n\t{"type": "PNGI", "id": 12000, "define": "BIG_IMAGE",\n'
                b'\t "data": "')
        for _ in range(64):
            f.write(block)
        f.write(b'"}\n]\n')


def write_files_60000(path):
    """20,000 entries per type: bases and variants of PNG icons, SVG art and plain data."""
    entries = []
    variants = ["", "@2x", "@3x", "@2x"]
    for i in range(20000):
        group, variant = divmod(i, 4)
        suffix = variants[variant] if variant != 3 else "@4x"
        entries.append('{"type": "PNGI", "file": "images/toolbar/icon_%05d%s.png", "define": '
                       '"ICON_%05d%s"}' % (group, suffix, group, suffix.replace("@", "_").upper()))
    for i in range(20000):
        entries.append('{"type": "SVG", "file": "art/vector/shape_%05d.svg", "name": "Shape_%05d"}'
                       % (i, i))
    for i in range(20000):
        entries.append('{"type": "TEXT", "file": "data/tables/table_%05d.bin", "id": %d}'
                       % (i, 10000 + i))
    random.Random(2).shuffle(entries)
    with open(path, "w") as f:
        f.write("[\n\t" + ",\n\t".join(entries) + "\n]\n")


def write_files_300(path):
    """What a large plug-in ships: mostly icons in two or three resolutions, given by file."""
    rng = random.Random(3)
    with open(os.path.join(ROOT, "examples", "plugin", "resources.json")) as example:
        pipls = [entry for entry in json.load(example) if entry["type"] == "PiPL"]
    entries = list(pipls)
    for i in range(80):
        stem = "icons/%s_%02d" % (rng.choice(["tool", "cursor", "panel", "brush", "swatch"]), i)
        variants = ["", "@2x"] + (["@3x"] if i % 4 == 0 else [])
        for variant in variants:
            entries.append({"type": "PNGI", "file": stem + variant + ".png",
                            "define": (stem.split("/")[1] + variant.replace("@", "_")).upper()})
    for i in range(20):
        data = "89504e470d0a1a0a" + "".join(rng.choice("0123456789abcdef")
                                            for _ in range(2 * rng.randrange(100, 800)))
        entries.append({"type": "PNGI", "name": "Inline_%02d" % i, "define": "INLINE_%02d" % i,
                        "data": data})
    for i in range(50):
        entries.append({"type": "SVG", "file": "art/shape_%02d.svg" % i, "name": "Shape%02d" % i,
                        "define": "SHAPE_%02d" % i})
    for i in range(48):
        entry = {"type": "TEXT", "id": 16100 + i, "define": "TABLE_%02d" % i}
        if i % 3 == 0:
            entry["data"] = "".join(rng.choice("0123456789ABCDEF") for _ in range(64))
        else:
            entry["file"] = "data/table_%02d.bin" % i
        entries.append(entry)
    with open(path, "w") as f:
        f.write("[\n\t" + ",\n\t".join(json.dumps(entry) for entry in entries) + "\n]\n")


INPUTS = {
    "png-64mib.json": write_png_64mib,
    "files-60000.json": write_files_60000,
    "files-300.json": write_files_300,
    "example-plugin.json": lambda path: shutil.copyfile(
        os.path.join(ROOT, "examples", "plugin", "resources.json"), path),
}


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, write in INPUTS.items():
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            write(path + ".partial")
            os.replace(path + ".partial", path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
