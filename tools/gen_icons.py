#!/usr/bin/python3
"""Draws the program's icons as RGBA PNG files.

Usage: gen_icons.py OUTDIR
       gen_icons.py --hicolor NAME OUTDIR

  icon138.png      32 x 32   program icon: a pencil over a red practice grid
  icon138_256.png  256 x 256 the same, large
  icon145.png      64 x 64   previous page: a big arrow pointing left
  icon148.png      64 x 64   next page: a big arrow pointing right
  icon156.png      16 x 16   minimise: a short bar
  icon157.png      16 x 16   close: an X
  icon182.png      32 x 32   balloon tip: a smiling star
  icon134.png      32 x 32   start-up help: an open book

With --hicolor, the program icon alone in the sizes of the desktop's icon
theme, as OUTDIR/SIZExSIZE/apps/NAME.png (the layout of share/icons/hicolor).

Every icon is drawn from signed distance shapes on a supersampled canvas,
then averaged down, which gives smooth edges at small sizes. The PNG writer
below needs only zlib; no timestamps are written, so the output is the same
on every run.
"""

import math
import os
import struct
import sys
import zlib

import numpy as np

from sdf import arc_points, capsule, circle, ellipse, polygon, round_box, smoothstep


def rgb(c):
    return np.array([int(c[i:i + 2], 16) / 255.0 for i in (1, 3, 5)], np.float64)


# ---------------------------------------------------------------------------
# Signed distance shapes in icon units (0..1 across the icon), negative inside.

def arc(cx, cy, r, a0, a1, th, n=16):
    pts = arc_points(cx, cy, r, a0, a1, n)
    return union(*[capsule(*pts[i], *pts[i + 1], th / 2) for i in range(n)])


def union(*fns):
    def fn(X, Y):
        d = fns[0](X, Y)
        for f in fns[1:]:
            d = np.minimum(d, f(X, Y))
        return d
    return fn


def intersect(*fns):
    def fn(X, Y):
        d = fns[0](X, Y)
        for f in fns[1:]:
            d = np.maximum(d, f(X, Y))
        return d
    return fn


def grow(f, r):
    return lambda X, Y: f(X, Y) - r


def moved(f, dx, dy):
    return lambda X, Y: f(X - dx, Y - dy)


def outline(f, th):
    return lambda X, Y: np.abs(f(X, Y)) - th / 2


# ---------------------------------------------------------------------------

class Icon:
    def __init__(self, size, ss):
        self.size = size
        self.ss = ss
        n = size * ss
        self.n = n
        self.px = 1.0 / size                    # one icon pixel in icon units
        c = (np.arange(n) + 0.5) / n
        self.X = c[None, :]
        self.Y = c[:, None]
        self.col = np.zeros((n, n, 3))          # premultiplied colour
        self.alpha = np.zeros((n, n))

    def coverage(self, f, soft=0.0):
        d = f(self.X, self.Y) * self.n
        if soft:
            return smoothstep(0.5 + soft * self.ss, -0.5, d)
        return np.clip(0.5 - d, 0.0, 1.0)

    def fill(self, f, color, alpha=1.0, soft=0.0):
        """Paints shape f over the icon; colour may be a function of (X, Y)."""
        a = self.coverage(f, soft) * alpha
        col = color(self.X, self.Y) if callable(color) else rgb(color)
        self.col = col * a[..., None] + self.col * (1.0 - a[..., None])
        self.alpha = a + self.alpha * (1.0 - a)

    def pixels(self):
        s, n = self.ss, self.size
        a = self.alpha.reshape(n, s, n, s).mean(axis=(1, 3))
        c = self.col.reshape(n, s, n, s, 3).mean(axis=(1, 3))
        out = np.zeros((n, n, 4))
        nz = a > 1e-6
        out[nz, :3] = c[nz] / a[nz, None]
        out[..., 3] = a
        q = np.clip(np.floor(out * 255.0 + 0.5), 0, 255).astype(np.uint8)
        q[q[..., 3] == 0] = 0
        return q


def vgrad(top, bottom, y0=0.0, y1=1.0):
    t0, t1 = rgb(top), rgb(bottom)
    return lambda X, Y: t0 + (t1 - t0) * np.clip((Y - y0) / (y1 - y0), 0, 1)[..., None] \
        * np.ones_like(X)[..., None]


def png_bytes(q):
    h, w, _ = q.shape
    raw = b''.join(b'\x00' + q[y].tobytes() for y in range(h))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9))
            + chunk(b'IEND', b''))


# ---------------------------------------------------------------------------
# The icons.

def along(ox, oy, ux, uy, pts):
    """Maps points given as (distance along the axis u, across it) to the icon."""
    vx, vy = -uy, ux
    return [(ox + ux * a + vx * b, oy + uy * a + vy * b) for a, b in pts]


