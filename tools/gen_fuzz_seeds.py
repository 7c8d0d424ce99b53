#!/usr/bin/python3
"""Writes the seed corpora of the fuzz targets.

Usage: gen_fuzz_seeds.py CORPUS_DIR OUT_DIR

Every folder of CORPUS_DIR (fuzz/corpus) is one target's hand-written seeds; each file
becomes one seed file in OUT_DIR/<target>/, by its extension:

  NAME.hex   hex digits, two per byte; white space is ignored, and '#' starts a comment
             that runs to the end of its line (inputs the fuzzer found are kept this way)
  NAME.gbk   UTF-8 text written out in GBK (GB18030), as textbooks and the pinyin table are
  NAME.http  an HTTP request: its line feeds become CR LF
  other      copied byte for byte

The binary formats also get seeds drawn here, small but whole examples of each kind the
reader knows: bitmaps of every depth, cursors and animated cursors, settings and progress
records, glyph outline streams. Nothing depends on the time or the machine.
"""

import os
import re
import struct
import sys

import numpy as np

from gen_cursors import ani_bytes, chunk, cur_bytes


# ---------------------------------------------------------------------------
# Hand-written seeds.

def hex_bytes(text):
    digits = re.sub(r'\s+', '', re.sub(r'#[^\n]*', '', text))
    return bytes.fromhex(digits)


def hand_written(path):
    name = os.path.basename(path)
    stem, ext = os.path.splitext(name)
    with open(path, 'rb') as f:
        raw = f.read()
    if ext == '.hex':
        return stem, hex_bytes(raw.decode('utf-8'))
    if ext == '.gbk':
        return stem, raw.decode('utf-8').encode('gb18030')
    if ext == '.http':
        return stem, raw.replace(b'\r\n', b'\n').replace(b'\n', b'\r\n')
    return name, raw


# ---------------------------------------------------------------------------
# Bitmaps: a 3 x 2 picture at every depth the reader takes.

PALETTE = [(0, 0, 0), (255, 255, 255), (200, 30, 40), (20, 160, 60)]


def dib_rows(index_rows, bits):
    """Packs rows of values (palette indices or 16/32-bit words) into padded rows."""
    out = b''
    for row in index_rows:
        if bits <= 8:
            acc, n, data = 0, 0, bytearray()
            for v in row:
                acc = (acc << bits) | v
                n += bits
                if n == 8:
                    data.append(acc)
                    acc, n = 0, 0
            if n:
                data.append(acc << (8 - n))
        elif bits == 16:
            data = b''.join(struct.pack('<H', v) for v in row)
        elif bits == 24:
            data = b''.join(bytes(v) for v in row)
        else:
            data = b''.join(struct.pack('<I', v) for v in row)
        data = bytes(data)
        out += data + b'\0' * ((-len(data)) % 4)
    return out


def bmp(width, height, bits, rows, table=b'', compression=0, colours_used=0):
    """A .bmp file; rows are given bottom row first (top row first for a negative height)."""
    pixels = dib_rows(rows, bits)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, colours_used, 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + table + pixels


def table(entries, count):
    colours = [PALETTE[i % len(PALETTE)] for i in range(entries)]
    return b''.join(bytes((b, g, r, 0)) for r, g, b in colours[:count])


def bitmap_seeds():
    idx = [[0, 1, 2], [3, 2, 1]]
    rgb = [[(0, 0, 255), (0, 255, 0), (255, 0, 0)], [(255, 255, 255), (0, 0, 0), (9, 99, 199)]]
    return {
        'mono': bmp(3, 2, 1, [[0, 1, 0], [1, 0, 1]], table(2, 2)),
        'four-bit': bmp(3, 2, 4, idx, table(16, 16)),
        'eight-bit-short-table': bmp(3, 2, 8, idx, table(4, 4), colours_used=4),
        'rgb555': bmp(3, 2, 16, [[0x7C00, 0x03E0, 0x001F], [0x7FFF, 0, 0x4210]]),
        'rgb565-bitfields': bmp(3, 2, 16, [[0xF800, 0x07E0, 0x001F], [0xFFFF, 0, 0x8410]],
                                struct.pack('<3I', 0xF800, 0x07E0, 0x001F), compression=3),
        'rgb24': bmp(3, 2, 24, rgb),
        'rgb24-top-down': bmp(3, -2, 24, rgb),
        'rgb32': bmp(3, 2, 32, [[0x00FF0000, 0x0000FF00, 0x000000FF], [0, 0x00FFFFFF, 0x00808080]]),
        'rgb32-bitfields': bmp(3, 2, 32, [[0xFF000000, 0x00FF0000, 0x0000FF00], [0, 1, 2]],
                               struct.pack('<3I', 0xFF000000, 0x00FF0000, 0x0000FF00),
                               compression=3),
    }


