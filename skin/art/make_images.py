#!/usr/bin/env python3
"""Draws the updater skin's PNG images from the shapes below, at each
display scale the skin has art for.

Run from anywhere: `python3 skin/art/make_images.py` rewrites the PNG files
in skin/: "logo.png" at 100 %, "logo@125.png", "logo@150.png" and
"logo@200.png" beside it (the names the engine asks for at those scales).
Only the standard library is used. Shapes are described in the pixel
coordinates of the 100 % image and anti-aliased by 4 x 4 supersampling; the
palette is the Ferncastle brand's.

At a scale s the engine multiplies every length of the markup by s/100 with
MulDiv (rounding halves away from zero), the image's "source" cells and its
nine-grid "corner" widths included. So each scaled image is drawn on that
same grid: at 125 % the 30-pixel button cells become 0-38, 38-75 and 75-113
of a 113 x 38 strip, and the bar's 5,3,5,3 corners become 6,4,6,4. Each
cell's shapes are mapped onto the cell the engine will cut, so a frame never
bleeds into its neighbour, and the bar's side corners hold the whole curve
(the bar is drawn at its image's own height at these scales).
"""
import math
import os
import struct
import zlib

SKIN_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Ferncastle palette (R, G, B).
FERN_LIGHT = (52, 190, 130)
FERN = (31, 157, 107)
FERN_DARK = (20, 112, 78)
GLYPH = (118, 132, 127)
GLYPH_DARK = (58, 70, 66)
HOVER_GREY = (231, 238, 235)
PRESSED_GREY = (211, 222, 218)
CLOSE_RED = (229, 72, 77)
CLOSE_RED_DARK = (191, 46, 52)
TRACK = (226, 233, 230)
TRACK_EDGE = (205, 215, 211)
WHITE = (255, 255, 255)

SUBSAMPLES = 4

SCALES = (100, 125, 150, 200)


def muldiv(value, scale):
    """value * scale / 100 rounded as Windows' MulDiv rounds (value >= 0)."""
    return (value * scale + 50) // 100


def scaled_name(name, scale):
    stem, ext = os.path.splitext(name)
    return name if scale == 100 else "%s@%d%s" % (stem, scale, ext)


