#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer it may not see.

The layers of Sources/, each seeing only those it lists. A lower layer returns values to the
one above it and never calls back up, so that each can be read and tested without the rest.
"""
import re
import sys
from pathlib import Path

MAY_INCLUDE = {
    "common": set(),
    "resources": {"common"},
    "pipl": {"common", "resources"},
    "output": {"common", "resources", "pipl"},
    "strict": {"common", "resources", "pipl"},
    "inspect": {"common", "resources", "pipl", "output"},
    "driver": {"common", "resources", "pipl", "output", "strict", "inspect"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([a-z]+)/[^"]+"', re.MULTILINE)


def faults(sources: Path):
    for path in sorted(sources.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(sources)
        layer = relative.parts[0] if len(relative.parts) > 1 else None
        if layer is None:
            continue  # the entry point sees every layer
        if layer not in MAY_INCLUDE:
            yield f"{relative}: folder {layer}/ is not a known layer"
            continue
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            if included != layer and included not in MAY_INCLUDE[layer]:
                yield f"{relative}: {layer}/ may not include a header of {included}/"


def main():
    sources = Path(sys.argv[1])
    found = list(faults(sources))
    if not any(sources.rglob("*.cpp")):
        found.append(f"{sources}: no sources found")
    for fault in found:
        print(fault)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