# ---------------------------------------------------------------------------
# Cursors: plain cursors and icons at each depth, and animated cursors.

def small_rgba(seed, size=4):
    """A size x size picture, half of it clear, the rest in steps of colour."""
    y, x = np.mgrid[0:size, 0:size]
    rgba = np.zeros((size, size, 4), np.uint8)
    rgba[..., 0] = (x * 60 + seed * 40) % 256
    rgba[..., 1] = (y * 60 + seed * 20) % 256
    rgba[..., 2] = 128
    rgba[..., 3] = np.where((x + y + seed) % 2 == 0, 255, 0)
    return rgba


def cursor_file(kind, bits, width, height, hotspot=(1, 1)):
    """A .cur (kind 2) or .ico (kind 1) file with an indexed or 24-bit picture and its mask."""
    colours = 1 << bits if bits <= 8 else 0
    values = [[(x + y) % max(colours, 1) for x in range(width)] for y in range(height)]
    if bits == 24:
        values = [[(40 * x, 40 * y, 200) for x in range(width)] for y in range(height)]
    xor = dib_rows(values, bits)
    mask = dib_rows([[(x + y) % 2 for x in range(width)] for y in range(height)], 1)
    dib = struct.pack('<IiiHHIIiiII', 40, width, 2 * height, 1, bits, 0, len(xor) + len(mask),
                      0, 0, 0, 0)
    image = dib + table(colours, colours) + xor + mask
    hot_x, hot_y = hotspot if kind == 2 else (1, bits)
    entry = struct.pack('<BBBBHHII', width, height, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    return struct.pack('<HHH', 0, kind, 1) + entry + image


def ani_seeds():
    frames = [small_rgba(i) for i in range(3)]
    seeds = {
        'ani-plain': ani_bytes('plain', frames, (1, 2), 6),
        'ani-rates-and-sequence': ani_bytes('timed', frames, (0, 0), 10, rates=[5, 20, 5, 9],
                                            seq=[0, 1, 2, 1]),
        'ani-sequence': ani_bytes('seq', frames[:2], (3, 3), 4, seq=[1, 0, 1]),
        'cur-32': cur_bytes(small_rgba(5), (2, 1)),
    }
    for bits in (1, 4, 8, 24):
        seeds['cur-%d' % bits] = cursor_file(2, bits, 5, 3)
        seeds['ico-%d' % bits] = cursor_file(1, bits, 4, 4)
    # An animated cursor whose frames are an icon and a cursor of other depths.
    header = chunk(b'anih', struct.pack('<9I', 36, 2, 2, 0, 0, 0, 0, 8, 1))
    icons = chunk(b'LIST', b'fram' + chunk(b'icon', cursor_file(1, 8, 4, 4))
                  + chunk(b'icon', cursor_file(2, 1, 5, 3)))
    seeds['ani-mixed-depths'] = chunk(b'RIFF', b'ACON' + header + icons)
    return seeds


# ---------------------------------------------------------------------------
# Settings and progress records.

def path_field(path):
    raw = path.encode('gb18030')
    return raw + b'\0' * (128 - len(raw))


def settings_record(switches, paths, speed, mode):
    return (struct.pack('<8i', *switches) + b''.join(path_field(p) for p in paths)
            + struct.pack('<ii', speed, mode))


def settings_seeds():
    shipped = ['theme/charming1.bmp', 'bmusic/start1.mp3', 'bmusic/right1.mp3',
               'bmusic/error1.mp3', 'book/基础篇.txt']
    whole = ['/home/小明/quvo/' + p for p in shipped]
    full = settings_record([1] * 8, shipped, 1000, 1)
    field_without_end = bytearray(full)
    field_without_end[32:160] = b'x' * 128
    return {
        'first-run': settings_record([1, 1, 1, 1, 0, 1, 1, 1], shipped, 1000, 1),
        'whole-paths': settings_record([0, 1, 0, 1, 0, 1, 0, 1], whole, 250, 0),
        'out-of-range': settings_record([2, -1, 0, 7, 1, 1, 0, 65536], ['', '', '', '', ''],
                                        99999, 5),
        'path-without-end': bytes(field_without_end),
        'short-file': full[:300],
    }


def progress_record(path, position):
    return path_field(path) + struct.pack('<i', position)


def progress_seeds():
    two = progress_record('book/基础篇.txt', 12) + progress_record('book/动物.txt', 3)
    return {
        'two-books': two,
        'cut-short': two + progress_record('/media/usb/我的书.txt', 40)[:70],
        'same-book-twice': progress_record('book/a.txt', 1) + progress_record('book/a.txt', 2),
        'long-path': progress_record('d/' * 63 + 'x', 5),
    }


# ---------------------------------------------------------------------------
# Glyph outline streams: the walker's four bytes of placing, then the stream.

LINE, QSPLINE, CSPLINE = 1, 2, 3


def fixed(v):
    return int(v * 65536) & 0xFFFFFFFF


def contour(start, records):
    body = b''
    for kind, points in records:
        body += struct.pack('<HH', kind, len(points))
        body += b''.join(struct.pack('<II', fixed(x), fixed(y)) for x, y in points)
    header = struct.pack('<IIII', 16 + len(body), 24, fixed(start[0]), fixed(start[1]))
    return header + body


def outline_seeds():
    placing = bytes([200, 10, 250, 0])
    square = contour((10, -10), [(LINE, [(90, -10), (90, -90), (10, -90), (10, -10)])])
    curve = contour((20, -20), [(QSPLINE, [(50, -80), (80, -20)]),
                                (QSPLINE, [(70, -10), (40, -5), (20, -20)]),
                                (LINE, [(20, -20)])])
    spline = contour((0, 0), [(CSPLINE, [(10, -40), (30, -40), (40, 0)]), (7, [(1, 1)])])
    return {
        'one-square': placing + square,
        'three-contours': placing + square + curve + spline,
        'cut-short': placing + (square + curve)[:-11],
        'half-units': bytes([0, 0, 0, 0]) + contour((0.5, -0.5), [(LINE, [(-0.5, 0.25)])]),
    }


# ---------------------------------------------------------------------------

def pinyin_seeds():
    table = ('啊,ā,1,a\r\n阿,ā,1,a\r\n阿,ē,1,e\r\n吕,lǚ,3,lv\r\n行,xíng,2,xing\r\n'
             '行,háng,2,hang\r\n')
    return {
        'found-first': ('阿\n' + table).encode('gb18030'),
        'found-last': ('行\n' + table).encode('gb18030'),
        'not-there': ('一\n' + table).encode('gb18030'),
        'empty-line-ends': ('吕\n啊,ā,1,a\r\n\r\n吕,lǚ,3,lv\r\n').encode('gb18030'),
    }


GENERATED = {
    'bitmap': bitmap_seeds,
    'ani': ani_seeds,
    'settings': settings_seeds,
    'progress': progress_seeds,
    'outline': outline_seeds,
    'pinyin': pinyin_seeds,
}


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write('usage: gen_fuzz_seeds.py CORPUS_DIR OUT_DIR\n')
        return 2
    corpus, out = argv[1], argv[2]
    targets = set(GENERATED)
    if os.path.isdir(corpus):
        targets |= {t for t in os.listdir(corpus) if os.path.isdir(os.path.join(corpus, t))}
    for target in sorted(targets):
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in GENERATED.get(target, dict)().items():
            write(folder, name, data)
        source = os.path.join(corpus, target)
        if os.path.isdir(source):
            for entry in sorted(os.listdir(source)):
                write(folder, *hand_written(os.path.join(source, entry)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
