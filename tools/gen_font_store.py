#!/usr/bin/python3
"""Build the stroke font and the character store of the program folder.

Inputs
  --hanzi DIR       node_modules/hanzi-writer-data (one <char>.json per character)
  --orders FILE     cnchar-order's stroke letters, dumped by dump_cnchar_order.js
  --types FILE      data/stroketypes.tsv
  --overrides FILE  data/stroke_overrides.tsv
  --order-overrides FILE  data/order_overrides.tsv
Outputs
  --font FILE       TrueType font, one closed contour per stroke
  --license FILE    the Arphic Public License text that goes beside the font
  --store FILE      SQLite store: bishun(hanzi, bishun, bihuamc)

The font covers every character of the source that GBK can encode (all 6,763
hanzi of GB2312 and about 2,800 more). Inside a glyph, contours are ordered by
where the stroke sits (top edge, then left edge), as in a real Kai font, so
that the store's stroke order is a real permutation of contour numbers:
  bishun  item k = 1-based number of the contour written k-th
  bihuamc item k = stroke-type code of contour k (contour order), or the empty
          text when cnchar-order lacks the character or counts its strokes
          differently.
Both are decimal items separated by commas, without a trailing comma.

Run with Debian's /usr/bin/python3 (python3-fonttools). The output is the same
byte for byte on every run with the same inputs.
"""

import argparse
import json
import multiprocessing
import os
import shutil
import sqlite3
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import strokedata  # noqa: E402

from fontTools.fontBuilder import FontBuilder  # noqa: E402
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphCoordinates  # noqa: E402
from fontTools.ttLib.tables import ttProgram  # noqa: E402

FAMILY = "Quvo Kai"
PS_NAME = "QuvoKai-Regular"
VERSION = "1.000"
# Fixed so that the font is the same on every build (head.created/modified
# count seconds since 1904-01-01): 2026-12-01 00:00:00 UTC.
FONT_TIMESTAMP = 3878928000
NOTICE_DATE = "December 2026"

UPEM = 1024
ASCENT = 900
DESCENT = 124
ADVANCE = 1024


def gbk_char(c):
    try:
        return len(c.encode("gbk")) == 2
    except UnicodeEncodeError:
        return False


def source_chars(hanzi_dir):
    chars = []
    for name in os.listdir(hanzi_dir):
        if not name.endswith(".json"):
            continue
        c = name[:-5]
        if len(c) == 1 and gbk_char(c):
            chars.append(c)
    chars.sort()
    return chars


_HANZI_DIR = None
_ORDER_OVERRIDES = {}


def _init(hanzi_dir, order_overrides):
    global _HANZI_DIR, _ORDER_OVERRIDES
    _HANZI_DIR = hanzi_dir
    _ORDER_OVERRIDES = order_overrides


def build_char(c):
    """One character -> (char, compiled glyph, glyph metrics, position of each
    written stroke among the contours, medians in writing order).

    The glyph is compiled here, in the worker, with its bounds worked out from
    the integer points, so that the main process only strings bytes together.
    """
    with open(os.path.join(_HANZI_DIR, c + ".json"), encoding="utf-8") as f:
        data = json.load(f)
    written = _ORDER_OVERRIDES.get(c)
    if written is not None:
        if len(written) != len(data["strokes"]):
            raise SystemExit("order_overrides.tsv: %s has %d strokes" % (c, len(data["strokes"])))
        data = {key: [data[key][k] for k in written] for key in ("strokes", "medians")}
    contours = []
    for n, d in enumerate(data["strokes"]):
        try:
            contours.append(strokedata.path_to_contour(d))
        except strokedata.PathError as e:
            raise SystemExit("%s stroke %d: %s" % (c, n + 1, e))
    order = strokedata.position_order(contours)  # order[k] = stroke shown as contour k
    pos = [0] * len(order)
    for k, w in enumerate(order):
        pos[w] = k
    glyph_data, metrics = compile_glyph([contours[w] for w in order])
    return c, glyph_data, metrics, pos, data["medians"]


def compile_glyph(contours):
    """Contours -> (glyf record bytes, (xMin, yMin, xMax, yMax, points, contours))."""
    g = Glyph()
    coords = []
    flags = []
    ends = []
    for pts in contours:
        for x, y, on in pts:
            coords.append((x, y))
            flags.append(1 if on else 0)
        ends.append(len(coords) - 1)
    g.numberOfContours = len(contours)
    g.coordinates = GlyphCoordinates(coords)
    g.flags = bytearray(flags)
    g.endPtsOfContours = ends
    g.program = ttProgram.Program()
    g.program.fromBytecode(b"")
    xs = [p[0] for p in coords]
    ys = [p[1] for p in coords]
    g.xMin, g.yMin, g.xMax, g.yMax = min(xs), min(ys), max(xs), max(ys)
    data = g.compile(None, recalcBBoxes=False)
    return data, (g.xMin, g.yMin, g.xMax, g.yMax, len(coords), len(contours))


