"""The canvas that the picture generators draw on, and the PNG writer behind it.

Only the standard library is used, and every run writes the same bytes.
"""

import math
import operator
import struct
import zlib

RED = (255, 70, 70)

# 4 x 4 ordered dither, so that the dark gradients show no bands.
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def smooth(t):
    t = clamp01(t)
    return t * t * (3 - 2 * t)


def ramp(from_start, from_end, fade):
    if fade <= 0:
        return 1.0
    return max(0.0, min(1.0, min(from_start, from_end) / fade))


class Canvas:
    """Premultiplied RGBA in floats, painted "over". The drawing works in picture pixels; the canvas
    stores device pixels, `scale` of them per picture pixel: 1 for name.png, 2 for name@2x.png."""

    scale = 1  # of the picture being drawn; set by write_pictures()

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.s = Canvas.scale
        self.pw, self.ph = width * self.s, height * self.s
        size = self.pw * self.ph
        self.r, self.g, self.b, self.a = ([0.0] * size for _ in range(4))
        self.opaque = False  # set by fill_all(); an opaque canvas is written as RGB, unfiltered

    # --- Opaque pictures: a colour everywhere, then lines blended over it.

    def fill_all(self, colour_at):
        """colour_at(x, y) in picture pixels, asked at each device pixel's centre."""
        s, w = self.s, self.pw
        for y in range(self.ph):
            for x in range(w):
                i = y * w + x
                self.r[i], self.g[i], self.b[i] = colour_at((x + 0.5) / s - 0.5, (y + 0.5) / s - 0.5)
                self.a[i] = 1.0
        self.opaque = True

    def blend(self, x, y, colour, alpha):
        """Picture pixel (x, y): its square of device pixels."""
        for dy in range(self.s):
            for dx in range(self.s):
                self.blend_device(x * self.s + dx, y * self.s + dy, colour, alpha)

    def blend_device(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.pw and 0 <= y < self.ph):
            return
        alpha = min(alpha, 1.0)
        i = y * self.pw + x
        for channel, c in zip((self.r, self.g, self.b), colour):
            channel[i] += (c - channel[i]) * alpha

    def hline(self, y, x0, x1, colour, alpha, fade=0):
        """A one-pixel line from x0 to x1 (inclusive) whose ends fade over `fade` pixels."""
        for x in range(x0, x1 + 1):
            self.blend(x, y, colour, alpha * ramp(x - x0, x1 - x, fade))

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
                cover = max(0.0, 1.0 - abs(px * dy - py * dx))
                if fade > 0:
                    cover *= min(1.0, min(along, length - along) / (fade * length))
                self.blend_device(x, y, colour, alpha * cover)

    # --- Shapes: anything with a bounding box (x0, y0, x1, y1) in picture pixels and row(y, x0, x1,
    # scale), the signed distances (negative inside) at the centres of device pixels x0..x1-1 of row y.

    def _run(self, shape, margin, band, alpha_of, paint, clip, mask=None):
        """Paints every pixel whose distance d lies in the open interval `band` with the opacity
        alpha_of(d)."""
        lo, hi = band
        s = self.s
        bx0, by0, bx1, by1 = shape.bbox
        x0 = max(0, int(math.floor((bx0 - margin) * s)))
        y0 = max(0, int(math.floor((by0 - margin) * s)))
        x1 = min(self.pw, int(math.ceil((bx1 + margin) * s)) + 1)
        y1 = min(self.ph, int(math.ceil((by1 + margin) * s)) + 1)
        solid = not callable(paint)
        if solid:
            pr, pg, pb = paint
        cdist = clip.dist if clip is not None else None
        R, G, B, A, w = self.r, self.g, self.b, self.a, self.pw
        for y in range(y0, y1):
            py = (y + 0.5) / s
            row = y * w
            ds = shape.row(y, x0, x1, s)
            for k in [k for k, d in enumerate(ds) if lo < d < hi]:
                alpha = alpha_of(ds[k])
                if alpha <= 0.0:
                    continue
                x = x0 + k
                px = (x + 0.5) / s
                if cdist is not None:
                    c = 0.5 - cdist(px, py) * s
                    if c <= 0.0:
                        continue
                    if c < 1.0:
                        alpha *= c
                if mask is not None:
                    alpha *= mask(px, py)
                    if alpha <= 0.0:
                        continue
                if not solid:
                    pr, pg, pb = paint(px, py)
                i = row + x
                keep = 1.0 - alpha
                R[i] = pr * alpha + R[i] * keep
                G[i] = pg * alpha + G[i] * keep
                B[i] = pb * alpha + B[i] * keep
                A[i] = alpha + A[i] * keep

    # Distances come in picture pixels; edges are smoothed over one device pixel. A paint is a colour
    # or a function of the point that gives one.
    def fill(self, shape, paint, opacity=1.0, clip=None, mask=None):
        s = self.s

        def alpha_of(d):
            c = 0.5 - d * s
            return opacity if c >= 1.0 else (c * opacity if c > 0.0 else 0.0)

        self._run(shape, 1.0, (-math.inf, 0.5 / s), alpha_of, paint, clip, mask)

    def stroke(self, shape, width, paint, opacity=1.0, clip=None):
        """A line of the given width centred on the shape's edge."""
        half = width / 2.0
        s = self.s

        def alpha_of(d):
            c = 0.5 - (abs(d) - half) * s
            return opacity if c >= 1.0 else (c * opacity if c > 0.0 else 0.0)

        self._run(shape, half + 1.0, (-half - 0.5 / s, half + 0.5 / s), alpha_of, paint, clip)

    def glow(self, shape, radius, paint, opacity=1.0, clip=None):
        """Light that fades out over `radius` pixels outside the shape (the inside is left alone)."""

        def alpha_of(d):
            if d <= 0.0 or d >= radius:
                return 0.0
            t = 1.0 - d / radius
            return opacity * t * t

        self._run(shape, radius, (0.0, radius), alpha_of, paint, clip)

    def inner_glow(self, shape, radius, paint, opacity=1.0, clip=None):
        """Light along the inside of the edge, fading inwards over `radius` pixels."""

        s = self.s

        def alpha_of(d):
            if d >= 0.5 / s or d <= -radius:
                return 0.0
            t = 1.0 + d / radius
            return opacity * t * t * clamp01(0.5 - d * s)

        self._run(shape, 1.0, (-radius, 0.5 / s), alpha_of, paint, clip)

    def fade_below(self, y0, y1):
        """Everything fades out from row y0 to row y1 and is gone below it."""
        w, s = self.pw, self.s
        for y in range(max(0, int(y0 * s)), self.ph):
            k = 1.0 - smooth(((y + 0.5) / s - y0) / float(y1 - y0))
            for i in range(y * w, y * w + w):
                self.r[i] *= k
                self.g[i] *= k
                self.b[i] *= k
                self.a[i] *= k

    def png(self):
        """The dithered picture as PNG."""
        opaque = self.opaque
        w, step = self.pw, 3 if opaque else 4
        R, G, B, A = self.r, self.g, self.b, self.a
        rows = []
        for y in range(self.ph):
            thresholds = [(BAYER[y % 4][x] + 0.5) / 16.0 for x in range(4)]
            raw = bytearray(step * w)
            o = 0
            for i in range(y * w, y * w + w):
                a = 1.0 if opaque else A[i]
                if a > 0.0005:
                    t = thresholds[(i - y * w) & 3]
                    k = 1.0 / a
                    v = int(R[i] * k + t)
                    raw[o] = v if v < 255 else 255
                    v = int(G[i] * k + t)
                    raw[o + 1] = v if v < 255 else 255
                    v = int(B[i] * k + t)
                    raw[o + 2] = v if v < 255 else 255
                    if not opaque:
                        v = int(a * 255.0 + 0.5)
                        raw[o + 3] = v if v < 255 else 255
                o += step
            rows.append(raw)
        return encode(w, self.ph, rows, alpha=not opaque, choose_filter=not opaque)


