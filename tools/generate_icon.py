#!/usr/bin/env python3
"""Draws the application icon of Zavora: a dark rounded square with a thin frame and a bold "Z" in the
program's red RGB(255, 70, 70).

The output is committed under packaging/ and installed into the hicolor icon theme; run this again
only after a change of the drawing:

    python3 tools/generate_icon.py packaging

It writes io.github.zavora.Zavora.png (256 x 256) and io.github.zavora.Zavora-<n>.png for n = 128,
64 and 48. Every size is drawn from the same shapes, not scaled from the largest one.
"""

import sys
from pathlib import Path

from png_canvas import RED, encode

APP_ID = "io.github.zavora.Zavora"
SIZES = (256, 128, 64, 48)
TOP = (38, 38, 43)
BOTTOM = (12, 12, 14)

# Shapes in units of the icon's side, so that every size shows the same picture.
BODY = (0.0625, 0.0625, 0.9375, 0.9375, 0.16)  # left, top, right, bottom, corner radius
FRAME_INSET = 0.035
FRAME_WIDTH = 0.014
Z_OUTLINE = [
    (0.29, 0.26), (0.71, 0.26), (0.71, 0.37), (0.45, 0.63), (0.71, 0.63),
    (0.71, 0.74), (0.29, 0.74), (0.29, 0.63), (0.55, 0.37), (0.29, 0.37),
]
SAMPLES = 4  # per pixel and axis


def in_rounded_rect(x, y, rect):
    left, top, right, bottom, radius = rect
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def inset(rect, by):
    left, top, right, bottom, radius = rect
    return (left + by, top + by, right - by, bottom - by, max(radius - by, 0.0))


def in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


FRAME_OUTER = inset(BODY, FRAME_INSET)
FRAME_INNER = inset(BODY, FRAME_INSET + FRAME_WIDTH)


def sample(x, y):
    """Colour and alpha of one point of the icon, before antialiasing."""
    if not in_rounded_rect(x, y, BODY):
        return (0.0, 0.0, 0.0), 0.0
    if in_polygon(x, y, Z_OUTLINE):
        return RED, 1.0
    if in_rounded_rect(x, y, FRAME_OUTER) and not in_rounded_rect(x, y, FRAME_INNER):
        return tuple(0.7 * r + 0.3 * b for r, b in zip(RED, TOP)), 1.0
    t = (y - BODY[1]) / (BODY[3] - BODY[1])
    return tuple(a + (b - a) * t for a, b in zip(TOP, BOTTOM)), 1.0


def render(size):
    """RGBA rows of the icon at `size`, each sample an average of SAMPLES x SAMPLES points."""
    rows = []
    step = 1.0 / (size * SAMPLES)
    for py in range(size):
        row = bytearray()
        for px in range(size):
            colour = [0.0, 0.0, 0.0]
            alpha = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    y = (py * SAMPLES + sy + 0.5) * step
                    c, a = sample(x, y)
                    alpha += a
                    for i in range(3):
                        colour[i] += c[i] * a
            if alpha > 0:
                pixel = [round(c / alpha) for c in colour]
            else:
                pixel = [0, 0, 0]
            pixel.append(round(255 * alpha / (SAMPLES * SAMPLES)))
            row.extend(max(0, min(255, v)) for v in pixel)
        rows.append(bytes(row))
    return rows


def file_name(size):
    return f"{APP_ID}.png" if size == SIZES[0] else f"{APP_ID}-{size}.png"


def main(argv):
    if len(argv) != 2:
        print(f"usage: {argv[0]} <output folder>", file=sys.stderr)
        return 2
    folder = Path(argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for size in SIZES:
        (folder / file_name(size)).write_bytes(encode(size, size, render(size)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
