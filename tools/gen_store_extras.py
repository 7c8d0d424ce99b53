#!/usr/bin/python3
"""Add the stroke names and the radicals to the character store.

Inputs
  --store FILE      hz.db as gen_font_store.py writes it (table bishun); changed in place
  --types FILE      data/stroketypes.tsv
  --unihan FILE     Unihan_IRGSources.txt (Debian package unicode-data; .bz2 is read too)
  --radicals FILE   CJKRadicals.txt (same package)
Tables added (replaced when they are there already)
  bihuaming(code INTEGER PRIMARY KEY, name TEXT)   stroke-type code -> its name
  bushou(hanzi TEXT PRIMARY KEY, bushou TEXT)      radical of every character of bishun

The radical is the first value of the character's kRSUnicode, "radical.strokes":
the radical number names a row of CJKRadicals.txt, whose unified ideograph is the
radical as a character (85 -> 水). An apostrophe after the number ("120'") stands
for the simplified form of the radical, which has its own row (120' -> 纟); where
that row is missing the traditional row serves. A character without kRSUnicode
gets no row.

The store is written to a temporary file and moved over the old one, so an
interrupted run leaves the old store whole. The output is the same byte for byte
on every run with the same inputs.
"""

import argparse
import os
import re
import shutil
import sqlite3
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import stroketable  # noqa: E402

_RS = re.compile(r"^(\d+)('*)\.")


def read_radicals(path):
    """CJKRadicals.txt -> {"85": "水", "120'": "纟", ...}."""
    radicals = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = [x.strip() for x in line.split(";")]
            if len(fields) != 3:
                raise SystemExit("%s: bad line %r" % (path, line))
            radicals[fields[0]] = chr(int(fields[2], 16))
    return radicals


def read_radical_strokes(path):
    """kRSUnicode of every character -> {code point: (number, apostrophes)}, first value."""
    values = {}
    for cp, _, value in stroketable.unihan_values(path, {"kRSUnicode"}):
        m = _RS.match(value.split()[0])
        if not m:
            raise SystemExit("%s: bad kRSUnicode %r for U+%04X" % (path, value, cp))
        values[cp] = (m.group(1), m.group(2))
    return values


def radical_of(c, strokes, radicals):
    rs = strokes.get(ord(c)) if len(c) == 1 else None
    if rs is None:
        return None
    number, marks = rs
    return radicals.get(number + marks) or radicals.get(number)


def build(store, types, unihan, radicals_path):
    names = [(code, name) for code, name, _, _ in stroketable.read_rows(types)]
    radicals = read_radicals(radicals_path)
    strokes = read_radical_strokes(unihan)

    tmp = store + ".extras.tmp"
    shutil.copyfile(store, tmp)
    db = sqlite3.connect(tmp)
    db.execute("PRAGMA journal_mode=OFF")
    characters = sorted(row[0] for row in db.execute("SELECT hanzi FROM bishun"))
    rows = []
    missing = []
    for c in characters:
        radical = radical_of(c, strokes, radicals)
        if radical is None:
            missing.append(c)
        else:
            rows.append((c, radical))
    db.execute("DROP TABLE IF EXISTS bihuaming")
    db.execute("DROP TABLE IF EXISTS bushou")
    db.execute("CREATE TABLE bihuaming (code INTEGER PRIMARY KEY, name TEXT NOT NULL)")
    db.execute("CREATE TABLE bushou (hanzi TEXT PRIMARY KEY NOT NULL, bushou TEXT NOT NULL)")
    db.executemany("INSERT INTO bihuaming VALUES (?, ?)", names)
    db.executemany("INSERT INTO bushou VALUES (?, ?)", rows)
    db.commit()
    db.execute("VACUUM")
    db.close()
    os.replace(tmp, store)
    return len(names), len(rows), missing


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--store", required=True)
    ap.add_argument("--types", required=True)
    ap.add_argument("--unihan", required=True)
    ap.add_argument("--radicals", required=True)
    args = ap.parse_args()
    names, radicals, missing = build(args.store, args.types, args.unihan, args.radicals)
    print("%s: %d stroke names, %d radicals" % (args.store, names, radicals))
    if missing:
        print("no radical for %d characters: %s" % (len(missing), "".join(missing[:40])))


if __name__ == "__main__":
    main()
