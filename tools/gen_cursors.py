#!/usr/bin/python3
"""Draws the program's animated cursors as RIFF "ACON" files (.ani).

Usage: gen_cursors.py OUTDIR

  normal.ani  the pointer: a chunky arrow whose colour pulses gently from sky
              blue to lilac and back (8 frames, every step the same length)
  move.ani    carrying a stroke piece: four round arrows that breathe out and
              in around an orange button (4 frames played forth and back
              through a "seq " chunk)
  on.ani      over a stroke piece: a pointing hand and a twinkling sparkle
              (6 frames, a "rate" chunk holds the quiet frames longer)

Each frame is a 32 x 32 cursor (.cur) with its hotspot, a 32-bit BGRA DIB
followed by its AND mask, drawn with the icon generator's supersampled
canvas. An .ani file is a RIFF list: an INFO list with the cursor's name, the
36-byte "anih" header, the optional "rate" and "seq " chunks, then a LIST
"fram" of "icon" chunks, each one whole .cur file. Display times are in
jiffies (1/60 s). Nothing depends on the time or the machine, so every run
writes the same bytes.
"""

import math
import os
import struct
import sys

import numpy as np

from gen_icons import Icon, grow, intersect, moved, rgb, union, write_files
from sdf import capsule, circle, ellipse, polygon, round_box

SIZE = 32
AF_ICON = 1
AF_SEQUENCE = 2


def px(*values):
    """Pixel coordinates on the 32 x 32 cursor to canvas units."""
    return [v / SIZE for v in values]


def mix(a, b, t):
    c = rgb(a) + (rgb(b) - rgb(a)) * t
    return '#' + ''.join('%02x' % int(round(v * 255)) for v in c)


def pulse(i, n):
    """0 .. 1 .. 0 over n frames, smooth."""
    return 0.5 - 0.5 * math.cos(2 * math.pi * i / n)


def shadow(ic, shape):
    ic.fill(moved(grow(shape, 0.6 / SIZE), 1.0 / SIZE, 1.5 / SIZE), '#000000', 0.28, soft=2)


# ---------------------------------------------------------------------------
# The pictures.

ARROW_TIP = (3, 2)


def arrow_frame(i, n):
    pts = [(0, 0), (0, 16), (4, 12), (7, 19), (9, 18), (6, 11), (11, 11)]
    x0, y0 = ARROW_TIP
    body = polygon([tuple(px(x0 + 1.3 * x, y0 + 1.3 * y)) for x, y in pts])
    ic = Icon(SIZE, 8)
    shadow(ic, body)
    ic.fill(grow(body, 1.3 / SIZE), '#24306b')
    t = pulse(i, n)
    ic.fill(body, mix('#45b4ff', '#b58cff', t))
    shine = intersect(grow(body, -1.6 / SIZE), ellipse(*px(6, 9), 2.2 / SIZE, 6.5 / SIZE, 0.35))
    ic.fill(shine, '#ffffff', 0.35 + 0.3 * t)
    return ic.pixels()


MOVE_CENTRE = (16.5, 16.5)


def move_frame(i, n):
    cx, cy = MOVE_CENTRE
    reach = 12.5 + 1.5 * pulse(i, 2 * (n - 1))   # frames 0..n-1 go out; the sequence comes back
    parts = []
    for k in range(4):
        a = k * math.pi / 2
        ux, uy = math.cos(a), math.sin(a)
        vx, vy = -uy, ux
        tip = (cx + ux * reach, cy + uy * reach)
        base = (cx + ux * (reach - 5.5), cy + uy * (reach - 5.5))
        head = polygon([tuple(px(*tip)),
                        tuple(px(base[0] + vx * 3.6, base[1] + vy * 3.6)),
                        tuple(px(base[0] - vx * 3.6, base[1] - vy * 3.6))])
        parts += [grow(head, 0.6 / SIZE), capsule(*px(cx, cy, *base), 1.8 / SIZE)]
    arrows = union(*parts)
    button = circle(*px(cx, cy), 4.2 / SIZE)
    ic = Icon(SIZE, 8)
    shadow(ic, union(arrows, button))
    ic.fill(grow(arrows, 1.2 / SIZE), '#1f5a2e')
    ic.fill(arrows, mix('#5fd36b', '#9cef7a', pulse(i, 2 * (n - 1))))
    ic.fill(grow(button, 1.2 / SIZE), '#7a3a00')
    ic.fill(button, '#ffa62b')
    ic.fill(circle(*px(cx - 1.3, cy - 1.3), 1.4 / SIZE), '#fff3c0', 0.8)
    return ic.pixels()


FINGER_TIP = (12, 2)


