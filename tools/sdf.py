"""Signed distance functions shared by the picture and icon generators.

Each maker returns fn(X, Y) -> distance to the shape's edge, negative inside, evaluated on
numpy coordinate grids; results keep the grids' floating-point type.
"""

import math

import numpy as np


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)


def circle(cx, cy, r):
    return lambda X, Y: np.sqrt((X - cx) ** 2 + (Y - cy) ** 2) - r


def ellipse(cx, cy, rx, ry, ang=0.0):
    ca, sa = math.cos(ang), math.sin(ang)
    k = min(rx, ry)

    def fn(X, Y):
        dx, dy = X - cx, Y - cy
        u = dx * ca + dy * sa
        v = -dx * sa + dy * ca
        return (np.sqrt((u / rx) ** 2 + (v / ry) ** 2) - 1.0) * k
    return fn


def capsule(x0, y0, x1, y1, r):
    ex, ey = x1 - x0, y1 - y0
    ll = ex * ex + ey * ey or 1e-12

    def fn(X, Y):
        wx, wy = X - x0, Y - y0
        t = np.clip((wx * ex + wy * ey) / ll, 0.0, 1.0)
        return np.sqrt((wx - ex * t) ** 2 + (wy - ey * t) ** 2) - r
    return fn


def polygon(pts):
    def fn(X, Y):
        d = None
        s = np.ones(np.broadcast(X, Y).shape, np.result_type(X, Y))
        for i in range(len(pts)):
            ax, ay = pts[i]
            bx, by = pts[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = X - ax, Y - ay
            ll = ex * ex + ey * ey or 1e-12
            t = np.clip((wx * ex + wy * ey) / ll, 0.0, 1.0)
            dd = (wx - ex * t) ** 2 + (wy - ey * t) ** 2
            d = dd if d is None else np.minimum(d, dd)
            c1 = Y >= ay
            c2 = Y < by
            c3 = ex * wy > ey * wx
            s = np.where((c1 & c2 & c3) | (~c1 & ~c2 & ~c3), -s, s)
        return s * np.sqrt(d)
    return fn


def round_box(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def fn(X, Y):
        qx = np.abs(X - cx) - hx
        qy = np.abs(Y - cy) - hy
        return (np.sqrt(np.maximum(qx, 0) ** 2 + np.maximum(qy, 0) ** 2)
                + np.minimum(np.maximum(qx, qy), 0) - r)
    return fn


def arc_points(cx, cy, r, a0, a1, n):
    """n + 1 points along the arc from angle a0 to a1."""
    return [(cx + r * math.cos(a0 + (a1 - a0) * i / n), cy + r * math.sin(a0 + (a1 - a0) * i / n))
            for i in range(n + 1)]