def program_icon(size):
    ic = Icon(size, 8 if size <= 64 else 4)
    px = ic.px
    # The practice grid: white paper, red border, lighter guide lines.
    m = 0.07
    bw = max(0.055, 1.6 * px)
    paper = round_box(m, m, 1 - m, 1 - m, 0.06)
    ic.fill(moved(paper, 0.015, 0.025), '#000000', 0.22, soft=2)
    ic.fill(paper, '#fffdf4')
    guide = max(0.018, 0.9 * px)
    lines = [capsule(0.5, m, 0.5, 1 - m, guide / 2), capsule(m, 0.5, 1 - m, 0.5, guide / 2)]
    if size >= 64:
        lines += [capsule(m, m, 1 - m, 1 - m, guide / 2), capsule(m, 1 - m, 1 - m, m, guide / 2)]
        dash = 0.055

        def dashed(X, Y):
            t = np.maximum(np.abs(X - 0.5), np.abs(Y - 0.5))
            on = ((np.floor(t / dash) % 2) == 0) & (t > 0.08)
            return np.where(on, union(*lines)(X, Y), 1.0)
        ic.fill(intersect(dashed, paper), '#f08a8a')
    else:
        ic.fill(intersect(union(*lines), paper), '#f4a0a0')
    ic.fill(outline(grow(paper, -bw / 2), bw), '#e53935')
    # An ink stroke the pencil has just written.
    # An ink stroke that the pencil is just finishing: thick at the start, thinning to the tip.
    tx, ty = 0.50, 0.66
    ink = union(circle(0.2, 0.655, 0.05), capsule(0.2, 0.655, tx - 0.05, ty + 0.005, 0.04),
                capsule(tx - 0.05, ty + 0.005, tx, ty, 0.028))
    ic.fill(ink, '#2b2b3a')
    # The pencil, from its point (lower left) up to the eraser (upper right).
    ux, uy = math.cos(-math.pi / 4), math.sin(-math.pi / 4)
    ox, oy = tx, ty
    w = 0.085
    L = 0.57
    tip, cone, ferrule, eraser = 0.05, 0.19, L - 0.17, L - 0.09
    shadow = polygon(along(ox, oy, ux, uy, [(0, 0), (cone, w), (L, w), (L, -w), (cone, -w)]))
    ic.fill(moved(grow(shadow, 0.01), 0.03, 0.04), '#000000', 0.25, soft=3)
    ic.fill(polygon(along(ox, oy, ux, uy, [(0, 0), (cone, w), (cone, -w)])), '#f2cf9a')
    ic.fill(polygon(along(ox, oy, ux, uy, [(0, 0), (tip, w * tip / cone), (tip, -w * tip / cone)])),
            '#3a3a48')
    body = polygon(along(ox, oy, ux, uy, [(cone, w), (ferrule, w), (ferrule, -w), (cone, -w)]))
    ic.fill(body, '#ffc531')
    ic.fill(polygon(along(ox, oy, ux, uy, [(cone, w), (ferrule, w), (ferrule, w * 0.35),
                                           (cone, w * 0.35)])), '#ffe27a')
    ic.fill(polygon(along(ox, oy, ux, uy, [(cone, -w * 0.4), (ferrule, -w * 0.4), (ferrule, -w),
                                           (cone, -w)])), '#f2a019')
    ic.fill(polygon(along(ox, oy, ux, uy, [(ferrule, w), (eraser, w), (eraser, -w),
                                           (ferrule, -w)])), '#b9c2cc')
    ic.fill(polygon(along(ox, oy, ux, uy, [(ferrule, w), (eraser, w), (eraser, w * 0.3),
                                           (ferrule, w * 0.3)])), '#e3e8ee')
    ex0, ey0 = along(ox, oy, ux, uy, [(eraser, 0)])[0]
    ex1, ey1 = along(ox, oy, ux, uy, [(L - w * 0.6, 0)])[0]
    erase = intersect(capsule(ex0, ey0, ex1, ey1, w),
                      polygon(along(ox, oy, ux, uy, [(eraser, w * 1.2), (L + w, w * 1.2),
                                                     (L + w, -w * 1.2), (eraser, -w * 1.2)])))
    ic.fill(erase, '#ff8fa8')
    # A thin dark edge round the pencil keeps it crisp on the paper.
    whole = union(polygon(along(ox, oy, ux, uy, [(0, 0), (cone, w), (eraser, w), (eraser, -w),
                                                 (cone, -w)])), erase)
    ic.fill(outline(whole, max(0.012, 0.7 * px)), '#7a4a1a', 0.8)
    return ic.pixels()


def arrow_icon(size, right):
    ic = Icon(size, 8)
    # A chunky arrow pointing left; mirrored for "next". The dark edge is the
    # shape grown outward, which also rounds its corners.
    pts = [(0.12, 0.50), (0.49, 0.16), (0.49, 0.35), (0.86, 0.35), (0.86, 0.65), (0.49, 0.65),
           (0.49, 0.84)]
    if right:
        pts = [(1 - x, y) for x, y in pts]
    body = polygon(pts)
    edge = 0.055
    ic.fill(moved(grow(body, edge), 0.02, 0.035), '#000000', 0.28, soft=3)
    ic.fill(grow(body, edge), '#1c8236')
    ic.fill(grow(body, 0.005), vgrad('#a6f26e', '#22aa46', 0.18, 0.84))
    gloss = intersect(grow(body, -0.03), ellipse(0.5, 0.3, 0.5, 0.16))
    ic.fill(gloss, '#ffffff', 0.45)
    return ic.pixels()


