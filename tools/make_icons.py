#!/usr/bin/env python3
"""Draws Corvane's icons at build time and writes them as .ico files.

Every picture is made here from a few vector primitives (circles, ellipses,
rounded rectangles, polygons, stroked lines and arcs) described as signed
distance functions, rasterised with an area estimate from the distance (3x3
supersampled where a pixel straddles an edge), and stored in .ico files: the
small sizes as classic BMP images (32-bit BGRA with alpha plus the 1-bit AND
mask), the larger ones as PNG images, which Windows (since Vista) and Wine
read as well and which take a fraction of the room in the program file and in
memory. Only the Python standard library is used, and the output is
byte-for-byte the same on every run.

Icon numbers (the program loads them by resource number):
  1-6      dialing animation frames (the window cycles through them)
  7        the same picture at rest, so that the icon groups of the file run
           1..21 without a gap: a shortcut's icon index N-1 then shows icon N
  8-21     entry icons the user picks from; 8 is the default window icon
  101      default tray icon of a custom entry
  108-121  the entry icons while the program waits to reconnect (greyed, with
           a clock badge)
  130      the clock on the dialer's online-time button

Usage:
  make_icons.py OUT_DIR            write icon_NNN.ico files and icons.rc
  make_icons.py OUT_DIR --sheet X  also write a contact sheet PNG to X
  make_icons.py OUT_DIR --list     print the file names it writes (for CMake)
"""

import argparse
import math
import os
import struct
import sys
import zlib

# Tray icons are 16 pixels at 96 DPI and at most 48 at 300 %; pictures that
# can also be a window's icon or the dialing picture get 64 for 200 % screens.
TRAY_SIZES = (16, 20, 24, 32, 40, 48)
WINDOW_SIZES = TRAY_SIZES + (64,)
DESIGN = 32.0  # pictures are drawn on a 32x32 design grid
PNG_FROM = 20  # images this large and larger are stored as PNG
SUPERSAMPLE = 3

ANIMATION_FRAMES = range(1, 7)
REST_FRAME = 7
ENTRY_ICONS = range(8, 22)
CUSTOM_ENTRY_ICON = 101
ONLINE_TIME_ICON = 130
RECONNECT_OFFSET = 100


# --------------------------------------------------------------------------
# Shapes: a signed distance function (negative inside, in design units) and a
# bounding box used to skip pixels the shape cannot touch.

class Shape:
    __slots__ = ("sdf", "box")

    def __init__(self, sdf, box):
        self.sdf = sdf
        self.box = box


def _box_union(a, b):
    return (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3]))