def hand_shape():
    finger = capsule(*px(12.5, 4.6, 12.5, 17), 2.7 / SIZE)
    palm = round_box(*px(9.5, 14, 24.5, 27.5), 4.5 / SIZE)
    knuckles = union(capsule(*px(16.2, 15.6, 16.2, 18), 2.5 / SIZE),
                     capsule(*px(19.6, 16.2, 19.6, 18.5), 2.4 / SIZE),
                     capsule(*px(22.6, 17.2, 22.6, 19.5), 2.2 / SIZE))
    thumb = capsule(*px(11, 22, 6.8, 17.2), 2.5 / SIZE)
    return union(finger, palm, knuckles, thumb)


def sparkle(cx, cy, r, turn):
    pts = []
    for k in range(8):
        rr = r if k % 2 == 0 else r * 0.32
        a = turn + k * math.pi / 4
        pts.append(tuple(px(cx + rr * math.cos(a), cy + rr * math.sin(a))))
    return polygon(pts)


def on_frame(i, n):
    hand = hand_shape()
    cuff = round_box(*px(11, 26.5, 23, 31), 1.8 / SIZE)
    ic = Icon(SIZE, 8)
    shadow(ic, union(hand, cuff))
    ic.fill(grow(union(hand, cuff), 1.2 / SIZE), '#6b3a1e')
    ic.fill(hand, '#ffd6a8')
    for x, y0, y1 in ((18.0, 16.8, 19.6), (21.2, 17.6, 20.4)):    # the folded fingers' gaps
        ic.fill(capsule(*px(x, y0, x, y1), 0.45 / SIZE), '#c0784c', 0.8)
    ic.fill(cuff, '#3f7fe0')
    ic.fill(ellipse(*px(11.6, 6), 0.9 / SIZE, 1.8 / SIZE), '#ffffff', 0.55)
    # The big sparkle grows, turns and fades; a small one twinkles half a cycle later.
    t, u = pulse(i, n), pulse(i + n / 2, n)
    for cx, cy, r, turn, level in ((25.5, 6.5, 2.5 + 3.5 * t, 0.3 * t, t),
                                   (28.5, 14.5, 1.2 + 1.8 * u, 0.0, u)):
        star = sparkle(cx, cy, r, turn)
        ic.fill(grow(star, 0.9 / SIZE), '#c26a00', 0.35 + 0.65 * level)
        ic.fill(star, '#ffd83a', 0.35 + 0.65 * level)
        ic.fill(circle(*px(cx, cy), 0.25 * r / SIZE), '#ffffff', level)
    return ic.pixels()


# ---------------------------------------------------------------------------
# The file formats.

def cur_bytes(rgba, hotspot):
    """One .cur file: ICONDIR of type 2, one entry with the hotspot, a 32-bit DIB and mask."""
    h, w, _ = rgba.shape
    xor = np.ascontiguousarray(rgba[::-1][..., [2, 1, 0, 3]]).tobytes()
    mask = np.packbits(rgba[::-1, :, 3] == 0, axis=1)
    mask = np.pad(mask, ((0, 0), (0, (-mask.shape[1]) % 4))).tobytes()
    dib = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = dib + xor + mask
    return (struct.pack('<HHH', 0, 2, 1)
            + struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, hotspot[0], hotspot[1],
                          len(image), 6 + 16)
            + image)


def chunk(tag, data):
    return tag + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')


def ani_bytes(name, frames, hotspot, jiffies, rates=None, seq=None):
    steps = len(seq) if seq is not None else len(frames)
    flags = AF_ICON | (AF_SEQUENCE if seq is not None else 0)
    body = b'ACON' + chunk(b'LIST', b'INFO' + chunk(b'INAM', name.encode('ascii') + b'\0'))
    body += chunk(b'anih', struct.pack('<9I', 36, len(frames), steps, 0, 0, 0, 0, jiffies, flags))
    if rates is not None:
        body += chunk(b'rate', struct.pack('<%dI' % steps, *rates))
    if seq is not None:
        body += chunk(b'seq ', struct.pack('<%dI' % steps, *seq))
    body += chunk(b'LIST', b'fram' + b''.join(chunk(b'icon', cur_bytes(f, hotspot)) for f in frames))
    return chunk(b'RIFF', body)


def cursors():
    return [
        ('normal.ani', lambda: ani_bytes('Quvo pointer', [arrow_frame(i, 8) for i in range(8)],
                                         ARROW_TIP, 9)),
        ('move.ani', lambda: ani_bytes('Quvo carrying', [move_frame(i, 4) for i in range(4)],
                                       (int(MOVE_CENTRE[0]), int(MOVE_CENTRE[1])), 8,
                                       seq=[0, 1, 2, 3, 2, 1])),
        ('on.ani', lambda: ani_bytes('Quvo over a piece', [on_frame(i, 6) for i in range(6)],
                                     FINGER_TIP, 7, rates=[18, 7, 6, 6, 6, 7], seq=list(range(6)))),
    ]


def main(argv):
    return write_files(argv, 'usage: gen_cursors.py OUTDIR\n', cursors())


if __name__ == '__main__':
    sys.exit(main(sys.argv))
