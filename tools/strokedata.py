"""Stroke outlines and stroke types: the parts shared by the generators.

hanzi-writer-data gives, per character, one SVG path per stroke (in writing
order) and one centre line ("median") per stroke. Its coordinates are font
units of a 1024 em with y growing upwards, the baseline at y = 0, the top of
the em at 900 and the bottom at -124, so they go into the font unchanged.
"""

import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import stroketable  # noqa: E402

from fontTools.cu2qu import curve_to_quadratic
from fontTools.misc.bezierTools import calcQuadraticBounds

# Largest distance, in font units, between a cubic piece of the source and the
# quadratic spline that replaces it.
CU2QU_MAX_ERR = 1.0

_TOKEN = re.compile(r"[MLQCZ]|-?\d+(?:\.\d+)?")


class PathError(ValueError):
    pass


def parse_path(d):
    """One stroke's SVG path -> (start point, [(kind, points)]).

    kind is "L" (points: end), "Q" (control, end) or "C" (control, control,
    end). The path must be a single closed subpath, which every stroke of the
    source is; anything else is refused rather than guessed at.
    """
    toks = _TOKEN.findall(d)
    if not toks or toks[0] != "M":
        raise PathError("path does not start with M")
    i = 1

    def point():
        nonlocal i
        x, y = float(toks[i]), float(toks[i + 1])
        i += 2
        return (x, y)

    start = point()
    segs = []
    closed = False
    while i < len(toks):
        cmd = toks[i]
        i += 1
        if cmd == "L":
            segs.append(("L", (point(),)))
        elif cmd == "Q":
            segs.append(("Q", (point(), point())))
        elif cmd == "C":
            segs.append(("C", (point(), point(), point())))
        elif cmd == "Z":
            closed = True
            if i != len(toks):
                raise PathError("more than one subpath")
        else:
            raise PathError("unexpected path command %r" % cmd)
    if not closed:
        raise PathError("open path")
    return start, segs


def _same(a, b):
    return a[0] == b[0] and a[1] == b[1]


def path_to_contour(d):
    """One stroke's path -> a TrueType contour: [(x, y, on_curve)], integer
    coordinates, first point on the curve, the closing point not repeated,
    no zero-length segments, clockwise (TrueType's direction for filled
    areas, so overlapping strokes render as a union)."""
    start, segs = parse_path(d)

    # Quadratic splines in float coordinates: [(offcurve points, end point)].
    splines = []
    cur = start
    for kind, pts in segs:
        if kind == "L":
            splines.append(([], pts[0]))
        elif kind == "Q":
            splines.append(([pts[0]], pts[1]))
        else:
            q = curve_to_quadratic([cur, pts[0], pts[1], pts[2]], CU2QU_MAX_ERR)
            splines.append((list(q[1:-1]), pts[2]))
        cur = pts[-1]

    def rnd(p):
        return (int(math.floor(p[0] + 0.5)), int(math.floor(p[1] + 0.5)))

    # Round, then drop what rounding (or the source) left degenerate.
    cur = rnd(start)
    first = cur
    clean = []
    for offs, end in splines:
        offs = [rnd(p) for p in offs]
        end = rnd(end)
        # Repeated control points add nothing but zero-length pieces.
        dedup = []
        for p in offs:
            if not dedup or not _same(dedup[-1], p):
                dedup.append(p)
        offs = dedup
        # A control point lying on the start (or end) point makes the first
        # (or last) piece of the spline straight. TrueType would see two equal
        # neighbouring points there; write the straight piece as a line to the
        # spline's implied on-curve point instead.
        if offs and _same(offs[0], cur):
            if len(offs) == 1:
                offs = []
            else:
                mid = rnd(((offs[0][0] + offs[1][0]) / 2, (offs[0][1] + offs[1][1]) / 2))
                if not _same(mid, cur):
                    clean.append(([], mid))
                    cur = mid
                offs = offs[1:]
        tail = None
        if offs and _same(offs[-1], end):
            if len(offs) == 1:
                offs = []
            else:
                mid = rnd(((offs[-2][0] + offs[-1][0]) / 2, (offs[-2][1] + offs[-1][1]) / 2))
                if not _same(mid, end):
                    tail = end
                    end = mid
                offs = offs[:-1]
        for o, e in ((offs, end), ([], tail)):
            if e is None:
                continue
            if len(o) == 1 and (_same(o[0], cur) or _same(o[0], e)):
                o = []
            if not o and _same(e, cur):
                continue  # zero-length segment
            clean.append((o, e))
            cur = e

    # The contour closes by itself: a last segment that is a line back to the
    # start is implied, and a last curve ending on the start needs no end point.
    if clean and not clean[-1][0] and _same(clean[-1][1], first):
        clean.pop()
    points = [(first[0], first[1], True)]
    for n, (offs, end) in enumerate(clean):
        for p in offs:
            points.append((p[0], p[1], False))
        if n == len(clean) - 1 and _same(end, first):
            break
        points.append((end[0], end[1], True))
    if len(points) < 3:
        raise PathError("stroke collapses to fewer than three points")

    if signed_area(points) > 0:  # counter-clockwise with y up: turn it round
        points = [points[0]] + points[:0:-1]
    if signed_area(points) >= 0:
        raise PathError("stroke has no area")
    return points


