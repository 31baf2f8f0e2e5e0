#!/usr/bin/env python3
"""The house reads one way: a folder includes only folders below it.

From the ground up: text/ and device/, then profiles/ and controls/, then settings/, then pages/, then the
programs (app/, cli/). Prints every include that goes up or sideways and exits 1 when there is one.
"""
import os
import re
import sys

FLOORS = {"text": 0, "device": 0, "profiles": 1, "controls": 1, "settings": 2, "pages": 3, "app": 4, "cli": 4}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"')


def offences(root):
    for folder, floor in FLOORS.items():
        top = os.path.join(root, folder)
        for here, _, names in os.walk(top):
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(here, name)
                with open(path, encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match or match.group(1) == folder or match.group(1) not in FLOORS:
                            continue
                        if FLOORS[match.group(1)] >= floor:
                            yield f"{os.path.relpath(path, root)}:{number}: {line.strip()}"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
    found = list(offences(root))
    for offence in found:
        print(offence)
    print(f"{len(found)} includes go up the house")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
