#!/usr/bin/env python3
"""Draws the pictures that the assignment pages read from res/ at run time: the keypads of the
KITE, MOSS and FERN (lit when the adapter is connected, dimmed when not), the ordinary mouse and the
family's own mouse (connected and not), the two logos and the MOSS left-stick picture.

Every keypad key is drawn exactly where the page puts the numbered slot button over it: the slot
rectangles are read from the pages' own layout tables, in page pixels, and each picture subtracts the
page position where it is drawn.
The slot buttons are opaque, so what shows around them is the key's socket: a red backlit rim when
lit, a grey one when dimmed.

The output is committed under res/; run this again only after a change of the drawing:

    python3 tools/generate_pictures.py res [name.png ...]

(with names, only those pictures are drawn; the CMake target zav_pictures draws them all; each picture
also as name@2x.png, drawn for screens of twice the density).
"""

import math
import re
import sys
from pathlib import Path

from png_canvas import RED, Canvas, clamp01, mix, smooth, write_pictures

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


# ---------------------------------------------------------------------------------------------
# Shapes: each gives the signed distance in pixels from a point to its edge (negative inside) and
# a bounding box (x0, y0, x1, y1) outside which the distance is positive.


class Shape:
    def row(self, y, x0, x1, s):
        """Distances, in picture pixels, at the centres of the device pixels x0..x1-1 of row y, with s
        device pixels per picture pixel."""
        py = (y + 0.5) / s
        dist = self.dist
        return [dist((x + 0.5) / s, py) for x in range(x0, x1)]


class RoundRect(Shape):
    def __init__(self, x0, y0, x1, y1, r):
        self.cx, self.cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        self.hx, self.hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0
        self.r = max(0.0, min(r, self.hx, self.hy))
        self.bbox = (x0, y0, x1, y1)

    def dist(self, x, y):
        qx = abs(x - self.cx) - self.hx + self.r
        qy = abs(y - self.cy) - self.hy + self.r
        if qx > 0.0 and qy > 0.0:
            return math.sqrt(qx * qx + qy * qy) - self.r
        return (qx if qx > qy else qy) - self.r

    def row(self, y, x0, x1, s):
        if s != 1:
            return Shape.row(self, y, x0, x1, s)
        r, cx, k = self.r, self.cx - 0.5, self.hx - self.r
        qy = abs(y + 0.5 - self.cy) - self.hy + r
        qxs = [abs(x - cx) - k for x in range(x0, x1)]
        if qy > 0.0:
            qq = qy * qy
            return [math.sqrt(qx * qx + qq) - r if qx > 0.0 else qy - r for qx in qxs]
        return [(qx if qx > qy else qy) - r for qx in qxs]


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def dist(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r

    def row(self, y, x0, x1, s):
        if s != 1:
            return Shape.row(self, y, x0, x1, s)
        cx, r = self.cx - 0.5, self.r
        dd = (y + 0.5 - self.cy) ** 2
        return [math.sqrt((x - cx) ** 2 + dd) - r for x in range(x0, x1)]


class SuperEllipse(Shape):
    """|dx/a|^n + |dy/b|^n = 1, with a different half-width left and right and above and below of
    the centre; the distance is the first-order estimate value / gradient, exact enough for edges and
    short glows."""

    def __init__(self, cx, cy, left, right, top, bottom, n):
        self.cx, self.cy, self.n = cx, cy, n
        self.left, self.right, self.top, self.bottom = left, right, top, bottom
        self.bbox = (cx - left, cy - top, cx + right, cy + bottom)

    def dist(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        a = self.left if dx < 0 else self.right
        b = self.top if dy < 0 else self.bottom
        u, v = abs(dx) / a + 1e-9, abs(dy) / b + 1e-9
        n = self.n
        un, vn = u**n, v**n
        s = un + vn
        f = s ** (1.0 / n)
        # d f / d x = f^(1-n) u^(n-1) / a, likewise for y.
        k = f / s
        gx = k * un / u / a
        gy = k * vn / v / b
        return (f - 1.0) / math.sqrt(gx * gx + gy * gy)


class Capsule(Shape):
    def __init__(self, ax, ay, bx, by, r):
        self.ax, self.ay, self.bx, self.by, self.r = ax, ay, bx, by, r
        self.ex, self.ey = bx - ax, by - ay
        self.ee = self.ex * self.ex + self.ey * self.ey or 1e-9
        self.bbox = (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r)

    def dist(self, x, y):
        wx, wy = x - self.ax, y - self.ay
        t = clamp01((wx * self.ex + wy * self.ey) / self.ee)
        return math.hypot(wx - self.ex * t, wy - self.ey * t) - self.r


class Polygon(Shape):
    def __init__(self, points):
        self.points = [(float(x), float(y)) for x, y in points]
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))
        self.edges = []
        n = len(self.points)
        for i in range(n):
            vx, vy = self.points[i]
            jx, jy = self.points[i - 1]
            ex, ey = jx - vx, jy - vy
            self.edges.append((vx, vy, ex, ey, ex * ex + ey * ey or 1e-9))

    def dist(self, x, y):
        v0x, v0y = self.points[0]
        d = (x - v0x) ** 2 + (y - v0y) ** 2
        s = 1.0
        for vx, vy, ex, ey, ee in self.edges:
            wx, wy = x - vx, y - vy
            t = clamp01((wx * ex + wy * ey) / ee)
            bx, by = wx - ex * t, wy - ey * t
            bb = bx * bx + by * by
            if bb < d:
                d = bb
            c1 = y >= vy
            c2 = y < vy + ey
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or not (c1 or c2 or c3):
                s = -s
        return s * math.sqrt(d)


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes
        self.bbox = (min(s.bbox[0] for s in shapes), min(s.bbox[1] for s in shapes),
                     max(s.bbox[2] for s in shapes), max(s.bbox[3] for s in shapes))

    def dist(self, x, y):
        return min(s.dist(x, y) for s in self.shapes)


