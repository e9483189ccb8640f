#!/usr/bin/env python3
"""Draws the updater skin's PNG images from the shapes below.

Run from anywhere: `python3 skin/art/make_images.py` rewrites the PNG files
in skin/. Only the standard library is used. Shapes are described in pixel
coordinates and anti-aliased by 4 x 4 supersampling; the palette is the
Ferncastle brand's.
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

    def blit(self, other, dx, dy):
        for y in range(other.height):
            for x in range(other.width):
                q = other.pixels[y * other.width + x]
                if q[3] > 0:
                    self._over(x + dx, y + dy, q[:3], q[3])

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


# Title-bar buttons: three 30 x 30 frames side by side (normal, hot, pushed).

def close_glyph(ox):
    a, b = 10.5, 19.5
    return union(capsule(ox + a, a, ox + b, b, 0.9), capsule(ox + b, a, ox + a, b, 0.9))


def minimise_glyph(ox):
    return capsule(ox + 10, 15.5, ox + 20, 15.5, 0.9)


def button_strip(name, glyph, hot_bg, pushed_bg, hot_glyph, pushed_glyph):
    c = Canvas(90, 30)
    c.fill(glyph(0), GLYPH, box=(0, 0, 30, 30))
    c.fill(rounded_rect(33, 3, 57, 27, 4), hot_bg, box=(30, 0, 60, 30))
    c.fill(glyph(30), hot_glyph, box=(30, 0, 60, 30))
    c.fill(rounded_rect(63, 3, 87, 27, 4), pushed_bg, box=(60, 0, 90, 30))
    c.fill(glyph(60), pushed_glyph, box=(60, 0, 90, 30))
    c.save(name)


# The product logo: a fern frond rising from a castle tower on a rounded tile.

def logo():
    c = Canvas(94, 94)
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
    c.save("logo.png")


# Progress bar: the track and the fill, both drawn with nine-grid corners
# 5,3,5,3; the fill's middle is tiled, so its stripes repeat every 14 pixels
# (the 42-pixel middle holds three).

def progress_track():
    c = Canvas(52, 16)
    c.fill(rounded_rect(0, 0, 52, 16, 4), TRACK_EDGE)
    c.fill(rounded_rect(1, 1, 51, 15, 3), TRACK)
    c.save("FullBackground.png")


def progress_fill():
    c = Canvas(52, 16)
    body = rounded_rect(0, 0, 52, 16, 4)
    c.fill(body, vertical_gradient(0, 16, FERN_LIGHT, FERN))

    def stripe(x, y):
        return 5 <= x <= 47 and ((x + y) % 14) < 6
    c.fill(lambda x, y: body(x, y) and stripe(x, y), WHITE, 0.16)
    c.fill(lambda x, y: body(x, y) and y < 6, WHITE, 0.12)
    c.save("PlanBackground.png")


# Window shadow for a nine-grid: dark edges fading out, a clear middle.

def shadow():
    c = Canvas(170, 146)
    inset = 12.0
    x0, y0, x1, y1 = inset, inset, 170 - inset, 146 - inset
    for y in range(146):
        for x in range(170):
            px, py = x + 0.5, y + 0.5
            dx = max(x0 - px, 0.0, px - x1)
            dy = max(y0 - py, 0.0, py - y1)
            d = math.hypot(dx, dy)
            if d == 0.0:
                continue
            a = 0.32 * math.exp(-((d / 5.5) ** 2))
            c.pixels[y * 170 + x] = [12.0, 28.0, 22.0, a]
    c.save("Shadow.png")


if __name__ == "__main__":
    button_strip("btn_sys_close.png", close_glyph, CLOSE_RED, CLOSE_RED_DARK, WHITE, WHITE)
    button_strip("btn_sys_min.png", minimise_glyph, HOVER_GREY, PRESSED_GREY, GLYPH_DARK, GLYPH_DARK)
    logo()
    progress_track()
    progress_fill()
    shadow()
