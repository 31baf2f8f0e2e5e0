#!/usr/bin/env python3
"""The window at QT_SCALE_FACTOR=2 under a private X server: it is twice as large, and the keypad picture
is drawn from its own picture of twice the density, not enlarged from the plain one.

An enlarged picture shows every pixel as a 2 x 2 block of one colour; a picture drawn for the density has
edges and shading that run through the blocks. The check counts the blocks of the palm rest with its
"ZAV" letters that hold more than one colour.

Usage: hidpi.py --demo PATH [--shots DIR]
Exits 0 when sharp, 1 when not, 77 when no X server can be started here.
"""

import argparse
import os
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import journey  # noqa: E402
from journey import Demo, HarnessError, XServer, missing_tools  # noqa: E402

# The window is 960 x 700 at scale 1; the screen must hold it twice as large.
journey.SCREEN_WIDTH, journey.SCREEN_HEIGHT = 2200, 1600
SCALE = 2
WINDOW = (960, 700)
# The KITE palm rest with its "ZAV" letters, in page pixels: part of the keypad picture, no control on it.
PALM_REST = (210, 480, 100, 50)


def blocks_with_edges(pixels, w, h):
    """How many of the 2 x 2 blocks of an RGB image of w x h hold more than one colour, and how many
    blocks there are."""
    mixed = 0
    for y in range(0, h - 1, 2):
        for x in range(0, w - 1, 2):
            at = [((y + dy) * w + x + dx) * 3 for dy in (0, 1) for dx in (0, 1)]
            if len({pixels[i:i + 3] for i in at}) > 1:
                mixed += 1
    return mixed, (w // 2) * (h // 2)


def check(demo_path, shots):
    server = XServer()
    server.start()
    demo = Demo(demo_path, server.display, shots, "hidpi")
    demo.env["QT_SCALE_FACTOR"] = str(SCALE)
    failures = []
    try:
        demo.start()
        main = demo.window(demo.main.wid)
        if (main.w, main.h) != (WINDOW[0] * SCALE, WINDOW[1] * SCALE):
            failures.append(f"the window is {main.w} x {main.h} at scale {SCALE}, not "
                            f"{WINDOW[0] * SCALE} x {WINDOW[1] * SCALE}")
        x = main.x + (journey.PAGE_ORIGIN[0] + PALM_REST[0]) * SCALE
        y = main.y + (journey.PAGE_ORIGIN[1] + PALM_REST[1]) * SCALE
        w, h = PALM_REST[2] * SCALE, PALM_REST[3] * SCALE
        time.sleep(0.5)
        mixed, blocks = blocks_with_edges(demo.pixels(x, y, w, h), w, h)
        print(f"palm rest at scale {SCALE}: {mixed} of {blocks} blocks of 2 x 2 device pixels hold an edge",
              flush=True)
        # A picture drawn for the density varies inside nearly every block (the letters' edges, the
        # dithered shading); an enlarged one inside none.
        if mixed * 2 < blocks:
            failures.append(f"only {mixed} of {blocks} blocks hold an edge: the picture was enlarged")
        if failures:
            demo.screenshot("failure")
            demo.keep_evidence()
    finally:
        demo.stop()
        demo.clean()
        server.stop()
    for failure in failures:
        print(f"FAIL: {failure}", flush=True)
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--shots", default="hidpi-shots")
    args = parser.parse_args()
    if missing_tools():
        print(f"skipped: {', '.join(missing_tools())} missing (scripts/deps installs them)")
        return 77
    try:
        return check(os.path.abspath(args.demo), os.path.abspath(args.shots))
    except HarnessError as error:
        print(f"skipped: {error}")
        return 77


if __name__ == "__main__":
    sys.exit(main())
