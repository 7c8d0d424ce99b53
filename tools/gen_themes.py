#!/usr/bin/python3
"""Draws the ten background pictures that sit behind the main window.

Usage: gen_themes.py OUTDIR

Writes OUTDIR/charming1.bmp .. charming10.bmp, each 1024 x 768, 24-bit
uncompressed Windows bitmaps. Every picture is drawn here from shapes and
gradients; nothing is read from disk. Random placement uses fixed seeds and
the final quantisation uses an ordered dither, so the same script always
writes byte-identical files.

Where the window puts things, and so where a picture may be lively:
  left column    x 0..266    sample character (y 0..192), stroke pieces below
  practice grid  x 266..810, y 0..576   kept calm and light (outlines go here)
  right column   x 810..1024 buttons and labels with black text: kept light
  bottom strip   y 576..768  large character buttons
The livelier detail goes to the edges and the bottom left; a soft veil over
the practice grid and the right column keeps black text readable.
"""

import math
import os
import struct
import sys

import numpy as np

import sdf
from sdf import smoothstep

W, H = 1024, 768
GRID = (266, 0, 810, 576)
RIGHT = (810, 0, 1024, 768)
SAMPLE = (0, 0, 266, 192)


def rgb(c):
    if isinstance(c, np.ndarray):
        return c.astype(np.float32)
    if isinstance(c, str):
        return np.array([int(c[i:i + 2], 16) for i in (1, 3, 5)], np.float32)
    return np.array(c, np.float32)


# ---------------------------------------------------------------------------
# Shapes: a bounding box plus a signed distance function (negative inside).

class Shape:
    def __init__(self, bbox, fn):
        self.bbox = bbox
        self.fn = fn

    def __or__(self, other):
        a, b = self.bbox, other.bbox
        f, g = self.fn, other.fn
        return Shape((min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3])),
                     lambda X, Y: np.minimum(f(X, Y), g(X, Y)))

    def __and__(self, other):
        a, b = self.bbox, other.bbox
        f, g = self.fn, other.fn
        return Shape((max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3])),
                     lambda X, Y: np.maximum(f(X, Y), g(X, Y)))

    def __sub__(self, other):
        f, g = self.fn, other.fn
        return Shape(self.bbox, lambda X, Y: np.maximum(f(X, Y), -g(X, Y)))

    def grow(self, r):
        f = self.fn
        b = self.bbox
        return Shape((b[0] - r, b[1] - r, b[2] + r, b[3] + r), lambda X, Y: f(X, Y) - r)

    def moved(self, dx, dy):
        f = self.fn
        b = self.bbox
        return Shape((b[0] + dx, b[1] + dy, b[2] + dx, b[3] + dy),
                     lambda X, Y: f(X - dx, Y - dy))


def union(shapes):
    shapes = list(shapes)
    out = shapes[0]
    for s in shapes[1:]:
        out = out | s
    return out


def circle(cx, cy, r):
    return Shape((cx - r, cy - r, cx + r, cy + r), sdf.circle(cx, cy, r))


def ellipse(cx, cy, rx, ry, ang=0.0):
    m = max(rx, ry)
    return Shape((cx - m, cy - m, cx + m, cy + m), sdf.ellipse(cx, cy, rx, ry, ang))


def ring(cx, cy, r, th):
    return Shape((cx - r - th, cy - r - th, cx + r + th, cy + r + th),
                 lambda X, Y: np.abs(np.sqrt((X - cx) ** 2 + (Y - cy) ** 2) - r) - th / 2)


def capsule(x0, y0, x1, y1, r):
    return Shape((min(x0, x1) - r, min(y0, y1) - r, max(x0, x1) + r, max(y0, y1) + r),
                 sdf.capsule(x0, y0, x1, y1, r))


def polyline(pts, r):
    """Round-capped line through pts; r may be a number or one radius per point."""
    rs = r if isinstance(r, (list, tuple)) else [r] * len(pts)
    return union(capsule(pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1],
                         (rs[i] + rs[i + 1]) / 2) for i in range(len(pts) - 1))


def arc(cx, cy, r, a0, a1, th, n=14):
    return polyline(sdf.arc_points(cx, cy, r, a0, a1, n), th / 2)


def polygon(pts):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape((min(xs), min(ys), max(xs), max(ys)), sdf.polygon(pts))


def star_points(cx, cy, r_out, r_in, n=5, rot=-math.pi / 2):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = rot + math.pi * i / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def leaf(cx, cy, length, width, ang):
    """A pointed leaf (two circle arcs) centred at cx, cy along angle ang."""
    hw = width / 2
    R = (hw * hw + length * length / 4) / (2 * hw)
    c = R - hw
    ca, sa = math.cos(ang), math.sin(ang)
    m = length / 2

    def fn(X, Y):
        dx, dy = X - cx, Y - cy
        u = dx * ca + dy * sa
        v = -dx * sa + dy * ca
        return np.maximum(np.sqrt(u * u + (v - c) ** 2), np.sqrt(u * u + (v + c) ** 2)) - R
    return Shape((cx - m, cy - m, cx + m, cy + m), fn)


def below_curve(x0, x1, top, curve):
    """Everything below y = curve(x) between x0 and x1 (curve takes an array)."""
    return Shape((x0, top, x1, H), lambda X, Y: (curve(X) - Y))


def round_box(x0, y0, x1, y1, r):
    return Shape((x0, y0, x1, y1), sdf.round_box(x0, y0, x1, y1, r))


# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self):
        self.img = np.zeros((H, W, 3), np.float32)
        self.xs = (np.arange(W, dtype=np.float32) + 0.5)[None, :]
        self.ys = (np.arange(H, dtype=np.float32) + 0.5)[:, None]

    def vertical(self, stops):
        """Fills the picture with a top-to-bottom gradient; stops are (y, colour)."""
        ys = np.arange(H, dtype=np.float32) + 0.5
        pos = [p for p, _ in stops]
        cols = [rgb(c) for _, c in stops]
        col = np.stack([np.interp(ys, pos, [c[k] for c in cols]) for k in range(3)], -1)
        self.img[:] = col[:, None, :].astype(np.float32)

    def mix(self, alpha, color):
        """Blends the whole picture toward colour by a per-pixel alpha (H x W)."""
        self.img += (rgb(color) - self.img) * alpha[..., None]

    def window(self, x0, y0, x1, y1):
        ix0 = max(0, int(math.floor(x0)))
        iy0 = max(0, int(math.floor(y0)))
        ix1 = min(W, int(math.ceil(x1)))
        iy1 = min(H, int(math.ceil(y1)))
        if ix0 >= ix1 or iy0 >= iy1:
            return None
        return (slice(iy0, iy1), slice(ix0, ix1)), self.xs[:, ix0:ix1], self.ys[iy0:iy1, :]

    def fill(self, shape, color, alpha=1.0, soft=1.0):
        """Paints shape; colour may be a colour or a function of (X, Y) giving one."""
        pad = soft + 1
        b = shape.bbox
        w = self.window(b[0] - pad, b[1] - pad, b[2] + pad, b[3] + pad)
        if w is None:
            return
        sl, X, Y = w
        d = shape.fn(X, Y)
        a = np.clip(0.5 - d / soft, 0.0, 1.0)
        if soft > 1.5:
            a = a * a * (3.0 - 2.0 * a)
        a = (a * alpha).astype(np.float32)
        col = color(X, Y) if callable(color) else rgb(color)
        region = self.img[sl]
        region += (col - region) * a[..., None]

    def glow(self, cx, cy, sigma, color, alpha=1.0):
        r = 3 * sigma
        w = self.window(cx - r, cy - r, cx + r, cy + r)
        if w is None:
            return
        sl, X, Y = w
        a = (alpha * np.exp(-((X - cx) ** 2 + (Y - cy) ** 2) / (2 * sigma * sigma))).astype(np.float32)
        region = self.img[sl]
        region += (rgb(color) - region) * a[..., None]

    def calm(self, tint, grid=0.6, right=0.7, sample=0.0, feather=90, right_tint=None):
        """Veils the practice grid and the right column toward a light tint.

        The two areas are joined into one L-shaped region with a wide soft
        edge, so the veil reads as haze rather than as a panel; the strength
        eases from the grid's to the right column's around x = 810.
        """
        X, Y = self.xs, self.ys
        lo, hi = -0.3 * feather, 0.7 * feather
        d = np.minimum(round_box(GRID[0], -200, W + 200, GRID[3], 40).fn(X, Y),
                       round_box(RIGHT[0], -200, W + 200, H + 200, 40).fn(X, Y))
        m = 1.0 - smoothstep(lo, hi, d)
        ramp = smoothstep(RIGHT[0] - 70, RIGHT[0] + 30, X)
        a = m * (grid + (right - grid) * ramp)
        if sample:
            ds = round_box(-200, -200, SAMPLE[2], SAMPLE[3], 40).fn(X, Y)
            a = np.maximum(a, (1.0 - smoothstep(lo, hi, ds)) * sample)
        a = a.astype(np.float32)[..., None]
        col = rgb(tint)
        if right_tint is not None:
            col = col + (rgb(right_tint) - col) * ramp.astype(np.float32)[..., None]
        self.img += (col - self.img) * a


def bayer(n):
    m = np.zeros((1, 1), np.int32)
    while m.shape[0] < n:
        m = np.block([[4 * m, 4 * m + 2], [4 * m + 3, 4 * m + 1]])
    return m