def write_pictures(folder, pictures, wanted=()):
    """Writes each (name, draw) of `pictures`, or those `wanted`, into `folder`, and each again as
    name@2x.png, drawn for screens of twice the density. draw() gives a Canvas."""
    folder.mkdir(parents=True, exist_ok=True)
    for name, draw in pictures:
        if not wanted or name in wanted:
            for Canvas.scale, file in ((1, name), (2, name.replace(".png", "@2x.png"))):
                (folder / file).write_bytes(draw().png())
    Canvas.scale = 1


# Byte differences modulo 256 by list index (a negative difference indexes from the end), and the
# size of a filtered byte taken as a signed value, for choosing a row's filter.
MOD256 = [i % 256 for i in range(512)]
MAGNITUDE = bytes(min(i, 256 - i) for i in range(256))


def filtered(raw, prev):
    """The RGBA row with the PNG filter (none, sub or up) whose bytes are smallest, as encoders do."""
    raw = bytes(raw)
    candidates = [b"\0" + raw]
    candidates.append(b"\1" + raw[:4] + bytes(map(MOD256.__getitem__, map(operator.sub, raw[4:], raw))))
    if prev is not None:
        candidates.append(b"\2" + bytes(map(MOD256.__getitem__, map(operator.sub, raw, prev))))
    return min(candidates, key=lambda row: sum(row[1:].translate(MAGNITUDE)))


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def encode(width, height, rows, alpha=True, choose_filter=False):
    """A PNG of 8-bit RGBA (or RGB) `rows`, each row unfiltered or with its best filter."""
    data = bytearray()
    prev = None
    for raw in rows:
        data += filtered(raw, prev) if choose_filter else b"\0" + raw
        prev = raw
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(data), 9)) +
            chunk(b"IEND", b""))
