#!/usr/bin/python3
"""Write the textbooks and texts of the program folder.

  book/<name>.txt        from data/books/<name>.txt (UTF-8, one page a line,
                         "#" lines are notes), written in GBK with CR LF
  book/通用规范一级字.txt   the first-level characters of the 2013 table of
                         general standard characters (Unihan kTGH 1..3500), in
                         the table's order, five to a page
  首页帮助.txt            from data/首页帮助.txt, in GBK with CR LF
  first.htm              data/first.htm as it is (UTF-8)

The program reads a textbook page by page (whitespace-separated tokens) and
takes characters from a page two bytes at a time, starting at a byte in
0xA1..0xFD; so every character of a book must be a GB2312 character (lead byte
0xB0..0xF7, trail byte 0xA1..0xFE), and at most five go on a page. Each must
also have a glyph in the stroke font, a row in the store and a line in the
pinyin table; a hand-written book that breaks any of this stops the build.
The two first-level characters outside GB2312 (啰 and 瞭) are left out of the
generated book, which therefore holds 3,498 characters.
"""

import argparse
import bz2
import glob
import os
import shutil
import sqlite3
import sys

from fontTools.ttLib import TTFont

STANDARD_BOOK = "通用规范一级字"
LEVEL1 = 3500
PAGE = 5


def gb2312_pair(c):
    try:
        b = c.encode("gb2312")
    except UnicodeEncodeError:
        return None
    if len(b) == 2 and 0xA1 <= b[0] <= 0xFD and 0xA1 <= b[1] <= 0xFE:
        return b
    return None


class Coverage:
    """What a book character needs: a glyph, a store row, a reading."""

    def __init__(self, font, store, pinyin):
        self.glyphs = set(TTFont(font, lazy=True)["cmap"].getBestCmap())
        db = sqlite3.connect("file:%s?mode=ro" % store, uri=True)
        self.rows = {r[0] for r in db.execute("SELECT hanzi FROM bishun")}
        db.close()
        self.readings = set()
        with open(pinyin, "rb") as f:
            for line in f:
                self.readings.add(line.split(b",", 1)[0])

    def problems(self, c):
        out = []
        b = gb2312_pair(c)
        if b is None:
            return ["not a GB2312 character"]
        if ord(c) not in self.glyphs:
            out.append("no glyph")
        if c not in self.rows:
            out.append("no store row")
        if b not in self.readings:
            out.append("no reading")
        return out


def read_source_book(path):
    pages = []
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            for token in line.split():
                pages.append((n, token))
    return pages


def write_gbk(path, lines):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        for line in lines:
            f.write(line.encode("gbk") + b"\r\n")
    os.replace(tmp, path)


def standard_characters(other_mappings):
    opener = bz2.open if other_mappings.endswith(".bz2") else open
    order = {}
    with opener(other_mappings, "rt", encoding="utf-8") as f:
        for line in f:
            if "\tkTGH\t" not in line:
                continue
            cp, _, value = line.rstrip("\n").split("\t")
            for item in value.split():
                year, _, number = item.partition(":")
                if year == "2013":
                    order[int(number)] = chr(int(cp[2:], 16))
    missing = [n for n in range(1, LEVEL1 + 1) if n not in order]
    if missing:
        sys.exit("kTGH lacks numbers %s..." % missing[:5])
    return [order[n] for n in range(1, LEVEL1 + 1)]


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--data", required=True, help="the data/ folder")
    ap.add_argument("--unihan-other", required=True, help="Unihan_OtherMappings.txt[.bz2]")
    ap.add_argument("--font", required=True)
    ap.add_argument("--store", required=True)
    ap.add_argument("--pinyin", required=True)
    ap.add_argument("--out", required=True, help="the program folder")
    args = ap.parse_args()

    cov = Coverage(args.font, args.store, args.pinyin)
    book_dir = os.path.join(args.out, "book")
    os.makedirs(book_dir, exist_ok=True)

    errors = []
    for src in sorted(glob.glob(os.path.join(args.data, "books", "*.txt"))):
        name = os.path.basename(src)
        pages = read_source_book(src)
        for n, token in pages:
            if len(token) > PAGE:
                errors.append("%s:%d: page %s has more than %d characters" % (name, n, token, PAGE))
            for c in token:
                for p in cov.problems(c):
                    errors.append("%s:%d: %s: %s" % (name, n, c, p))
        write_gbk(os.path.join(book_dir, name), [t for _, t in pages])
        print("book %s: %d pages" % (name, len(pages)))

    chars = standard_characters(args.unihan_other)
    kept = []
    for c in chars:
        if cov.problems(c):
            print("book %s.txt: left out %s (%s)"
                  % (STANDARD_BOOK, c, ", ".join(cov.problems(c))))
        else:
            kept.append(c)
    pages = ["".join(kept[i:i + PAGE]) for i in range(0, len(kept), PAGE)]
    lines = [" ".join(pages[i:i + 5]) for i in range(0, len(pages), 5)]
    write_gbk(os.path.join(book_dir, STANDARD_BOOK + ".txt"), lines)
    print("book %s.txt: %d pages, %d characters" % (STANDARD_BOOK, len(pages), len(kept)))

    with open(os.path.join(args.data, "首页帮助.txt"), encoding="utf-8") as f:
        help_lines = [line.rstrip("\n") for line in f]
    if any(" " in line or "\t" in line for line in help_lines):
        errors.append("首页帮助.txt: the help dialog breaks lines at white space; use none")
    write_gbk(os.path.join(args.out, "首页帮助.txt"), help_lines)

    shutil.copyfile(os.path.join(args.data, "first.htm"), os.path.join(args.out, "first.htm"))

    if errors:
        sys.exit("\n".join(errors))


if __name__ == "__main__":
    main()