def bmp_bytes(img):
    """24-bit bottom-up BMP of an H x W x 3 float picture (0..255), ordered-dithered."""
    h, w, _ = img.shape
    b = bayer(8)
    thr = ((b + 0.5) / 64.0).astype(np.float32)
    thr = np.tile(thr, (h // 8 + 1, w // 8 + 1))[:h, :w]
    q = np.clip(np.floor(img + thr[..., None]), 0, 255).astype(np.uint8)
    rows = q[::-1, :, ::-1]                        # bottom-up, BGR
    stride = (w * 3 + 3) & ~3
    if stride != w * 3:
        rows = np.concatenate([rows.reshape(h, w * 3),
                               np.zeros((h, stride - w * 3), np.uint8)], axis=1)
    pixels = np.ascontiguousarray(rows).tobytes()
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


# ---------------------------------------------------------------------------
# Reusable pieces of scenery.

def cloud(c, cx, cy, s, color='#ffffff', shade='#dbe8f5', alpha=1.0):
    puffs = [(-0.95, 0.1, 0.42), (-0.45, -0.22, 0.58), (0.15, -0.38, 0.7),
             (0.72, -0.12, 0.55), (1.12, 0.12, 0.38)]
    body = union([circle(cx + dx * s, cy + dy * s, r * s) for dx, dy, r in puffs]
                 + [ellipse(cx + 0.08 * s, cy + 0.16 * s, 1.3 * s, 0.34 * s)])
    c.fill(body.moved(0, 0.1 * s), shade, alpha, soft=3)
    c.fill(body, color, alpha, soft=2)


def flower(c, cx, cy, r, petal, centre='#ffd84a', stem='#5aa84a', rot=0.0):
    if stem:
        c.fill(polyline([(cx, cy), (cx + r * 0.3, cy + r * 2.2), (cx + r * 0.1, cy + r * 4.5)],
                        max(1.2, r * 0.13)), stem)
        c.fill(leaf(cx + r * 0.75, cy + r * 2.8, r * 1.6, r * 0.6, -0.5), stem)
    petals = union(circle(cx + r * 0.62 * math.cos(rot + k * 2 * math.pi / 5),
                          cy + r * 0.62 * math.sin(rot + k * 2 * math.pi / 5), r * 0.48)
                   for k in range(5))
    c.fill(petals.grow(0.6), '#ffffff', 0.5)
    c.fill(petals, petal)
    c.fill(circle(cx, cy, r * 0.34), centre)
    c.fill(circle(cx - r * 0.08, cy - r * 0.09, r * 0.12), '#fff6c8', 0.8)


def butterfly(c, cx, cy, s, wing, spot='#ffffff', ang=0.0):
    ca, sa = math.cos(ang), math.sin(ang)

    def p(x, y):
        return cx + x * ca - y * sa, cy + x * sa + y * ca
    for side in (-1, 1):
        x, y = p(side * 0.55 * s, -0.35 * s)
        c.fill(ellipse(x, y, 0.6 * s, 0.45 * s, ang + side * 0.5), wing)
        x2, y2 = p(side * 0.45 * s, 0.4 * s)
        c.fill(ellipse(x2, y2, 0.4 * s, 0.32 * s, ang - side * 0.5), wing)
        c.fill(circle(x, y, 0.18 * s), spot, 0.85)
    x0, y0 = p(0, -0.55 * s)
    x1, y1 = p(0, 0.6 * s)
    c.fill(capsule(x0, y0, x1, y1, 0.1 * s), '#5a4a6a')
    for side in (-1, 1):
        xa, ya = p(side * 0.35 * s, -1.05 * s)
        c.fill(polyline([(x0, y0), (xa, ya)], 0.035 * s + 0.4), '#5a4a6a')
        c.fill(circle(xa, ya, 0.08 * s), '#5a4a6a')


def bird(c, cx, cy, s, color='#5d7891'):
    c.fill(arc(cx - s * 0.5, cy + s * 0.35, s * 0.55, -math.pi * 0.95, -math.pi * 0.2, s * 0.12 + 1)
           | arc(cx + s * 0.5, cy + s * 0.35, s * 0.55, -math.pi * 0.8, -math.pi * 0.05,
                 s * 0.12 + 1), color)


def pine(c, cx, base, h, green='#4f9a6e', snow=None):
    c.fill(round_box(cx - h * 0.05, base - h * 0.2, cx + h * 0.05, base, 2), '#8a6248')
    tiers = 3
    for i in range(tiers):
        top = base - h + i * h * 0.24
        bot = base - h * 0.15 - (tiers - 1 - i) * h * 0.2
        hw = h * (0.18 + 0.09 * i)
        tri = polygon([(cx, top), (cx + hw, bot), (cx - hw, bot)])
        c.fill(tri, green)
        if snow:
            cap = polygon([(cx, top), (cx + hw * 0.55, top + (bot - top) * 0.55),
                           (cx + hw * 0.2, top + (bot - top) * 0.45), (cx, top + (bot - top) * 0.6),
                           (cx - hw * 0.2, top + (bot - top) * 0.45),
                           (cx - hw * 0.55, top + (bot - top) * 0.55)])
            c.fill(cap, snow)


def sun(c, cx, cy, r, color='#ffd75e', glow='#fff3b8', rays=True, face=False):
    c.glow(cx, cy, r * 1.6, glow, 0.75)
    if rays:
        for k in range(12):
            a = k * math.pi / 6 + 0.13
            c.fill(capsule(cx + math.cos(a) * r * 1.25, cy + math.sin(a) * r * 1.25,
                           cx + math.cos(a) * r * 1.6, cy + math.sin(a) * r * 1.6, r * 0.09),
                   color, 0.8)
    c.fill(circle(cx, cy, r), color, soft=1.5)
    c.fill(circle(cx - r * 0.25, cy - r * 0.3, r * 0.45), '#fff0a8', 0.35, soft=r * 0.5)
    if face:
        ink = '#b8652a'
        c.fill(arc(cx - r * 0.33, cy - r * 0.05, r * 0.15, math.pi * 1.15, math.pi * 1.85, r * 0.08), ink)
        c.fill(arc(cx + r * 0.33, cy - r * 0.05, r * 0.15, math.pi * 1.15, math.pi * 1.85, r * 0.08), ink)
        c.fill(arc(cx, cy + r * 0.1, r * 0.38, math.pi * 0.2, math.pi * 0.8, r * 0.09), ink)
        c.fill(circle(cx - r * 0.55, cy + r * 0.28, r * 0.14), '#ff9d7a', 0.6, soft=3)
        c.fill(circle(cx + r * 0.55, cy + r * 0.28, r * 0.14), '#ff9d7a', 0.6, soft=3)


def busy_weight(x, y):
    """How welcome a lively detail is at (x, y): high at the left and bottom."""
    if GRID[0] + 20 <= x <= GRID[2] - 10 and y <= GRID[3] - 20:
        return 0.12
    if x >= RIGHT[0]:
        return 0.2
    return 1.0


def scatter(rng, n, weight=busy_weight, box=(0, 0, W, H)):
    out = []
    while len(out) < n:
        x = rng.uniform(box[0], box[2])
        y = rng.uniform(box[1], box[3])
        if rng.uniform() < weight(x, y):
            out.append((x, y))
    return out


# ---------------------------------------------------------------------------
# The ten pictures.

def theme_sky(c, rng):
    c.vertical([(0, '#7cc2f2'), (420, '#b9e0fa'), (700, '#e4f4fd'), (768, '#eef8fe')])
    sun(c, 58, 52, 62, rays=True)
    for x, y, s in [(150, 250, 48), (420, 90, 60), (640, 210, 52), (910, 140, 44),
                    (300, 400, 40), (80, 470, 42), (720, 470, 46), (960, 420, 38),
                    (520, 330, 34), (210, 640, 36)]:
        cloud(c, x, y, s)
    # Far and near hills along the bottom.
    c.fill(below_curve(0, W, 600, lambda X: 655 + 22 * np.sin(X / 120.0 + 0.5)
                       + 10 * np.sin(X / 47.0)), '#c9ebb4', soft=1.5)
    c.fill(below_curve(0, W, 660, lambda X: 705 + 26 * np.sin(X / 150.0 + 2.2)
                       + 8 * np.sin(X / 41.0 + 1)), '#a9dc92', soft=1.5)
    # A kite with a bow tail over the left column.
    kx, ky = 140, 330
    pts = [(kx, ky - 62), (kx + 44, ky), (kx, ky + 70), (kx - 44, ky)]
    cols = ['#ff8a8a', '#ffd36e', '#7fd0ff', '#9be39b']
    for i in range(4):
        c.fill(polygon([(kx, ky), pts[i], pts[(i + 1) % 4]]), cols[i])
    c.fill(capsule(kx, ky - 62, kx, ky + 70, 1.6) | capsule(kx - 44, ky, kx + 44, ky, 1.6),
           '#b07a52')
    tail = [(kx + 8 * math.sin(i * 0.9) + i * 3, ky + 70 + i * 16) for i in range(11)]
    c.fill(polyline(tail, 1.2), '#8a7a9a')
    for i, (x, y) in enumerate(tail[2::3]):
        col = ['#ff8a8a', '#ffd36e', '#7fd0ff'][i % 3]
        c.fill(polygon([(x, y), (x - 12, y - 8), (x - 12, y + 8)]), col)
        c.fill(polygon([(x, y), (x + 12, y - 8), (x + 12, y + 8)]), col)
    for x, y, s in [(60, 220, 16), (92, 236, 12), (228, 512, 14)]:
        bird(c, x, y, s)
    c.calm('#f4fbff', grid=0.62, right=0.72, sample=0.15)


def theme_meadow(c, rng):
    c.vertical([(0, '#9fd6f5'), (380, '#def2fb'), (768, '#def2fb')])
    sun(c, 60, 56, 54)
    for x, y, s in [(380, 90, 46), (700, 160, 40), (930, 80, 36), (170, 230, 34)]:
        cloud(c, x, y, s)
    c.fill(below_curve(0, W, 360, lambda X: 420 + 26 * np.sin(X / 170.0 + 1.0)
                       + 8 * np.sin(X / 53.0)), '#cdeeb0', soft=1.5)
    c.fill(below_curve(0, W, 420, lambda X: 470 + 30 * np.sin(X / 210.0 + 3.0)
                       + 9 * np.sin(X / 61.0 + 0.4)),
           lambda X, Y: rgb('#b2e394') + (rgb('#8ed07a') - rgb('#b2e394'))
           * np.clip((Y - 440) / 320.0, 0, 1)[..., None], soft=1.5)
    petals = ['#ff9cc0', '#ffffff', '#ffd24d', '#c4a6ff', '#ff8f7a', '#8fd3ff']
    spots = scatter(rng, 90, box=(0, 470, W, H))
    spots.sort(key=lambda p: p[1])
    for x, y in spots:
        r = 5 + (y - 470) / 300.0 * 13
        flower(c, x, y, r, petals[rng.randint(len(petals))], rot=rng.uniform(0, 6.3))
    # Grass tufts along the very bottom.
    for i in range(70):
        x = rng.uniform(0, W)
        h = rng.uniform(18, 42)
        lean = rng.uniform(-10, 10)
        c.fill(polygon([(x - 4, H + 2), (x + lean, H - h), (x + 4, H + 2)]), '#6fbf5e', 0.8)
    butterfly(c, 120, 300, 22, '#ffb347', ang=-0.3)
    butterfly(c, 210, 420, 16, '#ff8fc8', ang=0.35)
    butterfly(c, 560, 650, 15, '#8fc4ff', ang=0.2)
    c.calm('#f6fcf0', grid=0.62, right=0.74, sample=0.12)


def theme_sea(c, rng):
    horizon = 330
    c.vertical([(0, '#92d2f4'), (horizon, '#def3fb'), (horizon + 1, '#8fd4ec'),
                (640, '#4eb1dc'), (768, '#4eb1dc')])
    sun(c, 70, 70, 56)
    for x, y, s in [(350, 80, 42), (640, 150, 36), (900, 70, 34)]:
        cloud(c, x, y, s)
    # Wave lines, longer and brighter near the viewer.
    for i in range(14):
        y0 = horizon + 14 + i * i * 2.1 + i * 12
        amp = 2 + i * 0.9
        k = 1.0 / (18 + i * 5)
        ph = rng.uniform(0, 6.3)
        th = 1.2 + i * 0.28
        for seg in range(3 + i // 3):
            xa = rng.uniform(-80, W)
            xb = xa + rng.uniform(90, 260)
            # Each stroke swells in the middle and thins to nothing at its ends.
            band = Shape((xa, y0 - amp - th, xb, y0 + amp + th),
                         lambda X, Y, y0=y0, amp=amp, k=k, ph=ph, th=th, xa=xa, xb=xb:
                         np.abs(Y - (y0 + amp * np.sin(X * k + ph)))
                         - th * np.sin(np.pi * np.clip((X - xa) / (xb - xa), 0, 1)) + 0.3)
            c.fill(band, '#e9f8ff', 0.55, soft=1.3)
    # Sand with shells and a starfish.
    c.fill(below_curve(0, W, 660, lambda X: 700 + 12 * np.sin(X / 90.0) + 6 * np.sin(X / 31.0)),
           '#ffffff', 0.8, soft=6)
    c.fill(below_curve(0, W, 670, lambda X: 708 + 12 * np.sin(X / 90.0) + 6 * np.sin(X / 31.0)),
           '#f5e3b5', soft=1.5)
    c.fill(polygon(star_points(120, 738, 24, 10, rot=-1.3)).grow(2), '#ff9a7a')
    c.fill(circle(120, 738, 4), '#ffd0b8')
    for x, y, col in [(40, 752, '#ffc6d9'), (230, 745, '#ffe3a8'), (480, 752, '#ffd6e6'),
                      (700, 748, '#fff1c9')]:
        c.fill(circle(x, y, 10) & Shape((x - 12, y - 12, x + 12, y + 1), lambda X, Y, y=y: Y - y - 1),
               col)
        for k in range(4):
            a = math.pi * (1.15 + k * 0.23)
            c.fill(capsule(x, y, x + 9 * math.cos(a), y + 9 * math.sin(a), 0.8), '#d9a07a', 0.7)
    # A sailing boat on the left.
    bx, by = 135, 430
    c.fill(polygon([(bx - 70, by), (bx + 70, by), (bx + 48, by + 28), (bx - 48, by + 28)]), '#ff7a6b')
    c.fill(capsule(bx - 62, by + 6, bx + 62, by + 6, 2.5), '#ffffff', 0.8)
    c.fill(capsule(bx, by - 130, bx, by, 3), '#9a6a4a')
    c.fill(polygon([(bx + 5, by - 122), (bx + 5, by - 12), (bx + 78, by - 12)]), '#fffdf2')
    c.fill(polygon([(bx - 5, by - 100), (bx - 5, by - 12), (bx - 58, by - 12)]), '#ffd66b')
    c.fill(polygon([(bx + 3, by - 140), (bx + 30, by - 132), (bx + 3, by - 124)]), '#ff7a6b')
    for x, y, s in [(240, 240, 16), (270, 262, 11), (60, 200, 13)]:
        bird(c, x, y, s, '#6a8aa5')
    c.calm('#f1fbff', grid=0.62, right=0.74, sample=0.12)


def theme_night(c, rng):
    # Deep blue on the left that opens up to a pale moonlit blue on the right.
    c.vertical([(0, '#1d2b72'), (768, '#2c4499')])
    c.mix((smoothstep(480, 1024, c.xs) * np.ones((H, 1), np.float32)) * 0.8, '#c4d0f4')
    mx, my, mr = 140, 300, 56
    c.glow(mx, my, 150, '#4a62b8', 0.75)
    c.glow(mx, my, 80, '#8fa2e2', 0.55)
    for i in range(300):
        x, y = rng.uniform(0, W), rng.uniform(0, 640)
        r = rng.uniform(0.6, 1.8)
        if math.hypot(x - mx, y - my) > mr + 8:
            c.fill(circle(x, y, r), '#fffbe0', rng.uniform(0.45, 0.95), soft=1.2)
    for x, y in scatter(rng, 30, box=(0, 0, W, 620)):
        if math.hypot(x - mx, y - my) < mr + 30:
            continue
        r = rng.uniform(6, 13)
        c.glow(x, y, r * 0.9, '#fff6c4', 0.25)
        c.fill(polygon(star_points(x, y, r, r * 0.45, rot=rng.uniform(0, 1.2))).grow(0.8),
               '#ffe98a')
    # Crescent moon.
    c.fill(circle(mx, my, mr) - circle(mx + 28, my - 16, mr * 0.86), '#fff3b0', soft=1.5)
    c.fill(circle(mx - 32, my + 14, 6) | circle(mx - 20, my + 34, 4), '#f0dc8a', 0.7)
    # Shooting star.
    c.fill(polyline([(330, 150), (470, 80)], [0.5, 2.5]), '#fff7d0', 0.7)
    c.fill(polygon(star_points(472, 79, 10, 4.5)), '#fff2a0')
    # Sleepy hills with little lit houses on the left.
    c.fill(below_curve(0, W, 600, lambda X: 640 + 20 * np.sin(X / 140.0 + 1.3)
                       + 8 * np.sin(X / 47.0)), '#3a5aa6', soft=1.5)
    c.fill(below_curve(0, W, 660, lambda X: 690 + 22 * np.sin(X / 170.0 + 3.3)
                       + 6 * np.sin(X / 39.0 + 1)), '#304f96', soft=1.5)
    for hx, hy, col in [(70, 660, '#f2a97a'), (160, 668, '#9ec3f0'), (235, 680, '#f5d07a')]:
        c.fill(round_box(hx - 24, hy - 22, hx + 24, hy + 20, 2), col)
        c.fill(polygon([(hx - 32, hy - 20), (hx, hy - 46), (hx + 32, hy - 20)]), '#c8566a')
        c.glow(hx - 5, hy - 5, 12, '#fff3a0', 0.4)
        c.fill(round_box(hx - 12, hy - 12, hx + 2, hy + 1, 1.5), '#fff3a0')
        c.fill(round_box(hx + 8, hy - 2, hx + 18, hy + 20, 1.5), '#6b4a5a')
    # Moonlit haze over the practice grid; the right edge stays pale.
    c.calm('#aab8ea', grid=0.72, right=0.6, feather=170, right_tint='#d3dcf8')


def theme_rainbow(c, rng):
    c.vertical([(0, '#eaf5ff'), (500, '#fbf5ff'), (768, '#fff8f0')])
    cx, cy = 140, 860
    bands = ['#ffb3b3', '#ffd1a3', '#fff0a3', '#bff0b0', '#aee0ff', '#b9c3ff', '#dcc0ff']
    r0, bw = 560, 40
    for i, col in enumerate(bands):
        r = r0 - i * bw
        c.fill(ring(cx, cy, r - bw / 2, bw + 0.5), col, 0.95, soft=2)
    for x, y, s in [(560, 720, 55), (-10, 420, 50), (90, 330, 34), (880, 640, 44), (420, 120, 40),
                    (760, 60, 34), (960, 300, 30)]:
        cloud(c, x, y, s, shade='#efe7f7')
    # Little sparkles and confetti hearts.
    for x, y in scatter(rng, 40):
        r = rng.uniform(5, 11)
        col = bands[rng.randint(len(bands))]
        if rng.uniform() < 0.5:
            c.fill(polygon(star_points(x, y, r, r * 0.35, n=4, rot=0)), col)
        else:
            heart = (circle(x - r * 0.45, y - r * 0.2, r * 0.55) | circle(x + r * 0.45, y - r * 0.2, r * 0.55)
                     | polygon([(x - r * 0.97, y - r * 0.02), (x + r * 0.97, y - r * 0.02), (x, y + r)]))
            c.fill(heart, col)
    c.calm('#fffcff', grid=0.6, right=0.7, sample=0.15)


def maple(cx, cy, r, ang):
    pts = []
    n = 90
    for i in range(n):
        t = 2 * math.pi * i / n
        lobes = 0.5 + 0.5 * math.cos(5 * t)
        rr = r * (0.52 + 0.48 * lobes ** 0.8) + r * 0.06 * math.cos(15 * t)
        if abs(((t + math.pi) % (2 * math.pi)) - math.pi / 2) < 0.28:  # notch for the stem
            rr *= 0.55
        a = t + ang - math.pi / 2
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return polygon(pts)


def theme_autumn(c, rng):
    c.vertical([(0, '#fff6e4'), (500, '#fff0d6'), (768, '#fde3bd')])
    for x, y, s in [(120, 300, 160), (80, 690, 180), (620, 740, 160), (960, 700, 140)]:
        c.glow(x, y, s, '#fbd8a6', 0.55)
    cols = ['#ee7a3c', '#f5a53d', '#dc5533', '#f6c945', '#b8663a', '#c6cf5a', '#e8923a']
    spots = scatter(rng, 70)
    for x, y in spots:
        col = cols[rng.randint(len(cols))]
        ang = rng.uniform(0, 2 * math.pi)
        if rng.uniform() < 0.55:
            r = rng.uniform(14, 28)
            c.fill(maple(x + 3, y + 4, r, ang), '#d9b48a', 0.35, soft=3)
            c.fill(maple(x, y, r, ang), col, soft=1.2)
            c.fill(capsule(x, y, x + math.cos(ang + math.pi / 2) * r * 1.15,
                           y + math.sin(ang + math.pi / 2) * r * 1.15, 1.3), '#8a5434', 0.9)
            for k in (-1, 0, 1):
                a = ang - math.pi / 2 + k * 1.1
                c.fill(capsule(x, y, x + math.cos(a) * r * 0.75, y + math.sin(a) * r * 0.75, 0.7),
                       '#ffe9c0', 0.55)
        else:
            L = rng.uniform(30, 56)
            c.fill(leaf(x + 3, y + 4, L, L * 0.45, ang), '#d9b48a', 0.35, soft=3)
            c.fill(leaf(x, y, L, L * 0.45, ang), col, soft=1.2)
            dx, dy = math.cos(ang) * L * 0.5, math.sin(ang) * L * 0.5
            c.fill(capsule(x - dx * 0.8, y - dy * 0.8, x + dx * 1.25, y + dy * 1.25, 0.9),
                   '#8a5434', 0.8)
    # A little pile of leaves in the bottom-left corner.
    for i in range(40):
        x = rng.uniform(-10, 260)
        y = rng.uniform(720, 780) + max(0, x - 150) * 0.3
        col = cols[rng.randint(len(cols))]
        c.fill(maple(x, y, rng.uniform(16, 24), rng.uniform(0, 6.3)), col, soft=1.2)
    # An acorn and a hedgehog-free branch keep it simple: two acorns.
    for ax, ay in [(200, 560), (238, 588)]:
        c.fill(ellipse(ax, ay + 8, 11, 14), '#c98a4a')
        c.fill(ellipse(ax, ay - 4, 14, 8), '#8a5a34')
        c.fill(capsule(ax, ay - 10, ax + 3, ay - 18, 2), '#6a4424')
        c.fill(circle(ax - 4, ay + 5, 3), '#e8b77a', 0.7)
    c.calm('#fff9ee', grid=0.64, right=0.72, sample=0.15)


def snowman(c, x, base):
    c.fill(ellipse(x, base + 4, 70, 10), '#c8d8ec', 0.6, soft=4)
    body = circle(x, base - 44, 48) | circle(x, base - 118, 36) | circle(x, base - 174, 26)
    c.fill(body.moved(4, 2), '#c9daee', soft=2)
    c.fill(body, '#ffffff', soft=1.2)
    c.fill(round_box(x - 30, base - 206, x + 30, base - 196, 3), '#4d6b9a')
    c.fill(round_box(x - 20, base - 238, x + 20, base - 200, 3), '#4d6b9a')
    c.fill(round_box(x - 20, base - 212, x + 20, base - 204, 1), '#e85a5a')
    c.fill(circle(x - 9, base - 180, 3.5) | circle(x + 9, base - 180, 3.5), '#2e3440')
    c.fill(polygon([(x - 1, base - 172), (x + 26, base - 167), (x - 1, base - 164)]), '#ff8c3a')
    c.fill(arc(x, base - 172, 12, math.pi * 0.25, math.pi * 0.75, 2.5), '#2e3440')
    c.fill(round_box(x - 30, base - 152, x + 30, base - 140, 5), '#e85a5a')
    c.fill(round_box(x + 10, base - 150, x + 24, base - 112, 4), '#e85a5a')
    for k in range(3):
        c.fill(circle(x, base - 130 + k * 16, 3.5), '#2e3440')
    c.fill(polyline([(x - 34, base - 120), (x - 68, base - 146), (x - 78, base - 160)], 2.2), '#8a6248')
    c.fill(polyline([(x + 34, base - 120), (x + 66, base - 140), (x + 80, base - 138)], 2.2), '#8a6248')


def snowflake(c, x, y, r, col, alpha):
    arms = []
    for k in range(6):
        a = k * math.pi / 3
        ex, ey = x + r * math.cos(a), y + r * math.sin(a)
        arms.append(capsule(x, y, ex, ey, r * 0.08 + 0.5))
        for t, s in ((0.55, 0.35), (0.8, 0.22)):
            mx, my = x + r * t * math.cos(a), y + r * t * math.sin(a)
            for side in (-1, 1):
                b = a + side * math.pi / 3
                arms.append(capsule(mx, my, mx + r * s * math.cos(b), my + r * s * math.sin(b),
                                    r * 0.06 + 0.4))
    c.fill(union(arms), col, alpha)


def theme_snow(c, rng):
    c.vertical([(0, '#a9d2f2'), (420, '#d8ebfa'), (768, '#eef6fd')])
    c.fill(below_curve(0, W, 380, lambda X: 470 + 45 * np.sin(X / 190.0 + 0.6)
                       + 12 * np.sin(X / 71.0)), '#e3eef9', soft=1.5)
    for x in range(20, W, 70):
        yb = 470 + 45 * math.sin(x / 190.0 + 0.6) + 12 * math.sin(x / 71.0) + 8
        pine(c, x + rng.uniform(-15, 15), yb, rng.uniform(36, 56), '#a9c9c0', snow='#f4f9ff')
    c.fill(below_curve(0, W, 500, lambda X: 580 + 40 * np.sin(X / 230.0 + 2.6)
                       + 10 * np.sin(X / 83.0 + 1)),
           lambda X, Y: rgb('#f8fbff') + (rgb('#dbe8f6') - rgb('#f8fbff'))
           * np.clip((Y - 560) / 260.0, 0, 1)[..., None], soft=1.5)
    c.fill(below_curve(0, W, 640, lambda X: 690 + 24 * np.sin(X / 160.0 + 4.1)),
           '#ffffff', soft=1.5)
    c.fill(below_curve(0, W, 640, lambda X: 690 + 24 * np.sin(X / 160.0 + 4.1)).moved(0, 0)
           - below_curve(0, W, 640, lambda X: 697 + 24 * np.sin(X / 160.0 + 4.1)),
           '#cfe0f2', 0.8, soft=3)
    for x, base, h in [(28, 640, 150), (238, 650, 120), (560, 700, 70), (980, 680, 90)]:
        pine(c, x, base, h, '#4f9a78', snow='#ffffff')
    snowman(c, 130, 700)
    for x, y in scatter(rng, 220):
        r = rng.uniform(1.5, 4.5)
        c.fill(circle(x, y, r), '#ffffff', rng.uniform(0.6, 0.95), soft=1.5)
    for x, y in scatter(rng, 16, box=(0, 0, W, 560)):
        snowflake(c, x, y, rng.uniform(9, 16), '#ffffff', 0.9)
    c.calm('#f5faff', grid=0.58, right=0.7, sample=0.1)


def fish(c, x, y, s, body, fin, flip=False):
    d = -1 if flip else 1
    c.fill(polygon([(x - d * s * 0.8, y), (x - d * s * 1.45, y - s * 0.55),
                    (x - d * s * 1.45, y + s * 0.55)]).grow(s * 0.06), fin)
    c.fill(ellipse(x, y, s, s * 0.62), body, soft=1.2)
    c.fill(polygon([(x - d * s * 0.2, y - s * 0.5), (x + d * s * 0.25, y - s * 0.95),
                    (x + d * s * 0.35, y - s * 0.45)]), fin)
    c.fill(arc(x - d * s * 0.05, y, s * 0.45, -0.9, 0.9, s * 0.09) if not flip else
           arc(x - d * s * 0.05, y, s * 0.45, math.pi - 0.9, math.pi + 0.9, s * 0.09), '#ffffff', 0.5)
    c.fill(circle(x + d * s * 0.5, y - s * 0.12, s * 0.17), '#ffffff')
    c.fill(circle(x + d * s * 0.54, y - s * 0.12, s * 0.09), '#2a3040')
    c.fill(arc(x + d * s * 0.62, y + s * 0.12, s * 0.14, 0.3, 2.6, s * 0.06), '#2a3040', 0.8)


def bubble(c, x, y, r):
    c.fill(circle(x, y, r), '#eafcff', 0.18)
    c.fill(ring(x, y, r, max(1.2, r * 0.1)), '#ffffff', 0.75)
    c.fill(arc(x, y, r * 0.68, math.pi * 1.1, math.pi * 1.45, max(1.2, r * 0.16)), '#ffffff', 0.85)


def theme_underwater(c, rng):
    c.vertical([(0, '#b5ecf3'), (300, '#86d6e8'), (768, '#3fa6cb')])
    # Soft light shafts from the surface.
    for x0, wdt in [(120, 60), (420, 90), (700, 70), (900, 50)]:
        shaft = polygon([(x0, -10), (x0 + wdt, -10), (x0 + wdt * 1.8 + 200, H), (x0 + 200, H)])
        c.fill(shaft, '#ffffff', 0.12, soft=30)
    c.fill(below_curve(0, W, 660, lambda X: 705 + 14 * np.sin(X / 110.0 + 0.3)
                       + 6 * np.sin(X / 37.0)), '#f3dfaa', soft=1.5)
    for i in range(60):
        x = rng.uniform(0, W)
        y = rng.uniform(725, 765)
        c.fill(circle(x, y, rng.uniform(1.5, 3)), '#e0c48a', 0.8)
    # Seaweed swaying up from the sand.
    for sx, h, col in [(22, 330, '#5dbb73'), (62, 250, '#7ccf7d'), (250, 200, '#5dbb73'),
                       (520, 130, '#7ccf7d'), (760, 120, '#5dbb73'), (1000, 170, '#7ccf7d')]:
        pts = [(sx + 14 * math.sin(i * 0.7 + sx), 735 - h * i / 12) for i in range(13)]
        c.fill(polyline(pts, [9 - i * 0.55 for i in range(13)]), col)
        for i in range(2, 12, 2):
            px, py = pts[i]
            side = 1 if i % 4 == 0 else -1
            c.fill(leaf(px + side * 12, py - 6, 28, 10, -side * 0.6), col)
    # Coral on the left.
    cx, cy = 160, 735
    branches = [[(cx, cy), (cx - 8, cy - 40), (cx - 30, cy - 70), (cx - 34, cy - 96)],
                [(cx - 8, cy - 40), (cx + 14, cy - 72), (cx + 12, cy - 104)],
                [(cx + 14, cy - 72), (cx + 40, cy - 88)],
                [(cx - 30, cy - 70), (cx - 58, cy - 82)]]
    for b in branches:
        c.fill(polyline(b, 9), '#ff8fa3')
    for x, y, r in [(300, 745, 22), (340, 750, 14)]:
        c.fill(circle(x, y, r) & Shape((x - r, y - r, x + r, y + 1), lambda X, Y, y=y: Y - y),
               '#b98ae0')
    fish(c, 120, 420, 34, '#ffa040', '#ff7a2a')
    fish(c, 200, 540, 24, '#ffd84a', '#ffb62a', flip=True)
    fish(c, 420, 640, 26, '#ff8fb8', '#ff6a9a')
    fish(c, 700, 660, 22, '#8fe08a', '#5cc85a', flip=True)
    for x, y in scatter(rng, 55):
        bubble(c, x, y, rng.uniform(4, 14))
    for i in range(8):
        bubble(c, 70 + 10 * math.sin(i), 380 - i * 34, 4 + i * 1.3)
    c.calm('#effcfe', grid=0.62, right=0.75, sample=0.12)


def theme_sunrise(c, rng):
    c.vertical([(0, '#ffd3df'), (260, '#ffe0d0'), (470, '#ffecc8'), (640, '#fff5c8')])
    sx, sy = 150, 570
    # Long soft rays fanning from the sun.
    for k in range(9):
        a = math.pi * (1.03 + k * 0.118)
        ex, ey = sx + math.cos(a) * 1400, sy + math.sin(a) * 1400
        e2x, e2y = sx + math.cos(a + 0.045) * 1400, sy + math.sin(a + 0.045) * 1400
        c.fill(polygon([(sx, sy), (ex, ey), (e2x, e2y)]), '#fff6d6', 0.3, soft=8)
    sun(c, sx, sy, 100, color='#ffcf5c', glow='#fff1b0', rays=False, face=True)
    for x, y, s in [(430, 130, 44), (760, 90, 36), (940, 250, 30), (90, 300, 36)]:
        cloud(c, x, y, s, color='#fff4f4', shade='#f8d2da')
    c.fill(below_curve(0, W, 560, lambda X: 610 + 28 * np.sin(X / 180.0 + 1.8)
                       + 8 * np.sin(X / 55.0)), '#e1c9ee', soft=1.5)
    c.fill(below_curve(0, W, 610, lambda X: 665 + 26 * np.sin(X / 150.0 + 4.0)
                       + 7 * np.sin(X / 43.0 + 2)), '#c8b2e6', soft=1.5)
    c.fill(below_curve(0, W, 680, lambda X: 720 + 16 * np.sin(X / 120.0 + 0.7)),
           '#b4dca0', soft=1.5)
    for x, y, s in [(330, 470, 15), (362, 450, 11), (60, 200, 13), (560, 560, 12)]:
        bird(c, x, y, s, '#9a7a9a')
    c.calm('#fffaf2', grid=0.58, right=0.7, sample=0.1)


def bamboo(c, x, top, bottom, w, col='#7cc36a', dark='#4e9a4a', light='#b8e6a4'):
    c.fill(round_box(x - w / 2, top, x + w / 2, bottom, w * 0.35), col)
    c.fill(round_box(x - w * 0.3, top, x - w * 0.12, bottom, 2), light, 0.7)
    y = bottom - 20
    seg = w * 4.2
    while y > top + 10:
        c.fill(round_box(x - w / 2 - 2, y - 3, x + w / 2 + 2, y + 3, 3), dark)
        y -= seg


def bamboo_leaves(c, x, y, ang, n, col):
    for k in range(n):
        a = ang + (k - (n - 1) / 2) * 0.35
        L = 70 - abs(k - (n - 1) / 2) * 8
        c.fill(leaf(x + math.cos(a) * L * 0.5, y + math.sin(a) * L * 0.5, L, L * 0.2, a), col)


def panda(c, x, y, s):
    c.fill(circle(x - s * 0.72, y - s * 0.72, s * 0.32) | circle(x + s * 0.72, y - s * 0.72, s * 0.32),
           '#33353d')
    c.fill(ellipse(x, y + s * 1.35, s * 1.15, s * 0.75), '#ffffff')
    c.fill(ellipse(x, y + s * 1.35, s * 1.15, s * 0.75) - ellipse(x, y + s * 1.55, s * 0.6, s * 0.7),
           '#33353d')
    c.fill(ellipse(x, y, s, s * 0.88).grow(2), '#cdd4cf')
    c.fill(ellipse(x, y, s, s * 0.88), '#ffffff')
    c.fill(ellipse(x - s * 0.38, y - s * 0.02, s * 0.22, s * 0.3, 0.6), '#33353d')
    c.fill(ellipse(x + s * 0.38, y - s * 0.02, s * 0.22, s * 0.3, -0.6), '#33353d')
    c.fill(circle(x - s * 0.34, y - s * 0.06, s * 0.09), '#ffffff')
    c.fill(circle(x + s * 0.34, y - s * 0.06, s * 0.09), '#ffffff')
    c.fill(circle(x - s * 0.32, y - s * 0.05, s * 0.05), '#33353d')
    c.fill(circle(x + s * 0.32, y - s * 0.05, s * 0.05), '#33353d')
    c.fill(ellipse(x, y + s * 0.25, s * 0.13, s * 0.09), '#33353d')
    c.fill(arc(x - s * 0.1, y + s * 0.32, s * 0.1, 0.2, math.pi - 0.2, s * 0.05)
           | arc(x + s * 0.1, y + s * 0.32, s * 0.1, 0.2, math.pi - 0.2, s * 0.05), '#33353d')
    c.fill(circle(x - s * 0.62, y + s * 0.3, s * 0.13), '#ffb0b8', 0.7, soft=3)
    c.fill(circle(x + s * 0.62, y + s * 0.3, s * 0.13), '#ffb0b8', 0.7, soft=3)


def theme_bamboo(c, rng):
    c.vertical([(0, '#f1faec'), (768, '#e1f3d8')])
    for row, y in enumerate(range(24, H + 40, 56)):
        off = 32 if row % 2 else 0
        for x in range(off + 16, W + 40, 64):
            c.fill(circle(x, y, 11), '#d3edc6', 0.8, soft=1.5)
    bamboo(c, 34, -20, H + 20, 26)
    bamboo(c, 92, 150, H + 20, 20, col='#8fd07a')
    bamboo(c, 196, 300, H + 20, 18, col='#9ad684')
    bamboo(c, 1006, -20, H + 20, 18, col='#a6dc90')
    for x, y, a, n, col in [(34, 120, -0.3, 4, '#5cae55'), (34, 420, 0.1, 3, '#4e9a4a'),
                            (92, 260, -0.4, 3, '#6cbc5e'), (92, 540, 0.3, 4, '#5cae55'),
                            (196, 380, -0.5, 3, '#6cbc5e'), (34, 260, math.pi + 0.4, 2, '#5cae55'),
                            (1006, 180, math.pi - 0.2, 3, '#7cc36a'), (196, 610, -0.2, 3, '#4e9a4a')]:
        bamboo_leaves(c, x, y, a, n, col)
    c.fill(below_curve(0, W, 700, lambda X: 736 + 10 * np.sin(X / 70.0) + 5 * np.sin(X / 23.0)),
           '#a9dc92', soft=1.5)
    panda(c, 150, 690, 52)
    for x, y in scatter(rng, 12, box=(0, 560, W, 740)):
        bamboo_leaves(c, x, y, rng.uniform(-0.6, 0.6), 1, '#8fd07a')
    c.calm('#f7fdf4', grid=0.55, right=0.68, sample=0.1)


THEMES = [theme_sky, theme_meadow, theme_sea, theme_night, theme_rainbow,
          theme_autumn, theme_snow, theme_underwater, theme_sunrise, theme_bamboo]


def render(index):
    c = Canvas()
    THEMES[index](c, np.random.RandomState(1000 + index))
    return c.img


def main(argv):
    if len(argv) != 2:
        sys.stderr.write('usage: gen_themes.py OUTDIR\n')
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    for i in range(len(THEMES)):
        data = bmp_bytes(render(i))
        path = os.path.join(outdir, 'charming%d.bmp' % (i + 1))
        tmp = path + '.tmp'
        with open(tmp, 'wb') as f:
            f.write(data)
        os.replace(tmp, path)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
