#!/usr/bin/env python3
"""Compiles the .rc files the program writes with a real resource compiler (MinGW's windres)
and checks that the compiled resources hold exactly the bytes the input meant: the referenced
files, the hex data, and the property lists and terminology of PiPL descriptions."""
import argparse
import json
import os
import struct
import subprocess
import sys
import tempfile

ALL_BYTES = bytes(range(256))

# Two PiPL descriptions and the Windows bytes they must compile to: the Illustrator plug-in
# "Hi" and the Photoshop filter "Blur" (version 1.2.3, category "Demo", RGB only), whose
# terminology resource comes with it.
ILLUSTRATOR_HI = {"PluginType": "Illustrator", "Name": "Hi",
                  "Version": {"Major": 1, "Minor": 0, "Revision": 0}}
PHOTOSHOP_BLUR = {"PluginType": "Photoshop_Filter", "Name": "Blur",
                  "Version": {"Major": 1, "Minor": 2, "Revision": 3}, "Category": "Demo",
                  "SupportedModes": {mode: mode == "RGB" for mode in (
                      "Bitmap", "Grayscale", "Indexed", "RGB", "CMYK", "HSL", "HSB", "LAB",
                      "Multichannel", "Duotone")}}
ILLUSTRATOR_HI_LIST = bytes.fromhex(
    "01000000000004000000"
    "45424441646e696b000000000400000041455053"
    "4542444173727669000000000400000002000000"
    "4542444136387877000000000c000000506c7567696e4d61696e0000"
    "454244416d6e6970000000000400000002486900")
PHOTOSHOP_BLUR_LIST = bytes.fromhex(
    "0100000000000d000000"
    "4d494238646e696b00000000040000004d464238"
    "4d49423873726576000000000400000000000400"
    "4d49423836387877000000001400000046696c746572506c7567696e4d61696e00000000"
    "4d49423834363638000000001400000046696c746572506c7567696e4d61696e00000000"
    "4d49423874737270000000000400000001000000"
    "4d4942386c626e6500000000080000007472756500000000"
    "4d4942383233736d0000000008000000ffffff7fffffff7f"
    "4d49423869636966000000001c0000000404060004040E0004040E000404060004040E000404060004040E00"
    "4d4942386774616300000000080000000444656d6f000000"
    "4d494238656d616e000000000800000004426c7572000000"
    "4d49423865646f6d000000000400000010000000"
    "4d4942386d7473680000000018000000000000006d5466446d546644e803426c7572000000000000"
    "4d49423874706d63000000000c00000003020100426c757200000000")
# The terminology of a plug-in named "Hi", with the name (length byte and letters, twice)
# swapped for "Blur".
TERMINOLOGY_HI = ("01000100000000000100024869006d546644010001000100024869006d5466446d546644"
                  "6c6c756e000000526d49230000B00000000000000100646d43540100002020202000")
PHOTOSHOP_BLUR_TERMINOLOGY = bytes.fromhex(TERMINOLOGY_HI.replace("024869", "04426c7572"))


def files_and_hex():
    """Input files, the resource list, and the resources the compiled script must hold,
    keyed by (type, name or ID) as the compiler stores them (names upper-cased)."""
    logo = b'<svg xmlns="http://www.w3.org/2000/svg">\r\n\t<rect/>\n</svg>\n'
    files = {"all-bytes.bin": ALL_BYTES, "logo.svg": logo}
    entries = [
        {"type": "PNGI", "file": "all-bytes.bin", "id": 10200, "name": "Icon"},
        {"type": "SVG", "file": "logo.svg", "id": 10300, "name": "Logo"},
        {"type": "DATA", "data": ALL_BYTES.hex(), "id": 10400},
        {"type": "DATA", "data": ALL_BYTES[::-1].hex().upper(), "id": 10401, "name": "Blob"},
        # A double quote in a name key is written as two.
        {"type": "DATA", "data": "01", "id": 10402, "name": 'My"Name'},
        {"type": "PNGI", "file": "logo.svg", "id": 10202, "name": 'Say "hi"'},
    ]
    expected = {
        ("PNGI", 10200): ALL_BYTES, ("PNGI", "ICON"): ALL_BYTES,
        ("SVG", 10300): logo, ("SVG_", 10300): logo, ("SVG", "LOGO"): logo, ("SVG_", "LOGO"): logo,
        ("DATA", 10400): ALL_BYTES,
        ("DATA", 10401): ALL_BYTES[::-1], ("DATA", "BLOB"): ALL_BYTES[::-1],
        ("DATA", 10402): b"\1", ("DATA", 'MY"NAME'): b"\1",
        ("PNGI", 10202): logo, ("PNGI", 'SAY "HI"'): logo,
    }
    return files, entries, expected


