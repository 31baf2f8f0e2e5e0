#!/usr/bin/env python3
"""Draws the skin pictures of Zavora: the window background (960 x 700), the header (960 x 58) and
the footer (960 x 29). Dark, with thin lines in the program's red RGB(255, 70, 70).

The output is committed under res/skin/ and compiled into the program; run this again only after a
change of the drawing:

    python3 tools/generate_skin.py res/skin

(each picture also as name@2x.png, drawn for screens of twice the density)

Only the standard library is used, and every run writes the same bytes.
"""

import math
import struct
import sys
import zlib
from pathlib import Path

RED = (255, 70, 70)

# Device pixels per picture pixel of the picture being drawn: 1 for name.png, 2 for name@2x.png. The
# drawing works in picture pixels; the canvas stores device pixels.
SCALE = 1

# 4 x 4 ordered dither, so that the long dark gradients show no bands.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


class Canvas:
    def __init__(self, width, height):
        # Width and height in device pixels.
        self.s = SCALE
        self.width = width * SCALE
        self.height = height * SCALE
        self.pixels = [[0.0, 0.0, 0.0] for _ in range(self.width * self.height)]

    def fill(self, colour_at):
        """colour_at(x, y) in picture pixels, asked at each device pixel's centre."""
        s = self.s
        for y in range(self.height):
            for x in range(self.width):
                self.pixels[y * self.width + x] = list(colour_at((x + 0.5) / s - 0.5, (y + 0.5) / s - 0.5))

    def blend(self, x, y, colour, alpha):
        """Picture pixel (x, y): its square of device pixels."""
        for dy in range(self.s):
            for dx in range(self.s):
                self.blend_device(x * self.s + dx, y * self.s + dy, colour, alpha)

    def blend_device(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = min(alpha, 1.0)
        p = self.pixels[y * self.width + x]
        for i in range(3):
            p[i] += (colour[i] - p[i]) * alpha

    def hline(self, y, x0, x1, colour, alpha, fade=0):
        """A one-pixel line from x0 to x1 (inclusive) whose ends fade over `fade` pixels."""
        for x in range(x0, x1 + 1):
            self.blend(x, y, colour, alpha * ramp(x - x0, x1 - x, fade))

    def vline(self, x, y0, y1, colour, alpha, fade=0):
        for y in range(y0, y1 + 1):
            self.blend(x, y, colour, alpha * ramp(y - y0, y1 - y, fade))

    def segment(self, ax, ay, bx, by, colour, alpha, fade=0.0):
        """An antialiased line about one pixel wide; its ends fade over `fade` of its length."""
        length = math.hypot(bx - ax, by - ay)
        dx, dy = (bx - ax) / length, (by - ay) / length
        s = self.s
        for y in range(int(min(ay, by) * s) - 2 * s, int(max(ay, by) * s) + 3 * s):
            for x in range(int(min(ax, bx) * s) - 2 * s, int(max(ax, bx) * s) + 3 * s):
                px, py = (x + 0.5) / s - ax, (y + 0.5) / s - ay
                along = px * dx + py * dy
                if along < 0 or along > length:
                    continue
                across = abs(px * dy - py * dx)
                cover = max(0.0, 1.0 - across)
                if fade > 0:
                    edge = min(along, length - along) / (fade * length)
                    cover *= min(1.0, edge)
                self.blend_device(x, y, colour, alpha * cover)

    def png(self):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)  # no filter
            for x in range(self.width):
                threshold = (BAYER[y % 4][x % 4] + 0.5) / 16.0
                for value in self.pixels[y * self.width + x]:
                    level = int(value + threshold)
                    rows.append(max(0, min(255, level)))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def ramp(from_start, from_end, fade):
    if fade <= 0:
        return 1.0
    return max(0.0, min(1.0, min(from_start, from_end) / fade))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def smooth(t):
    t = max(0.0, min(1.0, t))
    return t * t * (3 - 2 * t)


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

    canvas.fill(colour)

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

    canvas.fill(colour)
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

    canvas.fill(colour)
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
    global SCALE
    out = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parent.parent / "res" / "skin"
    out.mkdir(parents=True, exist_ok=True)
    for name, draw in (("background.png", background), ("header.png", header), ("footer.png", footer)):
        # Each picture also for screens of twice the density, as name@2x.png.
        for SCALE, file in ((1, name), (2, name.replace(".png", "@2x.png"))):
            (out / file).write_bytes(draw().png())
    SCALE = 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
