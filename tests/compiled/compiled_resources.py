#!/usr/bin/env python3
"""Runs the built program with --mac, --windows, --rsrc, --res and --depfile on generated
resource lists and checks the compiled files against independent readings of the texts:

- the .rsrc, read as the Resource Manager's file format describes it, holds exactly the
  resources of the .r text's "read" and "data" statements (parsed here);
- the .res holds exactly the resources GNU windres compiles from the .rc (with a statement
  between lines so that windres does not join strings), and windres turns it into an object;
- the depfile names the outputs as targets and the list and its files as prerequisites.

    compiled_resources.py --program vantrel --windres x86_64-w64-mingw32-windres [--lists N]
"""
import argparse
import json
import os
import random
import re
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "windows"))
from resource_compiler import compilable, read_res  # noqa: E402


def read_rsrc(data):
    """(type, id) -> (name or None, attributes, bytes) from a data-fork resource file."""
    data_offset, map_offset, data_length, map_length = struct.unpack_from(">IIII", data, 0)
    assert data_offset + data_length <= map_offset, "data area runs into the map"
    assert map_offset + map_length == len(data), "map does not end the file"
    assert data[map_offset:map_offset + 16] == data[:16], "map's header copy differs"
    type_list_offset, name_list_offset = struct.unpack_from(">HH", data, map_offset + 24)
    type_list = map_offset + type_list_offset
    names = map_offset + name_list_offset
    (type_count,) = struct.unpack_from(">H", data, type_list)
    resources = {}
    for index in range((type_count + 1) & 0xFFFF):
        kind, count, references = struct.unpack_from(">4sHH", data, type_list + 2 + 8 * index)
        for r in range(count + 1):
            rid, name_offset, attributes, offset_high, offset_low, handle = struct.unpack_from(
                ">hHBBHI", data, type_list + references + 12 * r)
            offset = data_offset + (offset_high << 16 | offset_low)
            (size,) = struct.unpack_from(">I", data, offset)
            name = None
            if name_offset != 0xFFFF:
                length = data[names + name_offset]
                name = data[names + name_offset + 1:names + name_offset + 1 + length]
            assert (kind, rid) not in resources, f"{kind} {rid} twice"
            resources[(kind, rid)] = (name, attributes, data[offset + 4:offset + 4 + size])
    return resources


REZ_STATEMENT = re.compile(
    rb"(read|data) '([^']*)' \((-?\d+)(?:, \"((?:[^\"\\]|\\.)*)\")?\) "
    rb"(?:\"([^\"\n]*)\";\n|\{((?:\n\t\$\"[0-9A-Fa-f ]*\")*)\n\};\n\n)")


def rez_literal_type(text):
    """A Rez four-character literal: shorter ones right-aligned with zero bytes."""
    return b"\0" * (4 - len(text)) + text


def parse_r(text, folder):
    """(type, id) -> (name, bytes) of the .r statements, files read as Rez would."""
    resources, at = {}, 0
    while at < len(text):
        match = REZ_STATEMENT.match(text, at)
        assert match, f"unparsed .r text at {at}: {text[at:at + 80]!r}"
        kind, rtype, rid, name, path, lines = match.groups()
        if kind == b"read":
            with open(os.path.join(folder, path.decode()), "rb") as f:
                body = f.read()
        else:
            body = bytes.fromhex(b"".join(re.findall(rb"\$\"([^\"]*)\"", lines))
                                 .replace(b" ", b"").decode())
        # The writer escapes only double quotes in names.
        name = None if name is None else name.replace(b'\\"', b'"')
        resources[(rez_literal_type(rtype), int(rid))] = (name, body)
        at = match.end()
    return resources