# The same two plug-ins with the optional host members: an arm64 entry point (Mac only),
# an enable condition, filter case info and raw properties. The Illustrator list takes only
# the three raw records, codes reversed; the Photoshop one has new 'enbl' and 'fici' data and
# the same three records after 'name'.
FILTER_CASES = [(1, 2, 1), (3, 4, 2), (5, 6, 4), (7, 8, 8), (0, 0, 0), (255, 255, 15), (4, 4, 14)]
HOST_MEMBERS = {
    "CodeMacARM64": True,
    "EnableInfo": "in (PSHOP_ImageMode, RGBMode)",
    "FilterCaseInfo": [{"InHandling": in_handling, "OutHandling": out_handling,
                        "DontCopyToDestination": bool(flags & 1),
                        "WorksWithBlankData": bool(flags & 2),
                        "FiltersLayerMasks": bool(flags & 4),
                        "WritesOutsideSelection": bool(flags & 8)}
                       for in_handling, out_handling, flags in FILTER_CASES],
    "Properties": [{"Vendor": "8BIM", "Key": "SbIn", "Data": "0102030405"},
                   {"Vendor": "Acme", "Key": "opts", "MacData": "0000000A", "WinData": "0a000000"},
                   {"Vendor": "8BIM", "Key": "none", "Data": ""}],
}
RAW_RECORDS = ("4d4942386e496253000000000500000001020304" "05000000"
               "656d63417374706f00000000040000000a000000"
               "4d494238656e6f6e0000000000000000")
ILLUSTRATOR_HOST_LIST = bytes.fromhex(
    "01000000000007000000"
    "45424441646e696b000000000400000041455053"
    "4542444173727669000000000400000002000000"
    "4542444136387877000000000c000000506c7567696e4d61696e0000"
    "454244416d6e6970000000000400000002486900" + RAW_RECORDS)
PHOTOSHOP_HOST_LIST = bytes.fromhex(
    "01000000000010000000"
    "4d494238646e696b00000000040000004d464238"
    "4d49423873726576000000000400000000000400"
    "4d49423836387877000000001400000046696c746572506c7567696e4d61696e00000000"
    "4d49423834363638000000001400000046696c746572506c7567696e4d61696e00000000"
    "4d49423874737270000000000400000001000000"
    "4d4942386c626e650000000020000000"
    "696e20285053484f505f496d6167654d6f64652c205247424d6f646529000000"
    "4d4942383233736d0000000008000000ffffff7fffffff7f"
    "4d49423869636966000000001c000000"
    "0102010003040200050604000708080000000000ffff0f0004040e00"
    "4d4942386774616300000000080000000444656d6f000000"
    "4d494238656d616e000000000800000004426c7572000000"
    + RAW_RECORDS +
    "4d49423865646f6d000000000400000010000000"
    "4d4942386d7473680000000018000000000000006d5466446d546644e803426c7572000000000000"
    "4d49423874706d63000000000c00000003020100426c757200000000")