class Canvas:
    """Straight-alpha RGBA pixels, composited with the "over" operator."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, inside, colour, alpha=1.0, box=None):
        """Paints colour where inside(x, y) holds. colour is an (r, g, b)
        tuple or a function of (x, y) giving one; box limits the work."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        step = 1.0 / SUBSAMPLES
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for sy in range(SUBSAMPLES):
                    for sx in range(SUBSAMPLES):
                        if inside(px + (sx + 0.5) * step, py + (sy + 0.5) * step):
                            hits += 1
                if hits:
                    rgb = colour(px + 0.5, py + 0.5) if callable(colour) else colour
                    a = alpha(px + 0.5, py + 0.5) if callable(alpha) else alpha
                    self._over(px, py, rgb, a * hits / (SUBSAMPLES * SUBSAMPLES))

    def _over(self, x, y, rgb, a):
        p = self.pixels[y * self.width + x]
        out_a = a + p[3] * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            p[i] = (rgb[i] * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def save(self, name):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            for x in range(self.width):
                r, g, b, a = self.pixels[y * self.width + x]
                rows += bytes(max(0, min(255, int(round(v)))) for v in (r, g, b))
                rows.append(max(0, min(255, int(round(a * 255)))))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
        png += chunk(b"IEND", b"")
        with open(os.path.join(SKIN_DIR, name), "wb") as f:
            f.write(png)


class View:
    """Draws shapes given in 100 % coordinates onto a part of a canvas:
    design (u, v) lands on (ox + u * kx, oy + v * ky)."""

    def __init__(self, canvas, ox=0.0, oy=0.0, kx=1.0, ky=1.0):
        self.canvas, self.ox, self.oy, self.kx, self.ky = canvas, ox, oy, kx, ky

    def _design(self, f):
        if not callable(f):
            return f
        return lambda x, y: f((x - self.ox) / self.kx, (y - self.oy) / self.ky)

    def fill(self, inside, colour, alpha=1.0, box=None):
        if box is not None:
            u0, v0, u1, v1 = box
            box = (self.ox + u0 * self.kx, self.oy + v0 * self.ky, self.ox + u1 * self.kx, self.oy + v1 * self.ky)
        self.canvas.fill(self._design(inside), self._design(colour), self._design(alpha), box)


# Shapes: each returns a predicate inside(x, y).

def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= r * r
    return inside


def ellipse(cx, cy, rx, ry, angle):
    c, s = math.cos(angle), math.sin(angle)

    def inside(x, y):
        u = (x - cx) * c + (y - cy) * s
        v = -(x - cx) * s + (y - cy) * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def vertical_gradient(top_y, bottom_y, top, bottom):
    def colour(x, y):
        t = max(0.0, min(1.0, (y - top_y) / (bottom_y - top_y)))
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
    return colour


# Title-bar buttons: four 30 x 30 frames side by side (normal, hot, pushed,
# focused), each drawn in its own cell of the scaled strip. The focused
# frame rings the normal glyph in the brand's green, 2 pixels wide at 100 %,
# so that the keyboard's place shows on the white title bar.

def close_glyph():
    a, b = 10.5, 19.5
    return union(capsule(a, a, b, b, 0.9), capsule(b, a, a, b, 0.9))


def minimise_glyph():
    return capsule(10, 15.5, 20, 15.5, 0.9)


FOCUS_RING = minus(rounded_rect(1, 1, 29, 29, 5), rounded_rect(3, 3, 27, 27, 3))


def button_strip(name, scale, glyph, hot_bg, pushed_bg, hot_glyph, pushed_glyph):
    edges = [muldiv(x, scale) for x in (0, 30, 60, 90, 120)]
    height = muldiv(30, scale)
    c = Canvas(edges[4], height)
    frames = ((None, GLYPH), (hot_bg, hot_glyph), (pushed_bg, pushed_glyph), (None, GLYPH))
    for i, (background, ink) in enumerate(frames):
        cell = View(c, edges[i], 0, (edges[i + 1] - edges[i]) / 30, height / 30)
        if background:
            cell.fill(rounded_rect(3, 3, 27, 27, 4), background, box=(0, 0, 30, 30))
        if i == 3:
            cell.fill(FOCUS_RING, FERN, box=(0, 0, 30, 30))
        cell.fill(glyph(), ink, box=(0, 0, 30, 30))
    c.save(scaled_name(name, scale))


# The product logo: a fern frond rising from a castle tower on a rounded tile.

def logo(scale):
    size = muldiv(94, scale)
    canvas = Canvas(size, size)
    c = View(canvas, kx=size / 94, ky=size / 94)
    # Soft shadow under the tile.
    for grow, alpha in ((4, 0.05), (3, 0.07), (2, 0.09)):
        c.fill(rounded_rect(7 - grow, 9 - grow, 87 + grow, 89 + grow, 20 + grow), (10, 40, 30), alpha)
    c.fill(rounded_rect(7, 6, 87, 86, 20), vertical_gradient(6, 86, FERN_LIGHT, FERN_DARK))
    # A faint highlight over the upper half of the tile.
    c.fill(minus(rounded_rect(7, 6, 87, 86, 20), ellipse(47, 100, 70, 52, 0)), WHITE, 0.08)

    # Castle: a keep with three merlons and an arched gate.
    merlons = union(*(rounded_rect(x, 55, x + 7, 63, 1) for x in (29, 43.5, 58)))
    keep = union(rounded_rect(29, 61, 65, 78, 1.5), merlons)
    gate = union(rounded_rect(42, 70, 52, 79, 0.5), ellipse(47, 70, 5, 5, 0))
    c.fill(minus(keep, gate), WHITE, 0.96)

    # Fern: a curved stem with paired leaflets that shrink towards the tip.
    def stem_point(t):
        # Quadratic curve from the keep's top to the tip, leaning right.
        p0, p1, p2 = (47, 56), (44, 34), (58, 15)
        x = (1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0]
        y = (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1]
        return x, y

    points = [stem_point(i / 40) for i in range(41)]
    stem = union(*(capsule(*points[i], *points[i + 1], 1.3) for i in range(40)))
    leaves = []
    for i in range(7):
        t = 0.12 + i * 0.12
        x, y = stem_point(t)
        nx, ny = stem_point(min(1.0, t + 0.01))
        heading = math.atan2(ny - y, nx - x)
        size = 9.5 - i * 1.05
        for side in (-1, 1):
            angle = heading + side * 1.1
            cx = x + math.cos(angle) * size * 0.9
            cy = y + math.sin(angle) * size * 0.9
            leaves.append(ellipse(cx, cy, size, size * 0.27, angle))
    tip_x, tip_y = stem_point(1.0)
    leaves.append(ellipse(tip_x + 1.2, tip_y - 1.6, 3.2, 1.6, -0.9))
    c.fill(union(stem, *leaves), WHITE, 0.96, box=(20, 8, 76, 60))
    canvas.save(scaled_name("logo.png", scale))


# Progress bar: the track and the fill, 52 x 16 at 100 %, both drawn with
# nine-grid corners 5,3,5,3 (scaled as the engine scales them). The fill's
# middle is tiled, so its diagonal stripes repeat three times across it
# (every 14 pixels at 100 %) and the tiles meet without a seam.

def progress_track(scale):
    k = scale / 100
    width, height = muldiv(52, scale), muldiv(16, scale)
    c = Canvas(width, height)
    c.fill(rounded_rect(0, 0, width, height, 4 * k), TRACK_EDGE)
    c.fill(rounded_rect(k, k, width - k, height - k, 3 * k), TRACK)
    c.save(scaled_name("FullBackground.png", scale))


def progress_fill(scale):
    k = scale / 100
    width, height = muldiv(52, scale), muldiv(16, scale)
    corner = muldiv(5, scale)
    period = (width - 2 * corner) / 3
    c = Canvas(width, height)
    body = rounded_rect(0, 0, width, height, 4 * k)
    c.fill(body, vertical_gradient(0, height, FERN_LIGHT, FERN))

    def stripe(x, y):
        phase = ((x - corner) + y + 5 * period / 14) % period
        return corner <= x <= width - corner and phase < 6 * period / 14
    c.fill(lambda x, y: body(x, y) and stripe(x, y), WHITE, 0.16)
    c.fill(lambda x, y: body(x, y) and y < 6 * k, WHITE, 0.12)
    c.save(scaled_name("PlanBackground.png", scale))


# Window shadow for a nine-grid: dark edges fading out, a clear middle.

def shadow(scale):
    k = scale / 100
    width, height = muldiv(170, scale), muldiv(146, scale)
    c = Canvas(width, height)
    inset = 12.0 * k
    x0, y0, x1, y1 = inset, inset, width - inset, height - inset
    for y in range(height):
        for x in range(width):
            px, py = x + 0.5, y + 0.5
            dx = max(x0 - px, 0.0, px - x1)
            dy = max(y0 - py, 0.0, py - y1)
            d = math.hypot(dx, dy)
            if d == 0.0:
                continue
            a = 0.32 * math.exp(-((d / (5.5 * k)) ** 2))
            c.pixels[y * width + x] = [12.0, 28.0, 22.0, a]
    c.save(scaled_name("Shadow.png", scale))


if __name__ == "__main__":
    for s in SCALES:
        button_strip("btn_sys_close.png", s, close_glyph, CLOSE_RED, CLOSE_RED_DARK, WHITE, WHITE)
        button_strip("btn_sys_min.png", s, minimise_glyph, HOVER_GREY, PRESSED_GREY, GLYPH_DARK, GLYPH_DARK)
        logo(s)
        progress_track(s)
        progress_fill(s)
        shadow(s)
