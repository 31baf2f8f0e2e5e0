#!/usr/bin/env python3
"""hidpi.py --demo PATH [--shots DIR]: at QT_SCALE_FACTOR=2 the window is twice as large and its pictures are
those of twice the density, not enlarged ones, which show every pixel as a 2 x 2 block of one colour."""

import argparse, os, sys, time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from journey import PAGE_ORIGIN, on_own_server  # noqa: E402

PALM_REST = (210, 480, 100, 50)  # in page pixels: part of the keypad picture, no control on it


def check(demo):
    main, failures = demo.window(demo.main.wid), []
    if (main.w, main.h) != (1920, 1400):
        failures.append(f"the window is {main.w} x {main.h} at scale 2, not 1920 x 1400")
    w, h = PALM_REST[2] * 2, PALM_REST[3] * 2
    time.sleep(0.5)
    pixels = demo.pixels(main.x + (PAGE_ORIGIN[0] + PALM_REST[0]) * 2, main.y + (PAGE_ORIGIN[1] + PALM_REST[1]) * 2,
                         w, h)
    blocks = [[((y + dy) * w + x + dx) * 3 for dy in (0, 1) for dx in (0, 1)]
              for y in range(0, h - 1, 2) for x in range(0, w - 1, 2)]
    mixed = sum(len({pixels[i:i + 3] for i in block}) > 1 for block in blocks)
    print(f"palm rest at scale 2: {mixed} of {len(blocks)} blocks of 2 x 2 pixels hold an edge", flush=True)
    # A picture drawn for the density varies inside nearly every block; an enlarged one inside none.
    if mixed * 2 < len(blocks):
        failures.append(f"only {mixed} of {len(blocks)} blocks hold an edge: the picture was enlarged")
    return failures


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--shots", default="hidpi-shots")
    args = parser.parse_args()
    sys.exit(on_own_server(args.demo, args.shots, "hidpi", check, size=(2200, 1600), env={"QT_SCALE_FACTOR": "2"}))