def pipl_descriptions(host_members, illustrator_list, photoshop_list):
    """The two plug-ins, each with host_members added, and their expected property lists."""
    entries = [
        {"type": "PiPL", "id": 16000, "data": dict(ILLUSTRATOR_HI, **host_members)},
        {"type": "PiPL", "id": 16001, "data": dict(PHOTOSHOP_BLUR, **host_members)},
    ]
    expected = {
        ("PIPL", 16000): illustrator_list,
        ("PIPL", 16001): photoshop_list,
        ("AETE", 1000): PHOTOSHOP_BLUR_TERMINOLOGY,
    }
    return {}, entries, expected


# The filter of the golden case "pipl-photoshop-real-plugin-members", using every member real
# plug-ins need beyond those above: its own entry point name, an ARM64 entry point, size
# limits, format properties, a priority, POSIX I/O (Mac only, so absent here) and no scripting
# terminology (so neither 'hstm' nor an aete resource). Records follow the fixed ones in
# member-name order, codes reversed, integers little-endian, data padded to four bytes.
REAL_PLUGIN_DESCRIPTION = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cli",
                                       "cases", "pipl-photoshop-real-plugin-members", "files",
                                       "input.json")
PLUGIN_MAIN = b"PluginMain\0\0".hex()  # zero-terminated, padded to twelve bytes
REAL_PLUGIN_LIST = bytes.fromhex(
    "0100" "00000000" "0f000000"
    "4d494238646e696b" "00000000" "04000000" "4d464238"            # kind '8BFM'
    "4d49423873726576" "00000000" "04000000" "00000400"            # vers
    "4d49423836387877" "00000000" "0c000000" + PLUGIN_MAIN +      # wx86 "PluginMain"
    "4d49423834363638" "00000000" "0c000000" + PLUGIN_MAIN +      # 8664 "PluginMain"
    "4d49423874737270" "00000000" "04000000" "01000000"            # prst
    "4d4942386c626e65" "00000000" "08000000" "7472756500000000"    # enbl "true"
    "4d4942383233736d" "00000000" "08000000" "80841e00" "a0860100"  # ms32 2000000, 100000
    "4d49423869636966" "00000000" "1c000000"                       # fici, the fixed seven
    "0404060004040E0004040E000404060004040E000404060004040E00"
    "4d49423834366177" "00000000" "0c000000" + PLUGIN_MAIN +      # wa64 "PluginMain"
    "4d49423870696d66" "00000000" "04000000" "b0000000"            # fmip gray, RGB, CMYK
    "4d4942386863786d" "00000000" "06000000" "010004001800" "0000"  # mxch 1, 4, 24
    "4d4942387a73786d" "00000000" "04000000" "3075" "ff7f"          # mxsz 30000, 32767
    "4d494238656d616e" "00000000" "08000000" "04426c7572000000"    # name "Blur"
    "4d49423879747270" "00000000" "04000000" "feffffff"            # prty -2
    "4d49423874706d63" "00000000" "0c000000" "03020100426c757200000000")  # cmpt


def real_plugin_members():
    with open(REAL_PLUGIN_DESCRIPTION, encoding="utf-8") as f:
        entries = json.load(f)
    return {}, entries, {("PIPL", 16000): REAL_PLUGIN_LIST}


# The terminology a Photoshop PiPL names: its own, generated with the given ID, codes and
# name ("Soft", not the plug-in's "Blur"); the list's own "aete" of that ID, which then
# comes alone; and none at all ("Terminology": false, so no 'hstm' either).
def own_terminology(aete):
    return {"Class": "blrC", "Event": "blrE", "Name": "Soft", "aete": aete}


