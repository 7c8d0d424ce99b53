#!/usr/bin/python3
"""Stroke names as the store gives them, for people who check the data.

    stroke_report.py --store hz.db --types data/stroketypes.tsv
                     (--chars 山出子 | --book book/通用规范一级字.txt)
                     [--before OLD_hz.db] [--list] [--out FILE]

Prints how many strokes of the characters carry each stroke name (with
--before, the counts of an older store beside them, and the characters whose
names changed), and with --list each character's stroke names in writing order.
A book is read as the program reads it: GBK, pages separated by whitespace.
"""

import argparse
import collections
import os
import sqlite3
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import stroketable  # noqa: E402


def written_names(store, names):
    """{character: [stroke name in writing order]} for the characters with types."""
    db = sqlite3.connect("file:%s?mode=ro" % store, uri=True)
    out = {}
    for c, bishun, bihuamc in db.execute("SELECT hanzi, bishun, bihuamc FROM bishun"):
        if not bihuamc:
            continue
        types = [int(t) for t in bihuamc.split(",")]
        order = [int(k) for k in bishun.split(",") if k]
        out[c] = [names[types[k - 1]] for k in order]
    db.close()
    return out


def book_characters(path):
    with open(path, "rb") as f:
        text = f.read().decode("gbk")
    return [c for c in text if "\u4e00" <= c <= "\u9fff"]


def report(chars, after, before, listing):
    lines = []
    counts = collections.Counter(n for c in chars for n in after.get(c, []))
    old = collections.Counter(n for c in chars for n in before.get(c, [])) if before else None
    untyped = [c for c in chars if c not in after]
    lines.append("%d characters, %d without stroke types%s" % (
        len(chars), len(untyped), ": " + "".join(untyped) if untyped else ""))
    for name in sorted(set(counts) | set(old or {}), key=lambda n: -(counts[n] or 0)):
        if old is None:
            lines.append("%-8s %6d" % (name, counts[name]))
        else:
            lines.append("%-8s %6d -> %6d" % (name, old[name], counts[name]))
    if before:
        changed = [c for c in chars if before.get(c) != after.get(c)]
        lines.append("names changed in %d characters: %s" % (len(changed), "".join(changed)))
    if listing:
        for c in chars:
            lines.append("%s %s" % (c, " ".join(after.get(c, ["(no types)"]))))
    return "\n".join(lines) + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--store", required=True)
    ap.add_argument("--types", required=True)
    ap.add_argument("--chars")
    ap.add_argument("--book")
    ap.add_argument("--before")
    ap.add_argument("--list", action="store_true")
    ap.add_argument("--out")
    args = ap.parse_args()
    if bool(args.chars) == bool(args.book):
        ap.error("give --chars or --book")
    names = {code: name for code, name, _, _ in stroketable.read_rows(args.types)}
    chars = list(args.chars) if args.chars else book_characters(args.book)
    text = report(chars, written_names(args.store, names),
                  written_names(args.before, names) if args.before else None, args.list)
    if args.out:
        with open(args.out, "w", encoding="utf-8") as f:
            f.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main()
