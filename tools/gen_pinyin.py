#!/usr/bin/python3
"""Build the pinyin table that the program carries as a resource.

Input:  Unihan_Readings.txt (Debian package unicode-data; .bz2 is read too)
Output: one line per reading, GBK, lines ended by CR LF:

    character,toned pinyin,tone digit,toneless pinyin

for example "阿,ā,1,a". Every GBK hanzi with a reading is listed. A character's
first line is the reading kMandarin lists first (the usual reading in the
mainland); its further readings follow directly after it, taken in this order
from kMandarin, kTGHZ2013, kXHC1983 and kHanyuPinlu (modern readings), with
kHanyuPinyin only for a character that none of those gives a reading.
Characters are ordered by the toneless pinyin of their first line, then by
their GBK code.

Characters listed in data/first_readings.tsv take their first reading from
there instead: the reading a child meets first, where Unihan puts a neutral-tone
or a rarer reading first. Each must be one that Unihan gives.

Toned pinyin uses the letters of GBK's pinyin row (A8A1..A8C0). A reading
that needs a letter outside it (ê̄, m̀, ...) is left out. Tone digit: 1..4,
0 for the neutral tone. Toneless pinyin is ASCII, with v for ü.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import stroketable  # noqa: E402

# GBK's pinyin row, as code page 936 maps it. Python's gb18030 codec follows
# the 2000 edition, where ḿ is a four-byte code, so the row is spelt out here
# instead of trusting a codec; ǹ and ḿ are also missing from glibc's GBK.
PINYIN_ROW = "āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüêɑḿńňǹɡ"
_ROW_BYTES = {ch: bytes([0xA8, 0xA1 + i]) for i, ch in enumerate(PINYIN_ROW)}



def read_first_readings(path):
    """data/first_readings.tsv -> {character: reading}: the readings a child
    meets first, for characters whose Unihan order puts another one first."""
    table = {}
    for n, (c, reading, _) in stroketable.data_rows(path, 3):
        if len(c) != 1 or c in table:
            raise SystemExit("%s:%d: %s is not one character listed once" % (path, n, c))
        table[c] = reading
    return table


# letter -> (toneless letter, tone)
_MARKS = {}
for base, marked in (("a", "āáǎà"), ("e", "ēéěè"), ("i", "īíǐì"), ("o", "ōóǒò"),
                     ("u", "ūúǔù"), ("v", "ǖǘǚǜ")):
    for tone, ch in enumerate(marked, 1):
        _MARKS[ch] = (base, tone)
_MARKS.update({"ü": ("v", 0), "ê": ("e", 0), "ḿ": ("m", 2), "ń": ("n", 2),
               "ň": ("n", 3), "ǹ": ("n", 4)})

FIELDS = ("kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinlu")
FALLBACK = "kHanyuPinyin"


def split_readings(field, value):
    """The readings of one Unihan field, in the order given."""
    out = []
    if field in ("kMandarin",):
        out = value.split()
    elif field == "kHanyuPinlu":
        out = [item.split("(")[0] for item in value.split()]
    else:  # "location:reading,reading" items (kTGHZ2013, kXHC1983, kHanyuPinyin)
        for item in value.split():
            _, _, readings = item.partition(":")
            out += readings.split(",")
    return [r for r in out if r]


def encode_reading(reading):
    """-> (toned GBK bytes, tone digit, toneless ASCII) or None if it cannot
    be written with GBK's letters."""
    toned = bytearray()
    toneless = []
    tone = 0
    for ch in reading:
        if "a" <= ch <= "z":
            toned += ch.encode("ascii")
            toneless.append(ch)
        elif ch in _ROW_BYTES:
            toned += _ROW_BYTES[ch]
            base, t = _MARKS[ch]
            toneless.append(base)
            if t:
                if tone:
                    return None  # two tone marks
                tone = t
        else:
            return None
    return bytes(toned), tone, "".join(toneless)


def gbk_code(c):
    try:
        b = c.encode("gbk")
    except UnicodeEncodeError:
        return None
    return b if len(b) == 2 else None


def read_unihan(path):
    fields = {}
    for cp, field, value in stroketable.unihan_values(path, set(FIELDS) | {FALLBACK}):
        fields.setdefault(cp, {})[field] = value
    return fields


def build(unihan_path, first_readings):
    entries = []
    unknown = set(first_readings)  # (toneless of first line, gbk code, [line bytes])
    for cp, fields in read_unihan(unihan_path).items():
        c = chr(cp)
        code = gbk_code(c)
        if code is None:
            continue
        readings = []
        for field in FIELDS:
            if field in fields:
                readings += split_readings(field, fields[field])
        if not readings and FALLBACK in fields:
            readings = split_readings(FALLBACK, fields[FALLBACK])
        first = first_readings.get(c)
        if first is not None:
            if first not in (r.lower() for r in readings):
                raise SystemExit("first reading %s of %s: Unihan does not give it" % (first, c))
            unknown.discard(c)
            readings = [first] + [r for r in readings if r.lower() != first]
        lines = []
        seen = set()
        for r in readings:
            r = r.lower()
            if r in seen:
                continue
            seen.add(r)
            enc = encode_reading(r)
            if enc is None:
                continue
            toned, tone, toneless = enc
            lines.append((toneless, code + b"," + toned + b"," + str(tone).encode()
                          + b"," + toneless.encode() + b"\r\n"))
        if lines:
            entries.append((lines[0][0], code, [ln for _, ln in lines]))
    if unknown:
        raise SystemExit("first readings for characters without readings: " + "".join(sorted(unknown)))
    entries.sort(key=lambda e: (e[0], e[1]))
    return entries


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--unihan", required=True, help="Unihan_Readings.txt[.bz2]")
    ap.add_argument("--first-readings", required=True, help="data/first_readings.tsv")
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    entries = build(args.unihan, read_first_readings(args.first_readings))
    data = b"".join(ln for e in entries for ln in e[2])
    longest = max(len(ln) for e in entries for ln in e[2])
    if longest > 39 + 1:  # the program copies a line without its LF into 40 bytes
        sys.exit("pinyin line too long: %d bytes" % longest)
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    tmp = args.out + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, args.out)
    lines = sum(len(e[2]) for e in entries)
    multi = sum(1 for e in entries if len(e[2]) > 1)
    print("pinyin table: %d lines for %d characters (%d with more than one reading)"
          % (lines, len(entries), multi))


if __name__ == "__main__":
    main()