BLUR_VERSION = {"Major": 1, "Minor": 2, "Revision": 3}
LISTED_TERMINOLOGY = bytes.fromhex("0100000000000001045365747300")
FILTER_PLUGIN_MAIN = b"FilterPluginMain\0\0\0\0".hex()
FORMAT_PLUGIN_MAIN = b"FormatPluginMain\0\0\0\0".hex()
PHOTOSHOP_TAIL = ("4d49423874737270" "00000000" "04000000" "01000000"        # prst
                  "4d4942386c626e65" "00000000" "08000000" "7472756500000000"  # enbl "true"
                  "4d4942383233736d" "00000000" "08000000" "ffffff7fffffff7f"  # ms32
                  "4d49423869636966" "00000000" "1c000000"                     # fici
                  "0404060004040E0004040E000404060004040E000404060004040E00")
BLUR_NAME = "4d494238656d616e" "00000000" "08000000" "04426c7572000000"
BLUR_CMPT = "4d49423874706d63" "00000000" "0c000000" "03020100" "426c757200000000"


def blur_list(entry_point_hex, entry_point_length, aete_hex):
    """kind '8BFM', vers, the entry points, the fixed records, then name, hstm, cmpt."""
    entry_point = "00000000" + entry_point_length + entry_point_hex
    return bytes.fromhex(
        "0100" "00000000" "0b000000"
        "4d494238646e696b" "00000000" "04000000" "4d464238"
        "4d49423873726576" "00000000" "04000000" "00000400"
        "4d49423836387877" + entry_point + "4d49423834363638" + entry_point
        + PHOTOSHOP_TAIL + BLUR_NAME
        + "4d4942386d747368" "00000000" "18000000"  # hstm: 0, class, event, ID, name, 0
          "00000000" "43726c62" "45726c62" + aete_hex + "536f667400000000" "0000"
        + BLUR_CMPT)


def terminology_scenario():
    entries = [
        {"type": "PiPL", "id": 16000, "data": {
            "PluginType": "Photoshop_Filter", "Name": "Blur", "Version": BLUR_VERSION,
            "EntryPoint": "PluginMain", "Terminology": own_terminology(16001)}},
        {"type": "aete", "id": 16003, "data": LISTED_TERMINOLOGY.hex()},
        {"type": "PiPL", "id": 16002, "data": {
            "PluginType": "Photoshop_Filter", "Name": "Blur", "Version": BLUR_VERSION,
            "Terminology": own_terminology(16003)}},
        {"type": "PiPL", "id": 16004, "data": {
            "PluginType": "Photoshop_Format", "Name": "Read",
            "Version": {"Major": 1, "Minor": 0, "Revision": 0}, "Terminology": False}},
    ]
    read_entry_point = "00000000" "14000000" + FORMAT_PLUGIN_MAIN
    read_list = bytes.fromhex(
        "0100" "00000000" "0a000000"
        "4d494238646e696b" "00000000" "04000000" "46494238"  # kind '8BIF'
        "4d49423873726576" "00000000" "04000000" "00000100"  # vers 1.0
        "4d49423836387877" + read_entry_point + "4d49423834363638" + read_entry_point
        + PHOTOSHOP_TAIL
        + "4d494238656d616e" "00000000" "08000000" "0452656164000000"
        + "4d49423874706d63" "00000000" "0c000000" "00000100" "5265616400000000")
    soft = "04536f6674" "00"  # suite and event name: length byte, no padding; empty text
    generated = bytes.fromhex(
        "0100" "0100" "0000" "0000" "0100" + soft + "43726c62" "0100" "0100"
        "0100" + soft + "43726c62" "45726c62" "6c6c756e" "00" "0000" "526d4923" "00" "00b0"
        "0000" "0000" "0000" "0100" "646d4354" "0100" "00" "20202020" "00")
    expected = {
        ("PIPL", 16000): blur_list(PLUGIN_MAIN, "0c000000", "813e"),
        ("AETE", 16001): generated,
        ("PIPL", 16002): blur_list(FILTER_PLUGIN_MAIN, "14000000", "833e"),
        ("AETE", 16003): LISTED_TERMINOLOGY,
        ("PIPL", 16004): read_list,
    }
    return {}, entries, expected