def signed_area(points):
    """Shoelace area of the control polygon; positive = counter-clockwise
    with y up. The polygon of a TrueType contour's points turns the same way
    as its outline, which is all this is used for."""
    a = 0
    n = len(points)
    for k in range(n):
        x0, y0 = points[k][0], points[k][1]
        x1, y1 = points[(k + 1) % n][0], points[(k + 1) % n][1]
        a += x0 * y1 - x1 * y0
    return a / 2


def contour_bounds(points):
    """Exact bounds (xmin, ymin, xmax, ymax) of a TrueType contour's outline,
    curves included (not the control points)."""
    n = len(points)
    # Walk from the first on-curve point, expanding implied on-curve points.
    xs = []
    ys = []
    prev_on = (points[0][0], points[0][1])
    xs.append(prev_on[0])
    ys.append(prev_on[1])
    k = 1
    pending = None  # off-curve point waiting for its end
    while k <= n:
        x, y, on = points[k % n]
        if on:
            if pending is None:
                xs.append(x)
                ys.append(y)
            else:
                b = calcQuadraticBounds(prev_on, pending, (x, y))
                xs += [b[0], b[2]]
                ys += [b[1], b[3]]
                pending = None
            prev_on = (x, y)
        else:
            if pending is not None:
                mid = ((pending[0] + x) / 2, (pending[1] + y) / 2)
                b = calcQuadraticBounds(prev_on, pending, mid)
                xs += [b[0], b[2]]
                ys += [b[1], b[3]]
                prev_on = mid
            pending = (x, y)
        k += 1
    return (min(xs), min(ys), max(xs), max(ys))


def position_order(contours):
    """Contour numbers (0-based, writing order) sorted the way a Kai font
    stores its strokes: by the top edge of the stroke's box, highest first,
    then by its left edge; writing order breaks exact ties."""
    keyed = []
    for w, pts in enumerate(contours):
        xmin, _, _, ymax = contour_bounds(pts)
        keyed.append((-ymax, xmin, w))
    keyed.sort()
    return [w for _, _, w in keyed]


# ---------------------------------------------------------------- stroke types

def load_stroke_types(path):
    """Read the stroke-type table -> (rows, letter map).

    rows: [(code, name, letters, pinyin)] in code order.
    letter map: cnchar letter -> list of (code, name), one entry for a plain
    letter, two for a letter that is split by the stroke's shape.
    """
    rows = stroketable.read_rows(path)
    codes = [r[0] for r in rows]
    if codes != list(range(32)):
        raise ValueError("%s: codes must be 0..31 in order" % path)
    letters = {}
    for code, name, ls, _ in rows:
        for letter in ls:
            letters.setdefault(letter, []).append((code, name))
    for letter, targets in letters.items():
        if len(targets) == 2:
            if letter not in SPLITTERS:
                raise ValueError("%s: letter %s on two rows but no rule splits it"
                                 % (path, letter))
            names = {t[1] for t in targets}
            if names != set(SPLITTERS[letter][1:]):
                raise ValueError("%s: letter %s must stand for %s"
                                 % (path, letter, "/".join(SPLITTERS[letter][1:])))
        elif len(targets) > 2:
            raise ValueError("%s: letter %s on more than two rows" % (path, letter))
    return rows, letters