def notdef_glyph():
    # An open box: outer ring clockwise, inner ring counter-clockwise.
    outer = [(100, -124, True), (100, 900, True), (924, 900, True), (924, -124, True)]
    inner = [(160, -64, True), (864, -64, True), (864, 840, True), (160, 840, True)]
    return compile_glyph([outer, inner])


def build_font(results, font_path):
    """Assemble the font from compiled glyphs. The font-wide boxes and maxima
    that fontTools would find by decoding every glyph again are filled in
    from the glyph metrics instead."""
    # The ASCII space is half an em wide, as in any CJK font; the ideographic space a whole em.
    names = [".notdef", "space", "uni3000"]
    notdef = notdef_glyph()
    compiled = {".notdef": notdef, "space": (b"", None), "uni3000": (b"", None)}
    cmap = {0x20: "space", 0x3000: "uni3000"}
    for c, data, metrics, _, _ in results:
        name = "uni%04X" % ord(c)
        names.append(name)
        compiled[name] = (data, metrics)
        cmap[ord(c)] = name

    fb = FontBuilder(UPEM, isTTF=True)
    fb.font.recalcBBoxes = False
    fb.font.recalcTimestamp = False
    fb.setupGlyphOrder(names)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf({name: Glyph(compiled[name][0]) for name in names}, calcGlyphBounds=False)
    hmtx = {}
    boxes = [m for _, m in compiled.values() if m is not None]
    for name in names:
        m = compiled[name][1]
        hmtx[name] = (ADVANCE // 2 if name == "space" else ADVANCE, m[0] if m else 0)
    fb.setupHorizontalMetrics(hmtx)
    fb.setupHorizontalHeader(
        ascent=ASCENT, descent=-DESCENT, lineGap=0,
        advanceWidthMax=ADVANCE,
        minLeftSideBearing=min(m[0] for m in boxes),
        minRightSideBearing=min(ADVANCE - m[2] for m in boxes),
        xMaxExtent=max(m[2] for m in boxes))
    fb.setupMaxp()
    maxp = fb.font["maxp"]
    maxp.maxPoints = max(m[4] for m in boxes)
    maxp.maxContours = max(m[5] for m in boxes)
    maxp.maxCompositePoints = maxp.maxCompositeContours = 0
    maxp.maxComponentElements = maxp.maxComponentDepth = 0
    notice = (
        "Modified in %s by the Quvo project: every glyph was rebuilt from the "
        "per-stroke outlines of the Make Me a Hanzi data (npm package "
        "hanzi-writer-data 2.0.1), which were taken from fonts by Arphic "
        "Technology; each stroke is now one closed contour, cubic curves were "
        "converted to quadratic ones, all contours run clockwise and are "
        "ordered by the position of the stroke in the character." % NOTICE_DATE)
    fb.setupNameTable({
        "copyright": "Copyright (C) 1999 Arphic Technology Co., Ltd. "
                     "Modified in %s by the Quvo project." % NOTICE_DATE,
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": "%s %s" % (FAMILY, VERSION),
        "fullName": FAMILY,
        "version": "Version %s" % VERSION,
        "psName": PS_NAME,
        "description": notice,
        "licenseDescription":
            "Distributed under the Arphic Public License, whose text "
            "(ARPHICPL.TXT) ships with this font. There is NO WARRANTY.",
    }, mac=False)
    fb.setupOS2(
        version=4,
        achVendID="QUVO",
        usWeightClass=400,
        fsType=0,
        sTypoAscender=ASCENT,
        sTypoDescender=-DESCENT,
        sTypoLineGap=0,
        usWinAscent=ASCENT,
        usWinDescent=DESCENT,
        sxHeight=0,
        sCapHeight=ASCENT,
        fsSelection=0x40,          # REGULAR
        ulUnicodeRange1=0,
        ulUnicodeRange2=(1 << (59 - 32)) | (1 << (48 - 32)),  # CJK ideographs, CJK punctuation
        ulCodePageRange1=1 << 18,  # code page 936 (simplified Chinese)
        ulCodePageRange2=0,
    )
    fb.setupPost(keepGlyphNames=False)
    fb.setupHead(unitsPerEm=UPEM, created=FONT_TIMESTAMP, modified=FONT_TIMESTAMP,
                 fontRevision=float(VERSION),
                 xMin=min(m[0] for m in boxes), yMin=min(m[1] for m in boxes),
                 xMax=max(m[2] for m in boxes), yMax=max(m[3] for m in boxes),
                 flags=0x0003)  # baseline at y=0, left side bearing = xMin
    tmp = font_path + ".tmp"
    fb.save(tmp)
    os.replace(tmp, font_path)


def written_codes(c, letters, medians, letter_map, overrides, codes_by_name):
    """The type codes of one character's strokes in writing order: the rules
    of stroketypes.tsv, then the overrides; None when a letter is unknown."""
    codes = [strokedata.stroke_code(letters, w, medians[w], letter_map) for w in range(len(letters))]
    names = {code: name for name, code in codes_by_name.items()}
    for stroke, name, rules, line in overrides.get(c, []):
        if not 1 <= stroke <= len(codes) or names.get(codes[stroke - 1]) != rules:
            raise SystemExit("stroke_overrides.tsv:%d: %s stroke %d is not named %s by the rules"
                             % (line, c, stroke, rules))
        codes[stroke - 1] = codes_by_name[name]
    return None if None in codes else codes


def build_store(results, orders, letter_map, overrides, codes_by_name, store_path):
    """Writes the store. Returns (typed, untyped for disagreement): the characters
    with stroke types, and those whose names do not fit their outlines' directions
    (the two sources list their strokes in different orders), left without types."""
    rows = []
    typed = 0
    disagree = []
    names = {code: name for name, code in codes_by_name.items()}
    for c, _, metrics, pos, medians in results:
        n = metrics[5]
        bishun = ",".join(str(pos[w] + 1) for w in range(n))
        letters = orders.get(c)
        types = ""
        written = None
        if letters is not None and len(letters) == n:
            written = written_codes(c, letters, medians, letter_map, overrides, codes_by_name)
        if written is not None and not all(
                strokedata.fits_direction(names[code], medians[w]) for w, code in enumerate(written)):
            if c in overrides:
                raise SystemExit("stroke_overrides.tsv: %s: its names do not fit its strokes" % c)
            disagree.append(c)
            written = None
        if written is not None:
            codes = [None] * n
            for w, code in enumerate(written):
                codes[pos[w]] = code
            types = ",".join(str(code) for code in codes)
            typed += 1
        elif c in overrides:
            raise SystemExit("stroke_overrides.tsv: %s has no stroke types to override" % c)
        rows.append((c, bishun, types))

    tmp = store_path + ".tmp"
    if os.path.exists(tmp):
        os.remove(tmp)
    db = sqlite3.connect(tmp)
    db.execute("PRAGMA journal_mode=OFF")
    db.execute("CREATE TABLE bishun (hanzi TEXT PRIMARY KEY NOT NULL, "
               "bishun TEXT NOT NULL, bihuamc TEXT NOT NULL)")
    db.executemany("INSERT INTO bishun VALUES (?, ?, ?)", rows)
    db.commit()
    db.execute("VACUUM")
    db.close()
    os.replace(tmp, store_path)
    return typed, disagree


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--hanzi", required=True)
    ap.add_argument("--orders", required=True)
    ap.add_argument("--types", required=True)
    ap.add_argument("--overrides", required=True)
    ap.add_argument("--order-overrides", required=True)
    ap.add_argument("--font", required=True)
    ap.add_argument("--license", required=True)
    ap.add_argument("--store", required=True)
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    args = ap.parse_args()

    t0 = time.monotonic()
    rows, letter_map = strokedata.load_stroke_types(args.types)
    codes_by_name = {name: code for code, name, _, _ in rows}
    overrides = strokedata.load_overrides(args.overrides, codes_by_name)
    order_overrides = strokedata.load_order_overrides(args.order_overrides)
    with open(args.orders, encoding="utf-8") as f:
        orders = json.load(f)
    unknown = sorted({l for v in orders.values() for l in v} - set(letter_map))
    if unknown:
        raise SystemExit("cnchar letters missing from %s: %s" % (args.types, " ".join(unknown)))

    chars = source_chars(args.hanzi)
    if args.jobs > 1:
        with multiprocessing.Pool(args.jobs, _init, (args.hanzi, order_overrides)) as pool:
            results = pool.map(build_char, chars, chunksize=64)
    else:
        _init(args.hanzi, order_overrides)
        results = [build_char(c) for c in chars]

    for p in (args.font, args.license, args.store):
        os.makedirs(os.path.dirname(os.path.abspath(p)), exist_ok=True)
    build_font(results, args.font)
    shutil.copyfile(os.path.join(args.hanzi, "ARPHICPL.TXT"), args.license)
    typed, disagree = build_store(results, orders, letter_map, overrides, codes_by_name, args.store)
    missing = sorted(set(order_overrides) - {r[0] for r in results})
    if missing:
        raise SystemExit("order_overrides.tsv: not in the source: " + "".join(missing))

    gb2312 = sum(1 for c, *_ in results if _in_gb2312(c))
    contours = sum(r[2][5] for r in results)
    print("stroke font: %d characters (%d of GB2312, %d more of GBK), %d contours, %d bytes"
          % (len(results), gb2312, len(results) - gb2312, contours, os.path.getsize(args.font)))
    print("store: %d rows, %d with stroke types (%d in a corrected writing order); "
          "%d left without types, their names and strokes in different orders: %s; %.1f s"
          % (len(results), typed, len(order_overrides), len(disagree), "".join(disagree),
             time.monotonic() - t0))


def _in_gb2312(c):
    try:
        c.encode("gb2312")
        return True
    except UnicodeEncodeError:
        return False


if __name__ == "__main__":
    main()