SCENARIOS = {"files-and-hex": files_and_hex,
             "pipl": lambda: pipl_descriptions({}, ILLUSTRATOR_HI_LIST, PHOTOSHOP_BLUR_LIST),
             "pipl-host-members": lambda: pipl_descriptions(HOST_MEMBERS, ILLUSTRATOR_HOST_LIST,
                                                             PHOTOSHOP_HOST_LIST),
             "pipl-real-plugin-members": real_plugin_members,
             "pipl-terminology": terminology_scenario}


def compilable(rc_text):
    """The compiler joins adjacent quoted strings even across lines, so a line that begins
    with a quoted name would extend the string ending the line before; a statement between
    them keeps them apart without changing any resource's bytes."""
    lines = rc_text.split(b"\n")
    return b"\n".join(b"LANGUAGE 9, 1\n" + line if line.startswith(b'"') else line
                      for line in lines)


def read_res_name(data, offset):
    """A type or name field of a .res header: an ordinal, or a zero-ended UTF-16 string."""
    (first,) = struct.unpack_from("<H", data, offset)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    end = offset
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def read_res(data):
    """Maps (type, name) to the data of every resource in a .res file; duplicates are listed
    apart so that the caller can report them."""
    resources, duplicates, offset = {}, [], 0
    while offset + 8 <= len(data):
        data_size, header_size = struct.unpack_from("<II", data, offset)
        kind, position = read_res_name(data, offset + 8)
        name, _ = read_res_name(data, position)
        body = data[offset + header_size:offset + header_size + data_size]
        offset = (offset + header_size + data_size + 3) & ~3
        if (kind, name) == (0, 0) and data_size == 0:
            continue  # the empty entry every .res file starts with
        if (kind, name) in resources:
            duplicates.append((kind, name))
        resources[(kind, name)] = body
    return resources, duplicates


def run_scenario(name, args, work):
    files, entries, expected = SCENARIOS[name]()
    for file_name, content in files.items():
        with open(os.path.join(work, file_name), "wb") as f:
            f.write(content)
    with open(os.path.join(work, "resources.json"), "w") as f:
        json.dump(entries, f)

    emulator = args.emulator.split("|") if args.emulator else []
    command = emulator + [args.program, "--input", "resources.json",
                                          "--adobe", "IDtoFile.txt", "--windows", "out.rc"]
    run = subprocess.run(command, cwd=work, capture_output=True, timeout=120)
    if run.returncode != 0 or run.stderr:
        return [f"program status {run.returncode}, stderr {run.stderr!r}"]
    with open(os.path.join(work, "out.rc"), "rb") as f:
        rc_text = f.read()
    with open(os.path.join(work, "compilable.rc"), "wb") as f:
        f.write(compilable(rc_text))

    compile_run = subprocess.run([args.windres, "--input-format=rc", "--output-format=res",
                                  "-i", "compilable.rc", "-o", "out.res"],
                                 cwd=work, capture_output=True, timeout=600)
    if compile_run.returncode != 0:
        return [f"{args.windres} failed:\n{compile_run.stderr.decode(errors='replace')}",
                f"script:\n{rc_text.decode(errors='replace')}"]
    with open(os.path.join(work, "out.res"), "rb") as f:
        resources, duplicates = read_res(f.read())

    failures = [f"{key} compiled twice" for key in duplicates]
    for key in sorted(set(expected) | set(resources), key=repr):
        if key not in resources:
            failures.append(f"{key} missing from the compiled resources")
        elif key not in expected:
            failures.append(f"{key} compiled but not expected")
        elif resources[key] != expected[key]:
            failures.append(f"{key} differs\n--- expected\n{expected[key].hex()}\n"
                            f"--- compiled\n{resources[key].hex()}")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--emulator", default="", help="command words joined by |")
    parser.add_argument("--program", required=True)
    parser.add_argument("--windres", required=True)
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    with tempfile.TemporaryDirectory(prefix="vantrel-rc-") as work:
        failures = run_scenario(args.scenario, args, work)
    print("\n".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