class SmoothUnion(Shape):
    """Two shapes joined by a fillet of about k pixels."""

    def __init__(self, a, b, k):
        self.a, self.b, self.k = a, b, k
        # The fillet adds up to k / 4 pixels beyond both shapes.
        grow = k / 4.0
        self.bbox = (min(a.bbox[0], b.bbox[0]) - grow, min(a.bbox[1], b.bbox[1]) - grow,
                     max(a.bbox[2], b.bbox[2]) + grow, max(a.bbox[3], b.bbox[3]) + grow)

    def dist(self, x, y):
        da, db = self.a.dist(x, y), self.b.dist(x, y)
        h = clamp01(0.5 + 0.5 * (db - da) / self.k)
        return db + (da - db) * h - self.k * h * (1.0 - h)


class Intersect(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                     min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))

    def dist(self, x, y):
        return max(self.a.dist(x, y), self.b.dist(x, y))


class Subtract(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = a.bbox

    def dist(self, x, y):
        return max(self.a.dist(x, y), -self.b.dist(x, y))


class Offset(Shape):
    """The shape grown by k pixels (shrunk when k is negative)."""

    def __init__(self, shape, k):
        self.shape, self.k = shape, k
        x0, y0, x1, y1 = shape.bbox
        self.bbox = (x0 - k, y0 - k, x1 + k, y1 + k)

    def dist(self, x, y):
        return self.shape.dist(x, y) - self.k

    def row(self, y, x0, x1, s):
        k = self.k
        return [d - k for d in self.shape.row(y, x0, x1, s)]


class Baked(Shape):
    """A shape whose distances at the canvas's pixel centres are worked out once, for shapes that
    many passes paint (a body is filled, shaded, bevelled and outlined)."""

    def __init__(self, shape, canvas, margin=12):
        self.shape = shape
        self.bbox = shape.bbox
        self.s = s = canvas.s
        x0, y0, x1, y1 = shape.bbox
        self.ox = max(0, int(math.floor((x0 - margin) * s)))
        self.oy = max(0, int(math.floor((y0 - margin) * s)))
        self.w = max(0, min(canvas.pw, int(math.ceil((x1 + margin) * s)) + 1) - self.ox)
        h = max(0, min(canvas.ph, int(math.ceil((y1 + margin) * s)) + 1) - self.oy)
        self.h = h
        self.values = [shape.dist((self.ox + i + 0.5) / s, (self.oy + j + 0.5) / s)
                       for j in range(h) for i in range(self.w)]

    def dist(self, x, y):
        i, j = int(x * self.s) - self.ox, int(y * self.s) - self.oy
        if 0 <= i < self.w and 0 <= j < self.h:
            return self.values[j * self.w + i]
        return self.shape.dist(x, y)

    def row(self, y, x0, x1, s):
        j = y - self.oy
        if 0 <= j < self.h and x0 >= self.ox and x1 <= self.ox + self.w:
            start = j * self.w - self.ox
            return self.values[start + x0:start + x1]
        return Shape.row(self, y, x0, x1, s)


# ---------------------------------------------------------------------------------------------
# Paints: a colour, or a function of the point that gives one.


def vertical(y0, c0, y1, c1):
    span = float(y1 - y0) or 1.0
    rows = {}

    def paint(x, y):
        colour = rows.get(y)
        if colour is None:
            colour = rows[y] = mix(c0, c1, clamp01((y - y0) / span))
        return colour

    return paint


def linear(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1.0

    def paint(x, y):
        return mix(c0, c1, clamp01(((x - x0) * dx + (y - y0) * dy) / ll))

    return paint


def radial(cx, cy, r, c0, c1):
    def paint(x, y):
        return mix(c0, c1, smooth(math.hypot(x - cx, y - cy) / r))

    return paint


# ---------------------------------------------------------------------------------------------
# Looks: "lit" while the adapter is connected, "dim" while it is not.

LIT = {
    "lit": True,
    "body_top": (46, 45, 51),
    "body_bottom": (18, 18, 21),
    "rim": RED,
    "rim_alpha": 0.6,
    "sheen": 0.10,
    "plate": (10, 10, 12),
    "plate_edge": RED,
    "plate_edge_alpha": 0.35,
    "socket": (70, 12, 14),
    "cap_top": (60, 58, 64),
    "cap_bottom": (30, 29, 33),
    "cap_edge": RED,
    "cap_edge_alpha": 0.95,
    "accent": RED,
    "accent_alpha": 0.8,
    "detail": (120, 40, 42),
}

DIM = {
    "lit": False,
    "body_top": (30, 30, 33),
    "body_bottom": (13, 13, 15),
    "rim": (86, 86, 92),
    "rim_alpha": 0.5,
    "sheen": 0.05,
    "plate": (9, 9, 10),
    "plate_edge": (70, 70, 75),
    "plate_edge_alpha": 0.35,
    "socket": (16, 16, 18),
    "cap_top": (40, 40, 43),
    "cap_bottom": (23, 23, 26),
    "cap_edge": (92, 92, 98),
    "cap_edge_alpha": 0.75,
    "accent": (84, 84, 90),
    "accent_alpha": 0.45,
    "detail": (54, 54, 58),
}


def to_picture(slots, origin):
    """Page rectangles (x, y, width, height) of slot statics turned into the picture's coordinates
    (x0, y0, x1, y1) for a picture drawn with its top-left corner at `origin`."""
    ox, oy = origin
    return {n: (x - ox, y - oy, x - ox + w, y - oy + h) for n, (x, y, w, h) in slots.items()}


def clamp_rect(rect, canvas, inset=1.0):
    """A key that its page places partly beyond the picture's edge is drawn up to the edge."""
    x0, y0, x1, y1 = rect
    return (max(x0, inset), max(y0, inset), min(x1, canvas.width - inset),
            min(y1, canvas.height - inset))


def draw_body(canvas, shape, t, top, bottom):
    """A device shell: shaded fill, a soft sheen from the upper left, a bevel and a rim. Returns the
    shape, baked for the passes that follow."""
    shape = Baked(shape, canvas)
    canvas.glow(shape, 7, BLACK, 0.55)
    canvas.fill(shape, vertical(top, t["body_top"], bottom, t["body_bottom"]))
    x0, y0, x1, y1 = shape.bbox
    canvas.fill(shape, radial(x0 + (x1 - x0) * 0.3, y0, (y1 - y0) * 0.9, WHITE, BLACK), t["sheen"])
    canvas.inner_glow(shape, 5, BLACK, 0.5)
    canvas.stroke(Offset(shape, -1.5), 1.0, WHITE, 0.10)
    canvas.stroke(shape, 1.2, t["rim"], t["rim_alpha"])
    return shape


def draw_plate(canvas, shape, t):
    """A recessed plate that holds a group of keys."""
    shape = Baked(shape, canvas, 4)
    canvas.fill(shape, t["plate"])
    canvas.inner_glow(shape, 4, BLACK, 0.7)
    canvas.stroke(shape, 1.0, t["plate_edge"], t["plate_edge_alpha"])
    canvas.stroke(Offset(shape, 1.5), 1.0, WHITE, 0.05)


def draw_keys(canvas, rects, t, radius=4.0, socket=4.0):
    """Keys exactly over the slot rectangles, each in a socket `socket` pixels wider all round;
    sockets of neighbouring keys run together into one well."""
    rects = [clamp_rect(r, canvas) for r in rects]
    sockets = [RoundRect(x0 - socket, y0 - socket, x1 + socket, y1 + socket, radius + socket)
               for x0, y0, x1, y1 in rects]
    if t["lit"]:
        for s in sockets:
            canvas.glow(s, 7, RED, 0.30)
    for s in sockets:
        canvas.fill(s, t["socket"])
    for s in sockets:
        if t["lit"]:
            canvas.inner_glow(s, 3, RED, 0.55)
        else:
            canvas.stroke(s, 1.0, t["plate_edge"], 0.5)
    for x0, y0, x1, y1 in rects:
        cap = RoundRect(x0 + 0.5, y0 + 0.5, x1 - 0.5, y1 - 0.5, radius)
        canvas.glow(cap, 2.5, BLACK, 0.6)
        canvas.fill(cap, vertical(y0, t["cap_top"], y1, t["cap_bottom"]))
        # The dished top of the cap.
        face = RoundRect(x0 + 4, y0 + 3, x1 - 4, y1 - 5, radius)
        canvas.fill(face, vertical(y0, t["cap_bottom"], y1, t["cap_top"]), 0.6)
        canvas.stroke(Capsule(x0 + radius + 1, y0 + 2, x1 - radius - 1, y0 + 2, 0), 1.0, WHITE, 0.14)
        canvas.stroke(cap, 1.2, t["cap_edge"], t["cap_edge_alpha"])


def draw_leds(canvas, points, t, r=2.2):
    for x, y in points:
        dot = Circle(x, y, r)
        if t["lit"]:
            canvas.glow(dot, 8, RED, 0.55)
            canvas.fill(dot, radial(x - 0.6, y - 0.6, r + 0.5, (255, 210, 200), RED))
        else:
            canvas.fill(dot, (38, 38, 41))
            canvas.stroke(dot, 0.8, t["rim"], 0.5)


def draw_hatch(canvas, shape, step, colour, opacity):
    """Fine slanted grip lines over `shape`."""

    def lines(x, y):
        phase = (x + y) % step
        return max(0.0, 1.0 - min(phase, step - phase) / 0.8)

    canvas.fill(shape, colour, opacity, mask=lines)


def draw_accent(canvas, points, t, width=1.4):
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        seg = Capsule(ax, ay, bx, by, 0)
        if t["lit"]:
            canvas.glow(seg, 5, RED, 0.25)
        canvas.stroke(seg, width, t["accent"], t["accent_alpha"])


# ---------------------------------------------------------------------------------------------
# The "ZAV" wordmark: geometric, slanted letters made of polygons, in a cell `h` pixels high.


def zav_letters(x, y, h, slant=0.28, stroke=None):
    """Polygons of the letters Z, A, V with their top-left corner at (x, y); returns (shapes, width)."""
    s = stroke if stroke is not None else h * 0.22

    def sh(points):
        return Polygon([(x + px + (h - py) * slant, y + py) for px, py in points])

    w = h * 0.78
    z = sh([(0, 0), (w, 0), (w, s), (s * 1.25, h - s), (w, h - s), (w, h), (0, h), (0, h - s),
            (w - s * 1.25, s), (0, s)])
    ax = w + h * 0.16
    aw = h * 0.92
    a = sh([(ax + aw * 0.5 - s * 0.6, 0), (ax + aw * 0.5 + s * 0.6, 0), (ax + aw, h), (ax + aw - s * 1.1, h),
            (ax + aw * 0.5, s * 1.6), (ax + s * 1.1, h), (ax, h)])
    bar = sh([(ax + aw * 0.30, h * 0.62), (ax + aw * 0.70, h * 0.62), (ax + aw * 0.74, h * 0.62 + s * 0.8),
              (ax + aw * 0.26, h * 0.62 + s * 0.8)])
    vx = ax + aw + h * 0.12
    vw = h * 0.9
    v = sh([(vx, 0), (vx + s * 1.1, 0), (vx + vw * 0.5, h - s * 1.6), (vx + vw - s * 1.1, 0), (vx + vw, 0),
            (vx + vw * 0.5 + s * 0.6, h), (vx + vw * 0.5 - s * 0.6, h)])
    return [z, a, bar, v], vx + vw + h * slant - x


def draw_wordmark(canvas, x, y, h, t, opacity=1.0):
    shapes, _ = zav_letters(x, y, h)
    mark = Union(*shapes)
    if t["lit"]:
        canvas.glow(mark, 4, RED, 0.25 * opacity)
        canvas.fill(mark, vertical(y, (255, 120, 115), y + h, (190, 45, 45)), 0.85 * opacity)
    else:
        canvas.fill(mark, vertical(y, (80, 80, 86), y + h, (50, 50, 55)), 0.9 * opacity)


# ---------------------------------------------------------------------------------------------
# Where the pages put their slot statics and pictures, in page pixels (x, y, width, height), read
# from the pages' own sources, so that every key is drawn under its slot.

ROOT = Path(__file__).resolve().parent.parent


def page_source(name):
    """pages/name with its named int constants written out."""
    text = (ROOT / "pages" / name).read_text()
    for constant, value in re.findall(r"constexpr int (\w+) = (\d+);", text):
        text = re.sub(rf"\b{constant}\b", value, text)
    return text


def page_table(text, name):
    """The numbers of each entry {..., {x, y, w, h}} of the constexpr array `name`. A source that no
    longer reads so stops the drawing, rather than let keys move away from their slots."""
    m = re.search(r"std::array<\w+, (\d+)> " + name + r" = \{\{(.*?)\}\};", text, re.S)
    entries = re.findall(r"\{[^{}]*\{[^{}]*\}\}", m[2]) if m else []
    if not entries or len(entries) != int(m[1]):
        sys.exit(f"generate_pictures.py: cannot read {name} in pages/")
    return [[int(v) for v in re.findall(r"\d+", entry)] for entry in entries]


LAYOUT = page_source("PageLayout.cpp")
# {slot: box}, from entries {slot, static id, box}.
KITE_SLOTS, MOSS_SLOTS, FERN_SLOTS = ({e[0]: tuple(e[2:]) for e in page_table(LAYOUT, f"k{model}Slots")}
                                      for model in ("Kite", "Moss", "Fern"))
# The left-stick panel's keys, from entries {static id, box}: up, down, left, right (bytes 27..30).
L3D_DIRECTIONS = dict(enumerate(tuple(e[1:]) for e in page_table(page_source("LeftStickPanel.h"),
                                                                    "kDirectionPlaces")))

# Where each picture is drawn on its page (top-left corner) and its size.
PLACES = {name + one: ((int(x), int(y)), (int(w), int(h))) for name, one, x, y, w, h in
          re.findall(r'\{"(\w+?)_connect(1?)\.png", "\w+\.png", \{(\d+), (\d+), (\d+), (\d+)\}\}', LAYOUT)}
PLACES.update({
    "mouse_normal": ((692, 220), (138, 331)),
    "mouse1_normal": ((840, 220), (87, 331)),
    "mouse_own": ((692, 220), (235, 331)),
    "ZAV_logo": ((420, 22), (64, 23)),
    "ZAV_pc_logo": ((420, 123), (39, 22)),
    # The left-stick panel draws its picture in its own client area.
    "5230_keyboard_l3d": ((0, 20), (321, 341)),
})


def new_canvas(place):
    return Canvas(*PLACES[place][1])


def pick(slots, numbers, place):
    rects = to_picture(slots, PLACES[place][0])
    return [rects[n] for n in numbers]


# ---------------------------------------------------------------------------------------------
# KITE: the main keypad (slots 1..20 and the keyboard-mode row 32..35) and the thumb wing (21, 22).


def kite_keypad(t):
    c = new_canvas("keyboard")
    body = SmoothUnion(RoundRect(5, 1, 252, 262, 24),
                       SuperEllipse(128.5, 318, 114, 114, 150, 150, 2.6), 40)
    body = draw_body(c, body, t, 0, 470)

    plate = SmoothUnion(RoundRect(18, 66, 213, 225, 9), RoundRect(98, 1.5, 214, 74, 9), 6)
    draw_plate(c, plate, t)
    draw_keys(c, pick(KITE_SLOTS, range(1, 21), "keyboard"), t)
    draw_keys(c, pick(KITE_SLOTS, (32, 33, 34, 35), "keyboard"), t)

    # The status lights on the right of the keys and a guide line that runs down to the palm rest.
    draw_leds(c, [(233, 96), (233, 112), (233, 128)], t)
    draw_accent(c, [(233, 150), (233, 232), (214, 262), (214, 300)], t)
    draw_accent(c, [(22, 240), (40, 262), (40, 300)], t)

    # The palm rest with its grip lines and the wordmark.
    rest = SuperEllipse(128.5, 352, 92, 92, 92, 88, 2.4)
    c.fill(rest, t["plate"], 0.55)
    c.inner_glow(rest, 6, BLACK, 0.5)
    c.stroke(rest, 1.0, t["plate_edge"], t["plate_edge_alpha"])
    draw_hatch(c, Offset(rest, -4), 6, WHITE, 0.035)
    draw_wordmark(c, 96, 338, 22, t)
    return c


def kite_wing(t):
    c = new_canvas("keyboard1")
    body = SuperEllipse(61, 300, 56, 57, 170, 205, 2.3)
    body = draw_body(c, body, t, 130, 505)

    # The thumb control: a round well for the stick or pad (slot 22) and the thumb key (slot 21).
    stick, thumb = pick(KITE_SLOTS, (22, 21), "keyboard1")
    cx, cy = (stick[0] + stick[2]) / 2.0, (stick[1] + stick[3]) / 2.0
    well = Circle(cx, cy, 29)
    c.fill(well, t["plate"])
    c.inner_glow(well, 5, BLACK, 0.8)
    c.stroke(well, 1.2, t["plate_edge"], 0.6)
    if t["lit"]:
        c.glow(well, 8, RED, 0.25)
    # Four notches show the directions of the thumb control.
    for dx, dy in ((0, -1), (0, 1), (-1, 0), (1, 0)):
        c.fill(Capsule(cx + dx * 24, cy + dy * 24, cx + dx * 27, cy + dy * 27, 1.0), t["accent"], 0.8)
    draw_keys(c, [stick], t, radius=8)
    draw_keys(c, [thumb], t)

    draw_accent(c, [(60, 150), (60, 230)], t)
    draw_leds(c, [(60, 205)], t)
    ribs = Offset(body, -10)
    for i in range(9):
        y = 350 + i * 14
        c.stroke(Capsule(24, y + 6, 98, y, 0), 2.0, BLACK, 0.5, clip=ribs)
        c.stroke(Capsule(24, y + 7, 98, y + 1, 0), 1.0, t["detail"], 0.35, clip=ribs)
    return c


# ---------------------------------------------------------------------------------------------
# MOSS: the face with the pad (slots 6..10) and the keyboard-mode keys (24..28), and the top with
# the shoulder keys (1..5) and the column of Fn keys (20..23) that the page captions on its left.


def moss_face(t):
    c = new_canvas("5230_keyboard")
    slots = MOSS_SLOTS
    up, down, left, right = pick(slots, (7, 8, 9, 10), "5230_keyboard")
    cx, cy = (left[2] + right[0]) / 2.0, (up[3] + down[1]) / 2.0
    body = SmoothUnion(Circle(cx, cy, 110), RoundRect(118, 46, 312, 232, 40), 50)
    body = draw_body(c, body, t, 40, 300)

    # The pad: a cross-shaped well under the four direction keys.
    cross = Union(RoundRect(up[0] - 5, up[1] - 5, down[2] + 5, down[3] + 5, 9),
                  RoundRect(left[0] - 5, left[1] - 5, right[2] + 5, right[3] + 5, 9))
    ring = Circle(cx, cy, 76)
    c.stroke(ring, 1.0, t["plate_edge"], 0.45)
    c.fill(Offset(cross, 3), t["plate"])
    c.inner_glow(Offset(cross, 3), 4, BLACK, 0.7)
    c.stroke(Offset(cross, 3), 1.0, t["plate_edge"], t["plate_edge_alpha"])
    draw_keys(c, [up, down, left, right], t)
    pivot = Circle(cx, cy, 7)
    c.fill(pivot, radial(cx - 2, cy - 2, 9, t["cap_top"], t["cap_bottom"]))
    c.stroke(pivot, 1.0, t["cap_edge"], 0.6)

    draw_keys(c, pick(slots, (6,), "5230_keyboard"), t, radius=8)

    block = RoundRect(136, 69, 282, 158, 9)
    draw_plate(c, block, t)
    draw_keys(c, pick(slots, (24, 25, 26, 27), "5230_keyboard"), t)
    draw_keys(c, pick(slots, (28,), "5230_keyboard"), t, radius=8)

    draw_leds(c, [(214, 190), (228, 190)], t)
    draw_accent(c, [(190, 272), (290, 215)], t)
    draw_hatch(c, Intersect(Offset(body, -8), RoundRect(60, 250, 200, 300, 0)), 6, WHITE, 0.03)
    return c


def moss_top(t):
    c = new_canvas("5230_keyboard1")
    slots = MOSS_SLOTS

    # The Fn column: a panel whose left part carries the page's "Fn+Button" captions.
    panel = RoundRect(3, 20, 172, 161, 8)
    c.fill(panel, (8, 8, 10), 0.85)
    c.stroke(panel, 1.0, t["plate_edge"], t["plate_edge_alpha"] + 0.1)
    fn = pick(slots, (20, 21, 22, 23), "5230_keyboard1")
    for x0, y0, x1, y1 in fn[1:]:
        c.stroke(Capsule(10, y0, x0 - 8, y0, 0), 1.0, t["plate_edge"], 0.25)
    draw_keys(c, fn, t)

    body = SmoothUnion(RoundRect(180, 34, 345, 161, 26), Circle(262, 110, 40), 10)
    body = draw_body(c, body, t, 34, 161)
    draw_keys(c, pick(slots, (2, 4), "5230_keyboard1"), t)
    draw_keys(c, pick(slots, (1, 3, 5), "5230_keyboard1"), t)
    draw_leds(c, [(250, 58), (262, 58), (274, 58)], t, r=2.0)
    draw_wordmark(c, 240, 92, 13, t, 0.9)
    draw_accent(c, [(200, 140), (280, 140)], t)
    return c


# The left-stick panel: the MOSS stick with one key per direction.


def moss_stick(t):
    c = new_canvas("5230_keyboard_l3d")
    up, down, left, right = pick(L3D_DIRECTIONS, range(4), "5230_keyboard_l3d")
    cx, cy = (left[2] + right[0]) / 2.0, (up[3] + down[1]) / 2.0

    # The device around the stick, fading out towards the panel's buttons below.
    body = SmoothUnion(Circle(cx, cy, 99), RoundRect(150, 40, 300, 250, 40), 50)
    body = draw_body(c, body, t, cy - 99, cy + 200)

    base = Circle(cx, cy, 86)
    c.fill(base, t["plate"])
    c.inner_glow(base, 10, BLACK, 0.8)
    c.stroke(base, 1.5, t["plate_edge"], 0.6)
    if t["lit"]:
        c.glow(base, 10, RED, 0.3)
    c.stroke(Circle(cx, cy, 70), 1.0, t["detail"], 0.5)
    # Chevrons outside each direction key show where the stick points.
    for (dx, dy) in ((0, -1), (0, 1), (-1, 0), (1, 0)):
        tipx, tipy = cx + dx * 80, cy + dy * 80
        bx, by = cx + dx * 73, cy + dy * 73
        for sx, sy in ((dy, dx), (-dy, -dx)):
            seg = Capsule(tipx, tipy, bx + sx * 6, by + sy * 6, 0)
            c.glow(seg, 4, RED, 0.3)
            c.stroke(seg, 1.6, RED, 0.9)
    draw_keys(c, [up, down, left, right], t)
    cap = Circle(cx, cy, 16)
    c.glow(cap, 4, BLACK, 0.7)
    c.fill(cap, radial(cx - 5, cy - 5, 22, (82, 80, 88), (26, 26, 29)))
    c.stroke(Circle(cx, cy, 11), 1.0, WHITE, 0.08)
    c.stroke(cap, 1.2, RED, 0.8)
    draw_accent(c, [(210, 200), (290, 150)], t)
    c.fade_below(215, 275)
    return c


# ---------------------------------------------------------------------------------------------
# FERN: one keypad picture with slots 1..19 and the keyboard-mode block 29..32 above them.


def fern_keypad(t):
    c = new_canvas("5270_keyboard")
    slots = FERN_SLOTS
    body = SmoothUnion(RoundRect(52, 58, 378, 264, 26), RoundRect(100, 1, 230, 90, 16), 14)
    body = draw_body(c, body, t, 0, 264)

    plate = RoundRect(64, 72, 366, 234, 9)
    draw_plate(c, plate, t)
    top = RoundRect(108, 2, 221, 60, 8)
    draw_plate(c, top, t)
    draw_keys(c, pick(slots, range(1, 20), "5270_keyboard"), t)
    draw_keys(c, pick(slots, (29, 30, 31, 32), "5270_keyboard"), t)

    draw_leds(c, [(250, 28), (264, 28), (278, 28)], t)
    draw_wordmark(c, 300, 17, 20, t, 0.9)
    draw_accent(c, [(70, 248), (180, 248)], t)
    draw_accent(c, [(250, 248), (360, 248)], t)
    return c


# ---------------------------------------------------------------------------------------------
# Mice. The top view (138 x 331) holds the two main buttons and the wheel column; the side view
# (87 x 331) holds the thumb keys. The own mouse (235 x 331) is both side by side, as its picture
# covers the places of the two ordinary pictures (page x 692 and 840).

SIDE_X = 840 - 692


def draw_mouse_top(c, t, own):
    cx = 70.5
    if own:
        body = SmoothUnion(SuperEllipse(cx, 178, 64, 64, 152, 146, 2.3),
                           Polygon([(cx - 61, 226), (cx + 61, 226), (cx + 50, 318), (cx - 50, 318)]), 26)
    else:
        body = SuperEllipse(cx, 176, 64, 64, 150, 148, 2.5)
    body = draw_body(c, body, t, 26, 324)
    shell = Offset(body, -3)

    # The main buttons end in a curved seam above the palm.
    seam_y = 176
    buttons = Intersect(shell, Subtract(RoundRect(-20, -20, 160, seam_y, 0), Circle(cx, seam_y + 92, 70)))
    left = Intersect(buttons, RoundRect(-20, -20, 45.5, 400, 0))
    right = Intersect(buttons, RoundRect(95.5, -20, 160, 400, 0))
    for half in (left, right):
        c.fill(half, vertical(30, t["cap_top"], seam_y, t["cap_bottom"]), 0.9)
        c.inner_glow(half, 3, BLACK, 0.5)
        c.stroke(half, 1.2, t["cap_edge"], t["cap_edge_alpha"] * 0.85)
        if t["lit"]:
            c.inner_glow(half, 6, RED, 0.25)

    # The wheel column: scroll up, wheel click and scroll down stand on it (both page layouts).
    channel = RoundRect(47, 66, 94, 172, 12)
    c.fill(channel, t["plate"])
    c.inner_glow(channel, 4, BLACK, 0.8)
    c.stroke(channel, 1.0, t["plate_edge"], t["plate_edge_alpha"] + 0.15)
    if t["lit"]:
        c.inner_glow(channel, 7, RED, 0.35)
    wheel = RoundRect(60, 82, 81, 156, 9)
    c.fill(wheel, (22, 22, 25))
    c.fill(wheel, linear(60, 0, BLACK, 70.5, 0, t["cap_top"]), 0.5, clip=RoundRect(60, 82, 70.5, 156, 0))
    c.fill(wheel, linear(70.5, 0, t["cap_top"], 81, 0, BLACK), 0.5, clip=RoundRect(70.5, 82, 81, 156, 0))
    for y in range(86, 154, 4):
        c.stroke(Capsule(62, y, 79, y, 0), 1.0, BLACK, 0.5, clip=wheel)
    c.stroke(wheel, 1.0, t["cap_edge"], 0.7)

    if own:
        # Red flanks and the wordmark on the palm.
        draw_accent(c, [(14, 190), (18, 250), (30, 300)], t, 1.6)
        draw_accent(c, [(127, 190), (123, 250), (111, 300)], t, 1.6)
        draw_wordmark(c, 46, 236, 18, t, 0.9)
        draw_leds(c, [(cx, 196)], t, r=2.0)
    else:
        c.stroke(Capsule(cx, seam_y + 30, cx, 300, 0), 1.0, t["detail"], 0.4)
        draw_leds(c, [(cx, 200)], t, r=1.8)


def draw_mouse_side(c, t, x, own, keys):
    """The thumb side of the mouse at x, front at the top, with keys given in picture coordinates."""
    body = SuperEllipse(x + 43, 178, 42, 42, 150, 148, 3.0)
    body = draw_body(c, body, t, 28, 326)
    groove = SuperEllipse(x + 52, 210, 34, 30, 96, 82, 2.6)
    c.fill(groove, t["plate"], 0.7)
    c.inner_glow(groove, 6, BLACK, 0.6)
    c.stroke(groove, 1.0, t["plate_edge"], t["plate_edge_alpha"])
    # The sole of the mouse along the right edge.
    c.stroke(Capsule(x + 80, 100, x + 80, 260, 0), 1.2, t["detail"], 0.6, clip=body)
    if own:
        draw_accent(c, [(x + 14, 80), (x + 10, 140)], t, 1.6)
        draw_accent(c, [(x + 10, 290), (x + 16, 310)], t, 1.6)
    draw_keys(c, keys, t, radius=7)


def mouse_normal(t):
    c = new_canvas("mouse_normal")
    draw_mouse_top(c, t, own=False)
    return c


def mouse_normal_side(t):
    c = new_canvas("mouse1_normal")
    # The two thumb keys of an ordinary mouse, where every page puts the same two slots.
    keys = pick(KITE_SLOTS, (26, 27), "mouse1_normal")
    draw_mouse_side(c, t, 0, False, keys)
    return c


def mouse_own(t, extra_keys):
    """The family's own mouse; with `extra_keys` its two further thumb keys, which the MOSS and FERN
    pages assign (the KITE page never shows a slot there, so its picture leaves them out)."""
    c = new_canvas("mouse_own")
    draw_mouse_top(c, t, own=True)
    place = PLACES["mouse_own"][0]
    kite = to_picture(KITE_SLOTS, place)
    keys = [kite[26], kite[27]]
    if extra_keys:
        moss = to_picture(MOSS_SLOTS, place)
        fern = to_picture(FERN_SLOTS, place)
        # The lowest key stands one pixel lower on the FERN page: cover both.
        low = (moss[17][0], min(moss[17][1], fern[26][1]), moss[17][2], max(moss[17][3], fern[26][3]))
        keys += [moss[16], low]
    draw_mouse_side(c, t, SIDE_X, True, keys)
    return c


# ---------------------------------------------------------------------------------------------
# Logos.


def zav_logo():
    c = new_canvas("ZAV_logo")
    _, width = zav_letters(0, 0, 15)
    shapes, _ = zav_letters((64 - width) / 2.0, 2.5, 15)
    mark = Union(*shapes)
    c.glow(mark, 3, RED, 0.35)
    c.fill(mark, vertical(2.5, (255, 140, 132), 17.5, (205, 45, 45)))
    c.stroke(Capsule(3, 20.5, 61, 20.5, 0), 1.0, RED, 0.55)
    c.stroke(Capsule(3, 20.5, 24, 20.5, 0), 1.2, (255, 170, 160), 0.6)
    return c


def zav_pc_logo():
    c = new_canvas("ZAV_pc_logo")
    screen = RoundRect(1.5, 1.5, 21.5, 15.5, 2.5)
    c.glow(screen, 2.5, RED, 0.3)
    c.fill(screen, vertical(1.5, (70, 14, 16), 15.5, (22, 6, 7)))
    c.stroke(screen, 1.4, RED, 1.0)
    c.stroke(Capsule(4.5, 5, 9, 5, 0), 1.0, (255, 150, 140), 0.7)
    c.stroke(Capsule(4.5, 8, 14, 8, 0), 1.0, RED, 0.5)
    c.fill(Polygon([(9.5, 15.5), (13.5, 15.5), (14.5, 18.8), (8.5, 18.8)]), RED, 0.9)
    c.fill(RoundRect(5.5, 18.6, 17.5, 20.4, 0.8), RED, 1.0)
    # "PC" drawn as strokes.
    bowl = Subtract(RoundRect(24.6, 4.2, 30.4, 11.4, 3.2), RoundRect(26.6, 6.2, 28.4, 9.4, 1.2))
    p = Union(Capsule(25.6, 5.2, 25.6, 15.8, 1.0), Subtract(bowl, RoundRect(20, 0, 25.6, 20, 0)))
    ring = Subtract(Subtract(RoundRect(31.6, 4.2, 38.2, 16.8, 3.3), RoundRect(33.6, 6.2, 36.2, 14.8, 1.4)),
                    RoundRect(35.4, 8.8, 40, 12.2, 0))
    letters = Union(p, ring)
    c.glow(letters, 2, RED, 0.3)
    c.fill(letters, RED)
    return c


# ---------------------------------------------------------------------------------------------


def pictures():
    """Every picture of res/ with the function that draws it."""
    return [
        ("keyboard_connect.png", lambda: kite_keypad(LIT)),
        ("keyboard_disconnect.png", lambda: kite_keypad(DIM)),
        ("keyboard_connect1.png", lambda: kite_wing(LIT)),
        ("keyboard_disconnect1.png", lambda: kite_wing(DIM)),
        ("5230_keyboard_connect.png", lambda: moss_face(LIT)),
        ("5230_keyboard_disconnect.png", lambda: moss_face(DIM)),
        ("5230_keyboard_connect1.png", lambda: moss_top(LIT)),
        ("5230_keyboard_disconnect1.png", lambda: moss_top(DIM)),
        ("5230_keyboard_l3d.png", lambda: moss_stick(LIT)),
        ("5270_keyboard_connect.png", lambda: fern_keypad(LIT)),
        ("5270_keyboard_disconnect.png", lambda: fern_keypad(DIM)),
        ("mouse_connect_normal.png", lambda: mouse_normal(LIT)),
        ("mouse_disconnect_normal.png", lambda: mouse_normal(DIM)),
        ("mouse_connect1_normal.png", lambda: mouse_normal_side(LIT)),
        ("mouse_disconnect1_normal.png", lambda: mouse_normal_side(DIM)),
        ("mouse_connect_jp.png", lambda: mouse_own(LIT, extra_keys=False)),
        ("mouse_disconnect_jp.png", lambda: mouse_own(DIM, extra_keys=False)),
        ("mouse_jp.png", lambda: mouse_own(LIT, extra_keys=True)),
        ("mouse_jp_dis.png", lambda: mouse_own(DIM, extra_keys=True)),
        ("ZAV_logo.png", zav_logo),
        ("ZAV_pc_logo.png", zav_pc_logo),
    ]


def main(argv):
    out = Path(argv[1]) if len(argv) > 1 else ROOT / "res"
    write_pictures(out, pictures(), set(argv[2:]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