def hook_turns_back(median):
    """斜钩 or 卧钩: True when the hook turns back to the left (卧钩).

    The centre line of 卧钩 (心) ends 30 or more units left of its rightmost
    point; that of 斜钩 (戈) ends at its rightmost point or within 10 units.
    """
    xmax = max(p[0] for p in median)
    return xmax - median[-1][0] >= 20


def short_fall(median):
    """横撇 or 横钩: True when the stroke falls only a little after its corner
    (横钩), i.e. less than 0.3 of its horizontal run. The corner is the
    rightmost point of the centre line."""
    k = max(range(len(median)), key=lambda i: median[i][0])
    run = max(median[k][0] - median[0][0], 1)
    fall = median[k][1] - median[-1][1]
    return fall < 0.3 * run


def _turn_radius(median):
    """How wide the turn from going down to going right is: the larger of the
    horizontal and vertical distance between the end of the last downward piece
    of the centre line and the start of the first rightward piece after it;
    None when the line has no such pieces."""
    corner = None
    for i in range(len(median) - 1):
        dx, dy = median[i + 1][0] - median[i][0], median[i + 1][1] - median[i][1]
        if dy < 0 and abs(dx) <= 0.36 * -dy:
            corner = i + 1
    if corner is None:
        return None
    for i in range(corner, len(median) - 1):
        dx, dy = median[i + 1][0] - median[i][0], median[i + 1][1] - median[i][1]
        if dx > 0 and abs(dy) <= 0.36 * dx:
            a, b = median[corner], median[i]
            return max(abs(b[0] - a[0]), abs(a[1] - b[1]))
    return None


def _sharpest_turn(median):
    """The largest change of direction at one point of the centre line, in degrees."""
    best = 0.0
    for i in range(1, len(median) - 1):
        a = math.atan2(median[i][1] - median[i - 1][1], median[i][0] - median[i - 1][0])
        b = math.atan2(median[i + 1][1] - median[i][1], median[i + 1][0] - median[i][0])
        best = max(best, abs((b - a + math.pi) % (2 * math.pi) - math.pi))
    return math.degrees(best)


def sharp_corner(median):
    """竖折 or 竖弯: True for the corner of 竖折 (山, 出, 母).

    竖折 turns from down to right within less than 20 units (over the data
    0..19), or at one point by 90 degrees or more (the slanting 母 of 每, whose
    centre line has no downward piece to measure from); 竖弯 (四, 西, 酉) turns
    in a curve, 20 units and more, never by more than about 70 degrees at once.
    The few that the centre lines do not tell apart are in
    stroke_overrides.tsv."""
    radius = _turn_radius(median)
    return (radius is not None and radius < 20) or _sharpest_turn(median) >= 90


def _letter(letters, i):
    return letters[i] if 0 <= i < len(letters) else ""


def hook_of_zi(median, letters, i):
    """竖钩 or 弯钩: True for the 弯钩 of 子, 了, 孑 (and 丞, 亟, 函), which
    cnchar writes as 竖钩. Their 弯钩 follows the 横撇 the component starts with
    (e, g). Not so the 竖钩 of 予 (e k e g) and of 矛, the 竖钩 of 尔 after ⺈
    (s e g s), and that of 水 under 冖 (d e g)."""
    if _letter(letters, i - 1) != "e":
        return False
    before = _letter(letters, i - 2)
    if before == "k" and _letter(letters, i - 3) == "e":
        return False
    if before == "d" or (before == "s" and _letter(letters, i + 1) == "s"):
        return False
    return True


def short_hook(median, letters, i):
    """横撇 or 横钩: True for 横钩.

    The ⺈ of 欠 (s e s l), of 尔 (s e g s: 你, 称) and of 饣 (s e h) ends in a
    横钩 whose fall is as long as a 横撇's; the letters around it tell it.
    (The ⺈ of 角, 鱼, 免, 争, 色 is a 横撇.) Elsewhere the stroke's fall
    decides (short_fall)."""
    if _letter(letters, i - 1) == "s":
        after = _letter(letters, i + 1) + _letter(letters, i + 2)
        if after.startswith("h") or after in ("sl", "gs"):
            return True
    return short_fall(median)