def random_list(rng, folder):
    """A list of file, hex and PiPL resources with odd names, types and paths."""
    entries, used = [], set()
    name_pool = ["Icon", "a b", 'say "hi"', "caf\u00e9", "x@2x", "\u00fcber-\u00e9t\u00e9", "n#1$"]
    for i in range(rng.randint(1, 12)):
        rtype = rng.choice(["PNGI", "SVG", "DATA", "abcd", "x1", "snd "])
        rid = rng.randint(10000, 32767)
        while (rtype, rid) in used:
            rid = rng.randint(10000, 32767)
        used.add((rtype, rid))
        entry = {"type": rtype, "id": rid}
        if rng.random() < 0.5:
            entry["name"] = rng.choice(name_pool) + str(i)
        body = bytes(rng.randrange(256) for _ in range(rng.randint(0, 300)))
        if rng.random() < 0.5:
            path = f"dir {i}/f#{i}.bin" if rng.random() < 0.5 else f"f{i}.bin"
            os.makedirs(os.path.join(folder, os.path.dirname(path) or "."), exist_ok=True)
            with open(os.path.join(folder, path), "wb") as f:
                f.write(body)
            entry["file"] = path
        else:
            entry["data"] = (body or b"\0").hex()
        entries.append(entry)
    if rng.random() < 0.3:
        description = {"PluginType": rng.choice(["Illustrator", "Photoshop_Filter"]),
                       "Name": "P", "Version": {"Major": 1, "Minor": 0, "Revision": 0}}
        # A Photoshop description names the terminology resource that follows it: the
        # default one, one of its own, or none.
        terminology = rng.choice([None, "own", False])
        if description["PluginType"] != "Illustrator" and terminology == "own":
            description["Terminology"] = {"aete": rng.randint(1, 32767), "Class": "AbCd",
                                          "Event": "EfGh", "Name": "Own terms"}
        elif description["PluginType"] != "Illustrator" and terminology is False:
            description["Terminology"] = False
        entries.append({"type": "PiPL", "data": description})
    return entries


def unescape_make(word):
    return re.sub(r"\\([ #\t])", r"\1", word).replace("$$", "$")


def check_run(args, folder, entries):
    with open(os.path.join(folder, "list.json"), "w", encoding="utf-8") as f:
        json.dump(entries, f, ensure_ascii=False)
    outputs = ["IDtoFile.txt", "out.r", "out.rc", "out.rsrc", "out.res"]
    run = subprocess.run([args.program, "--input", "list.json", "--adobe", outputs[0],
                          "--mac", outputs[1], "--windows", outputs[2], "--rsrc", outputs[3],
                          "--res", outputs[4], "--depfile", "out.d"],
                         cwd=folder, capture_output=True, timeout=60)
    assert run.returncode == 0 and not run.stderr, (run.returncode, run.stderr)
    read = lambda name: open(os.path.join(folder, name), "rb").read()

    expected_mac = parse_r(read("out.r"), folder)
    compiled_mac = read_rsrc(read("out.rsrc"))
    assert set(expected_mac) == set(compiled_mac), (sorted(expected_mac), sorted(compiled_mac))
    for key, (name, body) in expected_mac.items():
        got_name, attributes, got_body = compiled_mac[key]
        assert (got_name, attributes, got_body) == (name, 0, body), key

    with open(os.path.join(folder, "compilable.rc"), "wb") as f:
        f.write(compilable(read("out.rc")))
    subprocess.run([args.windres, "-c", "65001", "--input-format=rc", "--output-format=res",
                    "-i", "compilable.rc", "-o", "windres.res"], cwd=folder, check=True,
                   capture_output=True)
    windres_res, windres_duplicates = read_res(read("windres.res"))
    ours, our_duplicates = read_res(read("out.res"))
    assert not windres_duplicates and not our_duplicates
    assert windres_res == ours, (sorted(windres_res, key=repr), sorted(ours, key=repr))
    subprocess.run([args.windres, "-J", "res", "-O", "coff", "-i", "out.res", "-o", "out.o"],
                   cwd=folder, check=True, capture_output=True)

    depfile = read("out.d").decode()
    rule = depfile.split("\n\n")[0].replace("\\\n", " ")
    targets, prerequisites = rule.split(":", 1)
    words = lambda text: [unescape_make(w) for w in re.split(r"(?<!\\) +", text.strip()) if w]
    assert words(targets) == outputs, targets
    files = ["list.json"] + [e["file"] for e in entries if "file" in e]
    listed = words(prerequisites)
    assert listed[0] == "list.json" and sorted(listed) == sorted(set(files)), prerequisites


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("--windres", required=True)
    parser.add_argument("--lists", type=int, default=300)
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    rng = random.Random(22)
    failures = 0
    for number in range(args.lists):
        with tempfile.TemporaryDirectory(prefix="vantrel-compiled-") as folder:
            entries = random_list(rng, folder)
            try:
                check_run(args, folder, entries)
            except (AssertionError, subprocess.CalledProcessError) as failure:
                failures += 1
                print(f"list {number}: {json.dumps(entries)[:400]}\n  {failure!r}"[:2000])
    print(f"{args.lists - failures} of {args.lists} lists compiled as the texts describe")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