def minimise_icon():
    ic = Icon(16, 8)
    bar = round_box(3 / 16, 10 / 16, 13 / 16, 13 / 16, 0.05)   # on whole pixels: crisp
    ic.fill(grow(bar, 0.06), '#ffffff', 0.5)
    ic.fill(bar, '#2f5fb3')
    return ic.pixels()


def close_icon():
    ic = Icon(16, 8)
    x = union(capsule(0.25, 0.25, 0.75, 0.75, 0.085), capsule(0.25, 0.75, 0.75, 0.25, 0.085))
    ic.fill(grow(x, 0.06), '#ffffff', 0.5)
    ic.fill(x, '#d93636')
    return ic.pixels()


def star_icon():
    ic = Icon(32, 8)
    pts = []
    for i in range(10):
        rr = 0.47 if i % 2 == 0 else 0.24
        a = -math.pi / 2 + math.pi * i / 5
        pts.append((0.5 + rr * math.cos(a), 0.54 + rr * math.sin(a)))
    r = 0.045
    star = grow(polygon(pts), -r)
    star = grow(star, r)
    ic.fill(moved(star, 0.02, 0.03), '#000000', 0.22, soft=2)
    ic.fill(grow(star, 0.03), '#e58a00')
    ic.fill(grow(star, -0.015), vgrad('#fff27a', '#ffc21f', 0.1, 0.95))
    ic.fill(intersect(grow(star, -0.05), ellipse(0.45, 0.34, 0.14, 0.08, -0.4)), '#ffffff', 0.5)
    eye = '#5a3510'
    ic.fill(ellipse(0.41, 0.52, 0.04, 0.06), eye)
    ic.fill(ellipse(0.59, 0.52, 0.04, 0.06), eye)
    ic.fill(arc(0.5, 0.58, 0.1, math.pi * 0.2, math.pi * 0.8, 0.045), eye)
    ic.fill(circle(0.31, 0.63, 0.05), '#ff8a6a', 0.55)
    ic.fill(circle(0.69, 0.63, 0.05), '#ff8a6a', 0.55)
    return ic.pixels()


def book_icon(size=32):
    """The start-up help's picture: an open book with lines of text."""
    ic = Icon(size, 8)
    left = round_box(0.06, 0.2, 0.5, 0.86, 0.05)
    right = round_box(0.5, 0.2, 0.94, 0.86, 0.05)
    ic.fill(moved(union(left, right), 0.015, 0.03), '#000000', 0.22, soft=2)
    ic.fill(left, '#fffdf4')
    ic.fill(right, '#fff6e0')
    ic.fill(capsule(0.5, 0.2, 0.5, 0.86, 0.025), '#e53935')
    for y in (0.36, 0.5, 0.64):
        ic.fill(capsule(0.14, y, 0.42, y, 0.022), '#4f7fd9')
        ic.fill(capsule(0.58, y, 0.86, y, 0.022), '#4f7fd9')
    return ic.pixels()


def icons():
    return [
        ('icon138.png', lambda: program_icon(32)),
        ('icon138_256.png', lambda: program_icon(256)),
        ('icon145.png', lambda: arrow_icon(64, right=False)),
        ('icon148.png', lambda: arrow_icon(64, right=True)),
        ('icon156.png', minimise_icon),
        ('icon157.png', close_icon),
        ('icon182.png', star_icon),
        ('icon134.png', book_icon),
    ]


# The sizes a desktop looks for in the hicolor icon theme.
HICOLOR_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def hicolor_icons(name):
    return [('%dx%d/apps/%s.png' % (size, size, name), lambda size=size: program_icon(size))
            for size in HICOLOR_SIZES]


def write_files(argv, usage, entries):
    """Writes each (name, bytes-maker) of `entries` into the folder argv[1], each file
    replaced whole; a name may hold subfolders. The generators' common main."""
    if len(argv) != 2:
        sys.stderr.write(usage)
        return 2
    outdir = argv[1]
    for name, make in entries:
        path = os.path.join(outdir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        tmp = path + '.tmp'
        with open(tmp, 'wb') as f:
            f.write(make())
        os.replace(tmp, path)
    return 0


def main(argv):
    usage = 'usage: gen_icons.py OUTDIR\n       gen_icons.py --hicolor NAME OUTDIR\n'
    drawings = icons()
    if len(argv) == 4 and argv[1] == '--hicolor':
        drawings = hicolor_icons(argv[2])
        argv = [argv[0], argv[3]]
    return write_files(argv, usage,
                       [(name, lambda draw=draw: png_bytes(draw())) for name, draw in drawings])


if __name__ == '__main__':
    sys.exit(main(sys.argv))