def ear_or_nai(median, letters, i):
    """横折折折钩 or 横撇弯钩: True for the 横折折折钩 of 乃 and 𠃓 (仍, 汤, 杨,
    秀), which a 撇 follows; the ear 阝 is followed by its 竖."""
    return _letter(letters, i + 1) == "s"


def _by_shape(test):
    return lambda median, letters, i: test(median)


# letter -> (test, name when the test holds, name otherwise); a test is given
# the stroke's centre line, the character's letters and the stroke's place.
SPLITTERS = {
    "y": (_by_shape(hook_turns_back), "卧钩", "斜钩"),
    "e": (short_hook, "横钩", "横撇"),
    "b": (_by_shape(sharp_corner), "竖折", "竖弯"),
    "g": (hook_of_zi, "弯钩", "竖钩"),
    "w": (ear_or_nai, "横折折折钩", "横撇弯钩"),
}


# Where a stroke of each name sets off, as an angle in degrees (0 = right, -90 =
# down, y up as in the source): a single bar by its chord from start to end, a
# compound stroke by its first leg (the chord over the first 12 % of its centre
# line). Generous ranges: they catch a name paired with a stroke of another
# kind, not a stroke drawn at a slant.
SIMPLE_STROKES = {"横", "竖", "撇", "点", "捺", "提"}
_SET_OFF = {"横": (-35, 35), "竖": (-140, -40), "撇": (-215, -50), "点": (-185, 5),
            "捺": (-85, 15), "提": (5, 80), "斜钩": (-90, -10), "卧钩": (-95, 25),
            "弯钩": (-160, -20)}


def _set_off_range(name):
    if name in _SET_OFF:
        return _SET_OFF[name]
    if name.startswith("横"):
        return (-100, 45)
    if name.startswith("竖"):
        return (-160, -20)
    return (-225, -30)  # 撇折, 撇点


def set_off_angle(name, median):
    """The angle at which a stroke named `name` sets off along `median`."""
    x0, y0 = median[0]
    if name in SIMPLE_STROKES:
        x1, y1 = median[-1]
    else:
        total = sum(math.hypot(b[0] - a[0], b[1] - a[1]) for a, b in zip(median, median[1:]))
        run = 0.0
        for a, b in zip(median, median[1:]):
            run += math.hypot(b[0] - a[0], b[1] - a[1])
            x1, y1 = b
            if run >= 0.12 * total:
                break
    return math.degrees(math.atan2(y1 - y0, x1 - x0))


def fits_direction(name, median):
    """True when the stroke's centre line runs the way a stroke of that name does."""
    lo, hi = _set_off_range(name)
    a = set_off_angle(name, median)
    return any(lo <= x <= hi for x in (a, a - 360, a + 360))


def load_order_overrides(path):
    """order_overrides.tsv -> {character: [0-based source stroke in writing order]}."""
    table = {}
    for n, (c, order_text, _) in stroketable.data_rows(path, 3):
        order = [int(k) - 1 for k in order_text.split(",")]
        if len(c) != 1 or sorted(order) != list(range(len(order))):
            raise ValueError("%s:%d: %s is not an order of the strokes" % (path, n, order_text))
        table[c] = order
    return table


def load_overrides(path, names):
    """stroke_overrides.tsv -> {character: [(stroke, name, rules name, line)]}."""
    table = {}
    for n, (c, stroke, name, rules, _) in stroketable.data_rows(path, 5):
        if len(c) != 1:
            raise ValueError("%s:%d: %s is not one character" % (path, n, c))
        for nm in (name, rules):
            if nm not in names:
                raise ValueError("%s:%d: %s is not a stroke name" % (path, n, nm))
        table.setdefault(c, []).append((int(stroke), name, rules, n))
    return table


def stroke_code(letters, i, median, letter_map):
    """Type code of stroke i (writing order) from its cnchar letter, its place
    among the character's letters and its centre line; None for an unknown
    letter."""
    letter = letters[i]
    targets = letter_map.get(letter)
    if not targets:
        return None
    if len(targets) == 1:
        return targets[0][0]
    test, name_if, name_else = SPLITTERS[letter]
    want = name_if if test(median, letters, i) else name_else
    for code, name in targets:
        if name == want:
            return code
    return None
