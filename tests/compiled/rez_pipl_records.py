#!/usr/bin/env python3
"""Runs the built program with --mac on a filter that uses every member real plug-ins need
(the description of the golden case "pipl-photoshop-real-plugin-members"), reads the .r
text's "data" statements as Rez would, decodes the PiPL resource into its property records
and compares them with the records written out by hand below.

    rez_pipl_records.py --program vantrel
"""
import argparse
import os
import struct
import subprocess
import sys
import tempfile

from compiled_resources import parse_r

DESCRIPTION = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cli", "cases",
                           "pipl-photoshop-real-plugin-members", "files", "input.json")

# (vendor, key, declared length, data without padding) of the Mac list, in list order: the
# fixed records, then the member-driven ones in member-name order. Integers big-endian.
FICI = bytes.fromhex("0404060004040E0004040E000404060004040E000404060004040E00")
EXPECTED_RECORDS = [
    (b"8BIM", b"kind", 4, b"8BFM"),
    (b"8BIM", b"vers", 4, struct.pack(">I", 0x00040000)),
    (b"8BIM", b"mi64", 12, b"\x0aPluginMain\0"),          # length byte, name, one pad byte
    (b"8BIM", b"prst", 4, struct.pack(">I", 1)),
    (b"8BIM", b"enbl", 8, b"true\0\0\0\0"),
    (b"8BIM", b"ms32", 8, struct.pack(">ii", 2000000, 100000)),  # height, then width
    (b"8BIM", b"fici", 28, FICI),
    (b"8BIM", b"fmip", 1, bytes([0x80 | 0x20 | 0x10])),  # gray, RGB, CMYK; not indexed
    (b"8BIM", b"mxch", 6, struct.pack(">3H", 1, 4, 24)),
    (b"8BIM", b"mxsz", 4, struct.pack(">2H", 30000, 32767)),
    (b"8BIM", b"name", 8, b"\x04Blur\0\0\0"),
    (b"8BIM", b"prty", 4, struct.pack(">i", -2)),
    (b"8BIM", b"fxio", 4, struct.pack(">I", 1)),
    (b"8BIM", b"cmpt", 12, struct.pack(">I", 0x00010203) + b"Blur\0\0\0\0"),
]


def decode_mac_pipl(body):
    """The records of a Mac property list: a version word 0 and a record count, then per
    record vendor, key, a zero attribute word, the declared length and the data, padded
    with zero bytes to a multiple of four. Anything else is an error."""
    version, count = struct.unpack_from(">II", body, 0)
    assert version == 0, f"version {version}"
    records, at = [], 8
    for _ in range(count):
        vendor, key, attributes, length = struct.unpack_from(">4s4sII", body, at)
        assert attributes == 0, (key, attributes)
        data_end = at + 16 + length
        padded_end = at + 16 + (length + 3) // 4 * 4
        assert padded_end <= len(body), f"{key} runs past the resource"
        assert body[data_end:padded_end] == b"\0" * (padded_end - data_end), f"{key} padding"
        records.append((vendor, key, length, body[at + 16:data_end]))
        at = padded_end
    assert at == len(body), f"{len(body) - at} bytes after the last record"
    return records


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vantrel-rez-") as work:
        run = subprocess.run([os.path.abspath(args.program), "--input", DESCRIPTION,
                              "--adobe", "IDtoFile.txt", "--mac", "out.r"],
                             cwd=work, capture_output=True, timeout=60)
        if run.returncode != 0 or run.stderr:
            print(f"program status {run.returncode}, stderr {run.stderr!r}")
            return 1
        with open(os.path.join(work, "out.r"), "rb") as f:
            resources = parse_r(f.read(), work)
    # "Terminology": false, so no aete beside the PiPL.
    if set(resources) != {(b"PiPL", 16000)}:
        print(f"resources {sorted(resources)}, expected only PiPL 16000")
        return 1
    name, body = resources[(b"PiPL", 16000)]
    records = decode_mac_pipl(body)
    failures = [f"record {i}: expected {want}, got {got}"
                for i, (want, got) in enumerate(zip(EXPECTED_RECORDS, records)) if want != got]
    if len(records) != len(EXPECTED_RECORDS):
        failures.append(f"{len(records)} records, expected {len(EXPECTED_RECORDS)}")
    if name is not None:
        failures.append(f"resource named {name!r}")
    print("\n".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
