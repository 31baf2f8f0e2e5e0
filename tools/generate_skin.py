#!/usr/bin/env python3
"""Draws the skin pictures of Zavora: the window background (960 x 700), the header (960 x 58) and
the footer (960 x 29). Dark, with thin lines in the program's red RGB(255, 70, 70).

The output is committed under res/skin/ and compiled into the program; run this again only after a
change of the drawing:

    python3 tools/generate_skin.py res/skin

(each picture also as name@2x.png, drawn for screens of twice the density)
"""

import math
import sys
from pathlib import Path

from png_canvas import RED, Canvas, mix, smooth, write_pictures


def background():
    w, h = 960, 700
    canvas = Canvas(w, h)
    top, bottom = (22, 22, 26), (8, 8, 10)

    def colour(x, y):
        base = mix(top, bottom, smooth(y / (h - 1)))
        # A faint red glow behind the middle of the pages.
        d = math.hypot((x - 470) / 560.0, (y - 330) / 420.0)
        glow = max(0.0, 1.0 - d) ** 2
        # The left and right edges darken a little, as a vignette.
        edge = min(x, w - 1 - x) / 140.0
        shade = 0.78 + 0.22 * smooth(edge)
        return (base[0] * shade + 16 * glow, base[1] * shade + 3 * glow, base[2] * shade + 3 * glow)

    canvas.fill_all(colour)

    # Controls copy the part of this picture at their own place shifted by (4, 45), so the lines keep
    # away from the places where buttons of the window, the pages and the dialogs sample it.
    # Corner brackets at the foot of the page frame (7, 59)-(952, 672), fading away from the corner.
    for cx, cy, sx in ((16, 663, 1), (943, 663, -1)):
        for i in range(90):
            canvas.blend(cx + i * sx, cy, RED, 0.6 * (1.0 - i / 90.0))
        for i in range(1, 50):
            canvas.blend(cx, cy - i, RED, 0.6 * (1.0 - i / 50.0))

    # A thin red rule along the bottom of the page area, bright in the middle.
    for x in range(110, 851):
        canvas.blend(x, 667, RED, 0.35 * smooth(1.0 - abs(x - 480) / 370.0))

    # A bundle of slanted hairlines in the lower right, fading at their ends.
    for i in range(6):
        x0 = 700 + i * 14
        canvas.segment(x0, 660, x0 + 180, 540, RED, 0.22 - i * 0.025, fade=0.3)
    # And a short one in the upper left.
    for i in range(3):
        x0 = 20 + i * 12
        canvas.segment(x0, 250, x0 + 90, 190, RED, 0.16 - i * 0.03, fade=0.35)

    return canvas


def header():
    w, h = 960, 58
    canvas = Canvas(w, h)
    top, bottom = (34, 33, 37), (13, 13, 15)

    def colour(x, y):
        base = mix(top, bottom, smooth(y / (h - 1)))
        d = abs(x - 480) / 480.0
        return tuple(c * (1.0 - 0.18 * d * d) for c in base)

    canvas.fill_all(colour)
    # The red rule at the foot of the header, with a soft glow above it.
    canvas.hline(h - 2, 0, w - 1, RED, 0.95)
    canvas.hline(h - 3, 0, w - 1, RED, 0.30)
    canvas.hline(h - 4, 0, w - 1, RED, 0.12)
    canvas.hline(h - 5, 0, w - 1, RED, 0.05)
    canvas.hline(h - 1, 0, w - 1, (0, 0, 0), 0.6)
    # A highlight along the top edge.
    canvas.hline(0, 0, w - 1, (90, 90, 96), 0.5, fade=200)
    # A thin rule under the middle of the title bar, fading both ways.
    canvas.hline(31, 330, 745, RED, 0.35, fade=160)
    # A slanted step where the tab row ends.
    canvas.segment(322, 57, 352, 31, RED, 0.45)
    return canvas


def footer():
    w, h = 960, 29
    canvas = Canvas(w, h)
    top, bottom = (12, 12, 14), (28, 27, 31)

    def colour(x, y):
        return mix(top, bottom, smooth(y / (h - 1)))

    canvas.fill_all(colour)
    canvas.hline(0, 0, w - 1, (0, 0, 0), 0.6)
    canvas.hline(1, 0, w - 1, RED, 0.85)
    canvas.hline(2, 0, w - 1, RED, 0.25)
    canvas.hline(3, 0, w - 1, RED, 0.08)
    # Three short ticks at the right end.
    for i in range(3):
        canvas.hline(15, 880 + i * 20, 893 + i * 20, RED, 0.5)
    canvas.hline(h - 1, 0, w - 1, (70, 70, 76), 0.4, fade=200)
    return canvas


def main(argv):
    out = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parent.parent / "res" / "skin"
    write_pictures(out, [("background.png", background), ("header.png", header), ("footer.png", footer)])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