def _box_grow(box, by):
    return (box[0] - by, box[1] - by, box[2] + by, box[3] + by)


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r
    return Shape(sdf, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    def sdf(x, y):
        px, py = (x - cx) / rx, (y - cy) / ry
        k0 = math.hypot(px, py)
        if k0 == 0.0:
            return -min(rx, ry)
        k1 = math.hypot(px / rx, py / ry)
        return k0 * (k0 - 1.0) / k1
    return Shape(sdf, (cx - rx, cy - ry, cx + rx, cy + ry))


def rect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return Shape(sdf, (x0, y0, x1, y1))


def segment(x0, y0, x1, y1, width):
    """A straight stroke with round caps."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1e-12
    hw = width / 2

    def sdf(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / ll
        t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) - hw
    return Shape(sdf, (min(x0, x1) - hw, min(y0, y1) - hw,
                       max(x0, x1) + hw, max(y0, y1) + hw))


def polyline(points, width):
    return union(*[segment(*points[i], *points[i + 1], width)
                   for i in range(len(points) - 1)])


def polygon(points, r=0.0):
    """A closed polygon; r > 0 rounds it (grows it by r with round corners)."""
    pts = list(points)
    n = len(pts)

    def sdf(x, y):
        d = float("inf")
        s = 1.0
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            ex, ey = xj - xi, yj - yi
            wx, wy = x - xi, y - yi
            t = (wx * ex + wy * ey) / (ex * ex + ey * ey)
            t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
            bx, by = wx - ex * t, wy - ey * t
            dd = bx * bx + by * by
            if dd < d:
                d = dd
            c1 = y >= yi
            c2 = y < yj
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d) - r
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(sdf, _box_grow((min(xs), min(ys), max(xs), max(ys)), r))


def arc(cx, cy, radius, a0, a1, width):
    """A circular stroke from angle a0 to a1 (degrees, clockwise on screen,
    0 = pointing right) with round caps."""
    hw = width / 2
    r0, r1 = math.radians(a0), math.radians(a1)
    mid = (r0 + r1) / 2
    half = (r1 - r0) / 2
    ex0 = (cx + radius * math.cos(r0), cy + radius * math.sin(r0))
    ex1 = (cx + radius * math.cos(r1), cy + radius * math.sin(r1))
    cm, sm = math.cos(mid), math.sin(mid)

    def sdf(x, y):
        px, py = x - cx, y - cy
        # angle of the point measured from the middle of the arc
        u = px * cm + py * sm
        v = -px * sm + py * cm
        if abs(math.atan2(v, u)) <= half:
            return abs(math.hypot(px, py) - radius) - hw
        return min(math.hypot(x - ex0[0], y - ex0[1]),
                   math.hypot(x - ex1[0], y - ex1[1])) - hw
    return Shape(sdf, (cx - radius - hw, cy - radius - hw,
                       cx + radius + hw, cy + radius + hw))


def union(*shapes):
    fs = [s.sdf for s in shapes]
    box = shapes[0].box
    for s in shapes[1:]:
        box = _box_union(box, s.box)

    def sdf(x, y):
        return min(f(x, y) for f in fs)
    return Shape(sdf, box)


def smooth_union(a, b, k):
    fa, fb = a.sdf, b.sdf

    def sdf(x, y):
        da, db = fa(x, y), fb(x, y)
        h = max(k - abs(da - db), 0.0) / k
        return min(da, db) - h * h * k * 0.25
    return Shape(sdf, _box_union(a.box, b.box))


def intersect(a, b):
    fa, fb = a.sdf, b.sdf
    box = (max(a.box[0], b.box[0]), max(a.box[1], b.box[1]),
           min(a.box[2], b.box[2]), min(a.box[3], b.box[3]))
    return Shape(lambda x, y: max(fa(x, y), fb(x, y)), box)


def subtract(a, b):
    fa, fb = a.sdf, b.sdf
    return Shape(lambda x, y: max(fa(x, y), -fb(x, y)), a.box)


def inset(s, by):
    """The shape shrunk by `by` design units (grown when negative)."""
    f = s.sdf
    return Shape(lambda x, y: f(x, y) + by, _box_grow(s.box, -by) if by < 0 else s.box)


def outline(s, width):
    """A band of the given width just inside the shape's edge."""
    f = s.sdf
    hw = width / 2
    return Shape(lambda x, y: abs(f(x, y) + hw) - hw, s.box)


def transformed(s, dx=0.0, dy=0.0, angle=0.0, about=(16.0, 16.0), scale=1.0):
    """The shape rotated by `angle` degrees about `about`, scaled, then moved."""
    f = s.sdf
    ca, sa = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    ox, oy = about

    def sdf(x, y):
        x, y = x - dx - ox, y - dy - oy
        u = (x * ca + y * sa) / scale + ox
        v = (-x * sa + y * ca) / scale + oy
        return f(u, v) * scale
    corners = [(s.box[0], s.box[1]), (s.box[2], s.box[1]),
               (s.box[0], s.box[3]), (s.box[2], s.box[3])]
    moved = []
    for x, y in corners:
        x, y = (x - ox) * scale, (y - oy) * scale
        moved.append((x * ca - y * sa + ox + dx, x * sa + y * ca + oy + dy))
    xs = [p[0] for p in moved]
    ys = [p[1] for p in moved]
    return Shape(sdf, (min(xs), min(ys), max(xs), max(ys)))


# --------------------------------------------------------------------------
# Paints: functions of a design-space point giving straight RGBA, 0..1.

def rgb(hexcode, alpha=1.0):
    v = int(hexcode.lstrip("#"), 16)
    return ((v >> 16 & 255) / 255, (v >> 8 & 255) / 255, (v & 255) / 255, alpha)


def _mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def _ramp(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return _mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 1.0)
    return stops[-1][1]


def solid(colour):
    c = rgb(colour) if isinstance(colour, str) else colour
    return lambda x, y: c


def linear(x0, y0, x1, y1, *stops):
    """Gradient along the line from (x0, y0) to (x1, y1); stops are
    (position 0..1, colour) pairs or just colours spread evenly."""
    stops = _stops(stops)
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def paint(x, y):
        return _ramp(stops, ((x - x0) * dx + (y - y0) * dy) / ll)
    return paint


def radial(cx, cy, r, *stops):
    stops = _stops(stops)

    def paint(x, y):
        return _ramp(stops, math.hypot(x - cx, y - cy) / r)
    return paint


def _stops(stops):
    out = []
    for i, s in enumerate(stops):
        if isinstance(s, tuple) and len(s) == 2 and not isinstance(s[0], str):
            t, c = s
        else:
            t, c = i / (len(stops) - 1), s
        out.append((t, rgb(c) if isinstance(c, str) else c))
    return out


# --------------------------------------------------------------------------
# Canvas: premultiplied float RGBA; each fill is painted over what is there.

class Canvas:
    def __init__(self, size):
        self.size = size
        self.scale = size / DESIGN
        self.data = [0.0] * (size * size * 4)
        n = SUPERSAMPLE
        self._offsets = [((i + 0.5) / n, (j + 0.5) / n)
                         for j in range(n) for i in range(n)]

    def px(self, pixels):
        """A length of `pixels` device pixels in design units."""
        return pixels / self.scale

    def snap(self, v):
        """The design coordinate moved to the nearest pixel edge."""
        return round(v * self.scale) / self.scale

    def box(self, x0, y0, x1, y1, r=0.0):
        """A rectangle whose edges sit on pixel edges at this size, so that
        small sizes stay crisp."""
        return rect(self.snap(x0), self.snap(y0), self.snap(x1), self.snap(y1), r)

    def line(self, minimum=1.0, design=1.0):
        """A stroke width: `design` units, but never thinner than `minimum` pixels."""
        return max(design, self.px(minimum))

    def fill(self, shape, paint, opacity=1.0, soft=1.0):
        """Paints the shape. `soft` widens the anti-aliased edge (in pixels),
        which turns a shape into a blurred shadow."""
        size, scale = self.size, self.scale
        pad = soft + 1.0
        x0 = max(0, int(math.floor(shape.box[0] * scale - pad)))
        y0 = max(0, int(math.floor(shape.box[1] * scale - pad)))
        x1 = min(size, int(math.ceil(shape.box[2] * scale + pad)))
        y1 = min(size, int(math.ceil(shape.box[3] * scale + pad)))
        f = shape.sdf
        data = self.data
        offsets = self._offsets
        count = len(offsets)
        edge = 1.0 / soft if soft > 1.0 else float(SUPERSAMPLE)  # per pixel of distance
        fine = scale * SUPERSAMPLE
        for py in range(y0, y1):
            for px in range(x0, x1):
                # a pixel whose centre lies more than half its diagonal from
                # the edge is wholly inside or outside: no samples needed
                d = f((px + 0.5) / scale, (py + 0.5) / scale) * scale
                if soft > 1.0 or d >= 0.75 or d <= -0.75:
                    d *= edge
                    cov = 1.0 if d <= -0.5 else 0.0 if d >= 0.5 else 0.5 - d
                else:
                    cov = 0.0
                    for ox, oy in offsets:
                        d = f((px + ox) / scale, (py + oy) / scale) * fine
                        if d <= -0.5:
                            cov += 1.0
                        elif d < 0.5:
                            cov += 0.5 - d
                    cov /= count
                if cov <= 0.0:
                    continue
                r, g, b, a = paint((px + 0.5) / scale, (py + 0.5) / scale)
                a *= cov * opacity
                if a <= 0.0:
                    continue
                i = (py * size + px) * 4
                keep = 1.0 - a
                data[i] = r * a + data[i] * keep
                data[i + 1] = g * a + data[i + 1] * keep
                data[i + 2] = b * a + data[i + 2] * keep
                data[i + 3] = a + data[i + 3] * keep

    def shadow(self, shape, dy=0.8, strength=0.35):
        """A soft drop shadow under a shape, only where there is room for one."""
        if self.size >= 32:
            self.fill(transformed(shape, dx=self.px(0.5), dy=dy),
                      solid((0.0, 0.0, 0.0, 1.0)), strength, soft=self.size / 16)

    def rgba_bytes(self):
        """Straight-alpha 8-bit RGBA rows, top row first."""
        out = bytearray()
        d = self.data
        for i in range(0, len(d), 4):
            a = d[i + 3]
            if a <= 0.0:
                out += b"\0\0\0\0"
                continue
            out += bytes((_byte(d[i] / a), _byte(d[i + 1] / a), _byte(d[i + 2] / a),
                          _byte(a)))
        return bytes(out)


def _byte(v):
    return 0 if v <= 0.0 else 255 if v >= 1.0 else int(v * 255 + 0.5)


def body(canvas, shape, paint, edge, width_px=1.0):
    """A filled shape with a crisp outline of `width_px` pixels (more on the
    largest sizes), the way every object in the set is drawn."""
    w = canvas.px(max(width_px, width_px * canvas.size / 32))
    canvas.fill(shape, solid(edge))
    canvas.fill(inset(shape, w), paint)


# --------------------------------------------------------------------------
# Reusable pieces of the pictures.

def globe(c, cx, cy, r, land=True):
    sphere = circle(cx, cy, r)
    c.shadow(sphere)
    body(c, sphere, radial(cx - r * 0.35, cy - r * 0.45, r * 1.7,
                           (0.0, "#bfe6ff"), (0.35, "#3d9be9"), (1.0, "#0f3f8c")),
         "#0b2e66")
    inner = inset(sphere, c.px(1.0))
    if land:
        # two continents, clipped to the ball
        s = r / 11.0
        americas = union(
            ellipse(cx - 4.5 * s, cy - 3.5 * s, 4.2 * s, 3.4 * s),
            ellipse(cx - 2.2 * s, cy + 3.6 * s, 2.4 * s, 4.2 * s),
        )
        eurasia = union(
            ellipse(cx + 5.0 * s, cy - 4.5 * s, 4.6 * s, 2.6 * s),
            ellipse(cx + 6.2 * s, cy + 2.8 * s, 2.6 * s, 3.4 * s),
        )
        green = radial(cx - r * 0.3, cy - r * 0.4, r * 1.6,
                       (0.0, "#c8f59a"), (0.45, "#4fb534"), (1.0, "#1f6b1a"))
        c.fill(intersect(union(americas, eurasia), inner), green)
    # a thin meridian and equator read as "globe" even where land is small
    grid = rgb("#ffffff", 0.35)
    w = c.line(0.8, 0.7)
    c.fill(intersect(outline(ellipse(cx, cy, r * 0.45, r), w), inner), solid(grid))
    c.fill(intersect(segment(cx - r, cy, cx + r, cy, w), inner), solid(grid))
    # gloss
    c.fill(intersect(ellipse(cx - r * 0.3, cy - r * 0.55, r * 0.55, r * 0.32), inner),
           linear(0, cy - r, 0, cy - r * 0.2, rgb("#ffffff", 0.65), rgb("#ffffff", 0.0)))


def handset_shape(cx, cy, length, angle):
    """A telephone receiver: a curved grip ending in an ear cup and a mouth
    cup. Centred on (cx, cy), `length` long, turned by `angle` degrees."""
    s = length / 20.0
    radius = 10.5 * s
    ax, ay = 16.0, 16.0 + 7.5 * s  # centre of the grip's curve
    grip = arc(ax, ay, radius, 222, 318, 3.2 * s)
    cups = []
    for a in (222, 318):
        ra = math.radians(a)
        px = ax + (radius - 1.9 * s) * math.cos(ra)
        py = ay + (radius - 1.9 * s) * math.sin(ra)
        cup = rect(16 - 3.3 * s, 16 - 2.6 * s, 16 + 3.3 * s, 16 + 2.6 * s, 1.4 * s)
        cups.append(transformed(cup, dx=px - 16, dy=py - 16, angle=a + 90))
    shape = smooth_union(grip, union(*cups), 1.5 * s)
    mid_y = ay - radius * 0.72
    return transformed(shape, dx=cx - 16, dy=cy - mid_y, angle=angle, about=(16, mid_y))


HANDSET_COLOURS = ("#ffb04d", "#e06500", "#5c2400")  # light, dark, edge


def handset(c, cx, cy, size, angle, colours=HANDSET_COLOURS):
    shape = handset_shape(cx, cy, size, angle)
    c.shadow(shape)
    # a light rim parts the receiver from what lies under it
    c.fill(inset(shape, -c.px(1.0)), solid("#ffffff"))
    light, dark, edge = colours
    paint = linear(cx - size / 2, cy - size / 2, cx + size / 2, cy + size / 2, light, dark)
    if c.size >= 24:
        body(c, shape, paint, edge)
    else:
        # too thin for an outline and a fill: colour only
        c.fill(shape, solid(_mix(rgb(light), rgb(dark), 0.6)))


def clock_badge(c, cx, cy, r):
    disc = circle(cx, cy, r)
    c.fill(inset(disc, -c.px(1.0)), solid("#ffffff"))
    body(c, disc, radial(cx - r * 0.3, cy - r * 0.4, r * 1.6, "#ffd36b", "#f08c00"),
         "#8a4b00")
    w = c.line(1.0, r * 0.24)
    hand = rgb("#ffffff")
    c.fill(segment(cx, cy, cx, cy - r * 0.62, w), solid(hand))
    c.fill(segment(cx, cy, cx + r * 0.5, cy + r * 0.05, w), solid(hand))


# --------------------------------------------------------------------------
# The pictures. Each draws onto a canvas of any size in 32-unit design space.

def draw_main(c):
    """8: the product's own look: the world and a telephone receiver."""
    globe(c, 14.0, 13.5, 12.0)
    handset(c, 19.5, 22.0, 19.0, -38)


def draw_online_time(c):
    """130: a clock face for the online-time button."""
    clock_badge(c, 16.0, 16.0, 13.0)


def draw_rest(c):
    """7: the dialing picture at rest."""
    draw_dial_frame(c, None)


# Which of the three waves are lit in frames 1..6: a pulse runs out from the
# receiver to the world and the loop closes without a jump.
WAVE_PATTERN = ((1, 0, 0), (1, 1, 0), (1, 1, 1), (0, 1, 1), (0, 0, 1), (0, 0, 0))


def draw_dial_frame(c, frame):
    """1..6: the receiver sends waves towards the world."""
    lit = WAVE_PATTERN[frame - 1] if frame is not None else (0, 0, 0)
    gx, gy, gr = 26.0, 6.0, 5.6
    if frame == 6:
        # the pulse has arrived: the world lights up
        c.fill(circle(gx, gy, gr + 2.6), radial(gx, gy, gr + 2.6, (0.6, rgb("#ffb347", 0.9)),
                                                (1.0, rgb("#ffb347", 0.0))))
    globe(c, gx, gy, gr, land=c.size >= 24)
    w = c.line(1.2, 2.4)
    for radius, on in zip((9.5, 13.5, 17.5), lit):
        wave = arc(9.0, 23.0, radius, 282, 348, w)
        if on:
            c.fill(inset(wave, -c.px(0.5)), solid(rgb("#7a3a00", 0.5)))
            c.fill(wave, linear(9, 23, 22, 10, "#ffc061", "#ff7a00"))
        else:
            c.fill(wave, solid(rgb("#8c96a3", 0.45)))
    handset(c, 9.0, 23.0, 15.0, -45, colours=("#5a606a", "#16181c", "#0a0b0d"))


def draw_desk_phone(c):
    """9: a classic red desk telephone."""
    base = polygon([(6.5, 14.0), (25.5, 14.0), (29.0, 27.5), (3.0, 27.5)], 1.5)
    c.shadow(base)
    body(c, base, linear(0, 12, 0, 29, "#ff6b5e", "#d42a1e", "#8f1209"), "#5e0c06")
    dial = circle(16, 21, 4.8)
    body(c, dial, radial(14.5, 19.5, 6.5, "#ffffff", "#e9e2d6"), "#7a6f60")
    if c.size >= 24:
        for k in range(8):
            a = math.radians(200 + k * 30)
            c.fill(circle(16 + 3.1 * math.cos(a), 21 + 3.1 * math.sin(a), 0.75),
                   solid("#8d8272"))
    c.fill(circle(16, 21, 1.2), solid("#b0261a"))
    receiver = union(rect(6.0, 6.0, 26.0, 10.5, 2.2), rect(3.0, 5.0, 10.5, 12.5, 2.8),
                     rect(21.5, 5.0, 29.0, 12.5, 2.8))
    c.shadow(receiver)
    body(c, receiver, linear(0, 4, 0, 13, "#ff7d70", "#c1241a", "#7d1008"), "#5e0c06")


def draw_modem(c):
    """10: an external modem with its lights."""
    # edges on even units fall on pixel edges at 16 pixels
    top = polygon([(6.0, 10.0), (30.0, 10.0), (26.0, 14.0), (2.0, 14.0)])
    front = rect(2.0, 14.0, 26.0, 26.0, 1.2)
    side = polygon([(26.0, 14.0), (30.0, 10.0), (30.0, 22.0), (26.0, 26.0)])
    whole = union(top, front, side)
    # aerial behind the case
    c.fill(segment(25.0, 12.0, 27.5, 2.5, c.line(1.2, 1.6)), solid("#2b313a"))
    c.fill(circle(27.5, 2.5, c.line(1.0, 1.5)), solid("#2b313a"))
    c.shadow(whole)
    c.fill(whole, solid("#2b313a"))
    w = c.px(max(1.0, c.size / 32))
    c.fill(inset(top, w * 0.6), linear(0, 10, 0, 14, "#fafbfc", "#d3d9e0"))
    c.fill(inset(side, w * 0.6), linear(26, 0, 30, 0, "#a3adb9", "#7b8593"))
    c.fill(inset(front, w), linear(0, 14, 0, 26, "#e8ecf1", "#aeb7c2"))
    leds = ("#35e052", "#35e052", "#ffc21f", "#ff3b3b")
    r = 1.8
    for k, colour in enumerate(leds):
        x = 7.0 + k * 5.0
        if c.size >= 24:
            c.fill(circle(x, 20.0, r + c.px(0.9)), solid("#3a414b"))
        # tiny lights keep their colour; larger ones get a glint
        paint = (radial(x - 0.5, 19.4, r * 1.7, "#ffffff", colour) if c.size >= 24
                 else solid(colour))
        c.fill(circle(x, 20.0, r), paint)


def draw_house(c):
    """11: home."""
    walls = c.box(7.0, 14.0, 25.0, 29.0, 0.6)
    c.shadow(walls)
    body(c, walls, linear(0, 14, 0, 29, "#fff6e0", "#efd7a6"), "#6b4a1f")
    chimney = c.box(20.5, 4.5, 24.5, 12.0, 0.5)
    body(c, chimney, linear(20, 0, 25, 0, "#c9643c", "#8f3b1c"), "#4f1d0b")
    roof = polygon([(16.0, 3.5), (29.5, 15.0), (2.5, 15.0)], 1.0)
    c.shadow(roof)
    body(c, roof, linear(0, 3, 0, 17, "#ff7a59", "#c9301a"), "#5c1208")
    door = c.box(13.0, 19.5, 19.0, 29.0, 0.8)
    body(c, door, linear(13, 0, 19, 0, "#a8692e", "#6b3e14"), "#3d2209")
    if c.size >= 24:
        c.fill(circle(17.4, 24.5, 0.55), solid("#ffd36b"))
    if c.size >= 20:
        for x in (8.5, 20.5):
            window = c.box(x, 18.0, x + 3.5, 21.5, 0.4)
            body(c, window, linear(0, 18, 0, 22, "#d9f1ff", "#5fb4f0"), "#2a4d6b")


def draw_briefcase(c):
    """12: work."""
    handle = c.box(10.0, 4.0, 22.0, 12.0, 2.6)
    c.fill(outline(handle, 2.4 if c.size >= 24 else c.px(1.6)), solid("#3b2410"))
    case = c.box(2.0, 10.0, 30.0, 28.0, 2.2)
    c.shadow(case)
    body(c, case, linear(0, 10, 0, 28, "#d08a45", "#a45d22", "#7a3f12"), "#3b1f07")
    c.fill(c.box(2.0 + c.px(1.0), 16.0, 30.0 - c.px(1.0), 16.0 + c.line(1.0, 1.2)),
           solid(rgb("#3b1f07", 0.7)))
    clasp = c.box(13.5, 14.0, 18.5, 19.5, 0.8) if c.size >= 24 else c.box(12, 14, 20, 20, 0.8)
    body(c, clasp, linear(0, 14, 0, 20, "#fff2a8", "#e0a81c"), "#6b4a05")


def draw_building(c):
    """13: office tower."""
    low = c.box(17.0, 13.0, 29.0, 29.0, 0.6)
    c.shadow(low)
    body(c, low, linear(17, 0, 29, 0, "#8fa3b8", "#5b6f86"), "#26313e")
    tower = c.box(4.0, 3.0, 18.0, 29.0, 0.6)
    c.shadow(tower)
    body(c, tower, linear(4, 0, 18, 0, "#b7d3ef", "#6f95bf"), "#1e3550")
    pane = solid("#fff3b0")
    dark = solid("#2c4766")
    rows = (6.5, 11.0, 15.5, 20.0) if c.size >= 24 else (7.0, 13.0, 19.0)
    h = 2.4 if c.size >= 24 else 3.0
    for i, y in enumerate(rows):
        for j, x in enumerate((6.5, 12.0)):
            lit = (i + j) % 3 != 1
            c.fill(c.box(x, y, x + 3.5, y + h, 0.3), pane if lit else dark)
    for i, y in enumerate((16.0, 21.0)):
        c.fill(c.box(20.0, y, 26.0, y + (2.2 if c.size >= 24 else 2.8), 0.3),
               pane if i == 0 else dark)
    door = c.box(9.0, 24.5, 13.0, 29.0 - c.px(1.0), 0.3)
    c.fill(door, solid("#1e3550"))


def draw_bolt(c):
    """14: a fast line."""
    bolt = polygon([(19.5, 1.5), (5.5, 18.0), (14.0, 18.0), (10.5, 30.5),
                    (26.5, 12.5), (17.5, 12.5), (22.5, 1.5)], 0.6)
    c.shadow(bolt)
    body(c, bolt, linear(8, 2, 24, 28, "#fff6a0", "#ffd21f", "#ff8a00"), "#8a3f00")


def draw_star(c):
    """15: favourite."""
    pts = []
    for k in range(10):
        a = math.radians(-90 + k * 36)
        r = 14.5 if k % 2 == 0 else 6.4
        pts.append((16 + r * math.cos(a), 17.2 + r * math.sin(a)))
    star = polygon(pts, 0.9)
    c.shadow(star)
    body(c, star, radial(13, 11, 17, "#fffbd0", "#ffd338", "#e98c00"), "#7a4300")


def draw_heart(c):
    """16: the family's connection."""
    lobes = union(circle(10.5, 11.5, 7.2), circle(21.5, 11.5, 7.2))
    point = polygon([(4.0, 15.0), (16.0, 28.5), (28.0, 15.0), (16.0, 10.0)], 0.8)
    heart = smooth_union(lobes, point, 3.0)
    c.shadow(heart)
    body(c, heart, radial(11, 9, 20, "#ffc2d4", "#f0426b", "#a80f3a"), "#5c0620")
    if c.size >= 20:
        c.fill(ellipse(10.0, 9.5, 3.0, 1.8), solid(rgb("#ffffff", 0.55)))


def draw_laptop(c):
    """17: laptop."""
    lid = c.box(5.0, 4.5, 27.0, 21.0, 1.6)
    c.shadow(lid)
    body(c, lid, linear(0, 4, 0, 21, "#5d6672", "#2a3038"), "#12161b")
    screen = c.box(7.0, 6.5, 25.0, 19.0, 0.5)
    c.fill(screen, linear(7, 6, 25, 19, "#bde7ff", "#3a98e8", "#1659b5"))
    if c.size >= 24:
        c.fill(intersect(polygon([(7, 6.5), (17, 6.5), (11, 19), (7, 19)]), screen),
               solid(rgb("#ffffff", 0.18)))
    base = polygon([(4.5, 21.0), (27.5, 21.0), (31.0, 27.0), (1.0, 27.0)], 0.8)
    c.shadow(base)
    body(c, base, linear(0, 21, 0, 28, "#eef1f5", "#b9c1cc", "#8a94a1"), "#3a414b")
    c.fill(c.box(12.5, 23.0, 19.5, 24.6, 0.6), solid("#8a94a1"))


def draw_envelope(c):
    """18: mail."""
    env = rect(2.0, 7.0 if c.size >= 24 else 8.0, 30.0, 26.0, 1.4)
    c.shadow(env)
    body(c, env, linear(0, 7, 0, 26, "#ffffff", "#e7e3d6"), "#6e6650")
    w = c.line(1.0, 1.1)
    inner = inset(env, c.px(1.0))
    c.fill(intersect(polyline([(2.0, 26.0), (13.0, 17.0)], w), inner), solid("#a49a80"))
    c.fill(intersect(polyline([(30.0, 26.0), (19.0, 17.0)], w), inner), solid("#a49a80"))
    top = env.box[1] + 0.6
    flap = polygon([(2.7, top), (29.3, top), (16.0, 19.0)], 0.4)
    body(c, flap, linear(0, 7, 0, 19, "#fdfcf7", "#dcd5c0"), "#6e6650")
    seal = circle(16.0, 17.0, 3.2) if c.size >= 24 else circle(16.0, 18.0, 4.0)
    body(c, seal, radial(15, 16, 4.5, "#ff8a7a", "#c8281a"), "#5c0c05")


def draw_signal(c):
    """19: signal strength bars."""
    # bar widths and gaps in whole pixels, so the four bars look alike
    pitch = round(7.3 * c.scale) / c.scale
    width = round(5.5 * c.scale) / c.scale
    x0 = c.snap((32.0 - 3 * pitch - width) / 2)
    bars = []
    for k, h in enumerate((7.0, 12.5, 18.0, 24.0)):
        x = x0 + k * pitch
        bars.append(rect(x, c.snap(29.0 - h), x + width, c.snap(29.0), 1.0))
    for b in bars:
        c.shadow(b)
    paint = linear(0, 4, 0, 29, "#c6ff8a", "#3fcf2a", "#158a12")
    for b in bars:
        body(c, b, paint, "#0c4a0a")


def draw_plug(c):
    """20: power plug."""
    path = [(16.0, 24.0), (16.0, 27.0), (19.0, 30.0), (27.0, 30.0)]
    c.fill(polyline(path, c.line(1.5, 2.6) + 2 * c.px(1.0)), solid("#2b2f35"))
    c.fill(polyline(path, c.line(1.0, 2.6) - c.px(0.4)), solid("#7d8794"))
    for x in (10.5, 18.5):
        prong = rect(x, 2.5, x + 3.0, 12.0, 0.6)
        body(c, prong, linear(x, 0, x + 3, 0, "#ffffff", "#d0d6de", "#9aa4b0"), "#3a414b")
    plug = rect(6.5, 10.0, 25.5, 21.0, 3.0)
    neck = polygon([(10.0, 20.0), (22.0, 20.0), (19.0, 25.5), (13.0, 25.5)], 0.8)
    shape = union(plug, neck)
    c.shadow(shape)
    body(c, shape, linear(0, 10, 0, 26, "#ff9d4a", "#ea6a10", "#a94606"), "#4d1e02")
    if c.size >= 24:
        for y in (13.0, 16.0):
            c.fill(rect(10.0, y, 22.0, y + 1.0, 0.5), solid(rgb("#7a3204", 0.55)))


def draw_moon(c):
    """21: night-time tariff."""
    sky = circle(16, 16, 14.5)
    c.shadow(sky)
    body(c, sky, radial(12, 10, 22, "#3b5bb5", "#1b2a6b", "#0b1236"), "#050a24")
    moon = subtract(circle(14.5, 16.5, 9.0), circle(19.5, 12.5, 7.8))
    c.fill(moon, radial(10, 14, 12, "#fff8c4", "#ffd94d", "#f0a400"))
    for x, y, r in ((22.5, 20.5, 2.2), (24.0, 9.5, 1.4), (18.0, 25.0, 1.2)):
        if r < 1.3 and c.size < 24:
            continue
        twinkle = union(segment(x - r, y, x + r, y, c.line(0.9, r * 0.5)),
                        segment(x, y - r, x, y + r, c.line(0.9, r * 0.5)))
        c.fill(twinkle, solid("#fff6c0"))


def draw_custom(c):
    """101: an entry dialled by a provider's own program: the world with a
    star-shaped badge (such entries are written with a leading "*")."""
    globe(c, 14.5, 14.5, 12.5)
    cx, cy, r = 23.5, 23.5, 7.2
    disc = circle(cx, cy, r)
    c.fill(inset(disc, -c.px(1.0)), solid("#ffffff"))
    body(c, disc, radial(cx - 2, cy - 2.5, r * 1.6, "#ffb36b", "#e2560a"), "#6b2300")
    w = c.line(1.0, 2.0)
    for a in (90, 30, 150):
        ra = math.radians(a)
        dx, dy = 4.0 * math.cos(ra), 4.0 * math.sin(ra)
        c.fill(segment(cx - dx, cy - dy, cx + dx, cy + dy, w), solid("#ffffff"))


ENTRY_PICTURES = {
    8: draw_main,
    9: draw_desk_phone,
    10: draw_modem,
    11: draw_house,
    12: draw_briefcase,
    13: draw_building,
    14: draw_bolt,
    15: draw_star,
    16: draw_heart,
    17: draw_laptop,
    18: draw_envelope,
    19: draw_signal,
    20: draw_plug,
    21: draw_moon,
}


def picture(number):
    """The drawing function of an icon number, or None when there is none."""
    if number in ANIMATION_FRAMES:
        return lambda c: draw_dial_frame(c, number)
    if number == REST_FRAME:
        return draw_rest
    if number in ENTRY_PICTURES:
        return ENTRY_PICTURES[number]
    if number == CUSTOM_ENTRY_ICON:
        return draw_custom
    if number == ONLINE_TIME_ICON:
        return draw_online_time
    if number - RECONNECT_OFFSET in ENTRY_PICTURES:
        return waiting(ENTRY_PICTURES[number - RECONNECT_OFFSET])
    return None


def waiting(draw):
    """The reconnect-wait variant: the same picture greyed, with a clock."""
    def draw_waiting(c):
        draw(c)
        d = c.data
        for i in range(0, len(d), 4):
            r, g, b, a = d[i:i + 4]
            grey = 0.30 * r + 0.59 * g + 0.11 * b
            # keep a trace of the colour so the entries stay told apart
            d[i] = grey + (r - grey) * 0.18
            d[i + 1] = grey + (g - grey) * 0.18
            d[i + 2] = grey + (b - grey) * 0.18
            d[i + 3] = a
        clock_badge(c, 24.0, 24.0, 7.0)
    return draw_waiting


def sizes(number):
    """The image sizes stored for an icon number."""
    tray_only = number in (CUSTOM_ENTRY_ICON, ONLINE_TIME_ICON) or number > RECONNECT_OFFSET
    return TRAY_SIZES if tray_only else WINDOW_SIZES


ICON_NUMBERS = (list(ANIMATION_FRAMES) + [REST_FRAME] + list(ENTRY_ICONS)
                + [CUSTOM_ENTRY_ICON, ONLINE_TIME_ICON]
                + [n + RECONNECT_OFFSET for n in ENTRY_ICONS])


# --------------------------------------------------------------------------
# File formats.

def render(number, size):
    c = Canvas(size)
    picture(number)(c)
    return c.rgba_bytes()


def ico_bytes(images):
    """An .ico with one image per size: a PNG from PNG_FROM pixels on,
    otherwise a BITMAPINFOHEADER (height doubled), the BGRA pixels bottom-up,
    then the 1-bit AND mask (set where transparent)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    blobs = b""
    offset = 6 + 16 * len(images)
    for size, rgba in images:
        blob = png_bytes(size, size, rgba) if size >= PNG_FROM else bmp_icon_image(size, rgba)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                               len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


def bmp_icon_image(size, rgba):
    """One classic icon image: header, BGRA pixels bottom-up, AND mask."""
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        row = rgba[y * size * 4:(y + 1) * size * 4]
        for x in range(size):
            r, g, b, a = row[x * 4:x * 4 + 4]
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(size):
            if rgba[(y * size + x) * 4 + 3] == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def png_filtered_rows(row, previous):
    """The row under each of PNG's five filters (None, Sub, Up, Average,
    Paeth), as (filter type, bytes); 4 bytes a pixel. A decoder undoes the
    filter exactly: the pixels are the same whichever is chosen."""
    n = len(row)
    left = lambda i: row[i - 4] if i >= 4 else 0
    upper_left = lambda i: previous[i - 4] if i >= 4 else 0

    def paeth(a, b, c):
        p = a + b - c
        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
        return a if pa <= pb and pa <= pc else (b if pb <= pc else c)

    return [
        (0, bytes(row)),
        (1, bytes((row[i] - left(i)) & 0xFF for i in range(n))),
        (2, bytes((row[i] - previous[i]) & 0xFF for i in range(n))),
        (3, bytes((row[i] - (left(i) + previous[i]) // 2) & 0xFF for i in range(n))),
        (4, bytes((row[i] - paeth(left(i), previous[i], upper_left(i))) & 0xFF for i in range(n))),
    ]


def png_filter_cost(candidate):
    """The usual guess at what compresses best: the smallest sum of the
    filtered bytes taken as signed."""
    return sum(b if b < 128 else 256 - b for b in candidate[1])


def png_bytes(width, height, rgba):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    # One filter for every row, or each row's own by the usual guess: the
    # one that compresses smallest is kept.
    stride = width * 4
    rows = [rgba[y * stride:(y + 1) * stride] for y in range(height)]
    choices = [png_filtered_rows(row, rows[y - 1] if y > 0 else bytes(stride)) for y, row in enumerate(rows)]
    strategies = [[row_choices[kind] for row_choices in choices] for kind in range(5)]
    strategies.append([min(row_choices, key=png_filter_cost) for row_choices in choices])
    raw = min((b"".join(bytes((kind,)) + data for kind, data in strategy) for strategy in strategies),
              key=lambda candidate: len(zlib.compress(candidate, 9)))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def icon_file_name(number):
    return "icon_%03d.ico" % number


def rc_text(out_dir):
    lines = [
        "// Generated by tools/make_icons.py; do not edit.",
        "// Numbered icons only, in ascending order: icon groups 0..20 of the",
        "// program file are icons 1..21, so a shortcut's icon index N-1 shows",
        "// icon N, and Explorer shows icon 1 as the program's own icon.",
    ]
    for n in ICON_NUMBERS:
        path = os.path.join(out_dir, icon_file_name(n)).replace("\\", "/")
        lines.append('%d ICON "%s"' % (n, path))
    return "\n".join(lines) + "\n"


def write_file(path, data):
    """Writes every file on every run, unchanged or not, so that the time
    stamps tell the build tool the generator has run."""
    with open(path, "wb") as f:
        f.write(data)


# --------------------------------------------------------------------------
# Contact sheet: every icon at every size on a light and a dark band, plus the
# 16- and 32-pixel images enlarged four times to judge them pixel by pixel.

DIGITS = {
    "0": ("111", "101", "101", "101", "111"),
    "1": ("010", "110", "010", "010", "111"),
    "2": ("111", "001", "111", "100", "111"),
    "3": ("111", "001", "111", "001", "111"),
    "4": ("101", "101", "111", "001", "001"),
    "5": ("111", "100", "111", "001", "111"),
    "6": ("111", "100", "111", "101", "111"),
    "7": ("111", "001", "010", "010", "010"),
    "8": ("111", "101", "111", "101", "111"),
    "9": ("111", "101", "111", "001", "111"),
}


class Sheet:
    def __init__(self, width, height, colour):
        self.w, self.h = width, height
        self.px = bytearray(bytes(colour) * (width * height))

    def box(self, x, y, w, h, colour):
        for yy in range(max(0, y), min(self.h, y + h)):
            for xx in range(max(0, x), min(self.w, x + w)):
                i = (yy * self.w + xx) * 4
                self.px[i:i + 4] = bytes(colour)

    def blit(self, x, y, size, rgba, zoom=1):
        for sy in range(size * zoom):
            for sx in range(size * zoom):
                j = ((sy // zoom) * size + sx // zoom) * 4
                r, g, b, a = rgba[j:j + 4]
                i = ((y + sy) * self.w + x + sx) * 4
                d = self.px
                d[i] = (r * a + d[i] * (255 - a) + 127) // 255
                d[i + 1] = (g * a + d[i + 1] * (255 - a) + 127) // 255
                d[i + 2] = (b * a + d[i + 2] * (255 - a) + 127) // 255

    def number(self, x, y, n, colour, zoom=2):
        for ch in str(n):
            glyph = DIGITS[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "1":
                        self.box(x + gx * zoom, y + gy * zoom, zoom, zoom, colour)
            x += 4 * zoom


def write_sheet(path, numbers, rendered):
    columns = 3
    zoom = 4
    pad = 8
    band_w = sum(WINDOW_SIZES) + pad * (len(WINDOW_SIZES) + 1)
    cell_w = 40 + band_w * 2 + 16 * zoom + 32 * zoom + pad * 3
    cell_h = max(WINDOW_SIZES[-1], 32 * zoom) + pad * 2
    rows = (len(numbers) + columns - 1) // columns
    sheet = Sheet(cell_w * columns, cell_h * rows, (250, 250, 250, 255))
    for k, n in enumerate(numbers):
        cx, cy = (k % columns) * cell_w, (k // columns) * cell_h
        sheet.box(cx, cy, cell_w, cell_h, (240, 240, 240, 255) if (k // columns + k) % 2
                  else (250, 250, 250, 255))
        sheet.number(cx + 4, cy + pad, n, (40, 40, 40, 255))
        for band, colour in enumerate(((255, 255, 255, 255), (32, 32, 36, 255))):
            bx = cx + 40 + band * band_w
            sheet.box(bx, cy + pad - 2, band_w, WINDOW_SIZES[-1] + 4, colour)
            x = bx + pad
            for size in sizes(n):
                sheet.blit(x, cy + pad, size, rendered[(n, size)])
                x += size + pad
        x = cx + 40 + band_w * 2 + pad
        sheet.box(x, cy + pad, 16 * zoom, 16 * zoom, (255, 255, 255, 255))
        sheet.blit(x, cy + pad, 16, rendered[(n, 16)], zoom)
        x += 16 * zoom + pad
        sheet.box(x, cy + pad, 32 * zoom, 32 * zoom, (255, 255, 255, 255))
        sheet.blit(x, cy + pad, 32, rendered[(n, 32)], zoom)
    with open(path, "wb") as f:
        f.write(png_bytes(sheet.w, sheet.h, bytes(sheet.px)))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out_dir", help="folder for the .ico files and icons.rc")
    parser.add_argument("--sheet", help="also write a contact sheet PNG here")
    parser.add_argument("--only", type=int, action="append",
                        help="draw only these icon numbers (for quick looks)")
    parser.add_argument("--list", action="store_true",
                        help="print the names of the files it would write, and stop")
    args = parser.parse_args(argv)

    if args.list:
        print(";".join([icon_file_name(n) for n in ICON_NUMBERS] + ["icons.rc"]))
        return 0

    numbers = args.only or ICON_NUMBERS
    for n in numbers:
        if picture(n) is None:
            parser.error("no icon numbered %d" % n)
    os.makedirs(args.out_dir, exist_ok=True)
    rendered = {}
    for n in numbers:
        images = []
        for size in sizes(n):
            rgba = render(n, size)
            rendered[(n, size)] = rgba
            images.append((size, rgba))
        write_file(os.path.join(args.out_dir, icon_file_name(n)), ico_bytes(images))
    if not args.only:
        write_file(os.path.join(args.out_dir, "icons.rc"),
                         rc_text(os.path.abspath(args.out_dir)).encode("ascii"))
    if args.sheet:
        write_sheet(args.sheet, numbers, rendered)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
