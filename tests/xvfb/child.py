#!/usr/bin/python3
"""A scripted child at the real program under X (Xvfb): for each character it types the
character into the box, presses "拼", finds the pieces in the tray by comparing a screenshot
with the theme picture, then takes them in writing order as a child does: the pointer rests on
the middle of a piece, clicks right there, carries the piece into the grid in a few moves,
clicks it down, and goes straight on to the next piece. It reports every click that picked up
nothing and leaves screenshots in the output folder.

    DISPLAY=:99 tests/xvfb/child.py [--way click|drag|wobble] PROGRAM_FOLDER OUTPUT_FOLDER 高 永 我

With --way drag it presses on each piece, moves into the grid in steps with the button held
and lets go there; with --way wobble it clicks with the pointer moving a few pixels between
press and release, then carries the piece to the next click. After each character it reads
the round's verdict from the learning record (xxjl.db) and reports a round not judged right.

The program must already run on that display from PROGRAM_FOLDER with the default settings
and the default theme, its window at (0, 0).
"""
import os
import sqlite3
import subprocess
import sys
import time

import numpy as np

TRAY = (0, 192, 266, 576)          # left, top, right, bottom: the pieces panel above the buttons
EDIT, ASSEMBLE, DEMO_BOX = (900, 60), (952, 60), (924, 705)


def xdo(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def screen():
    raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    geometry = subprocess.run(["xdotool", "getdisplaygeometry"], check=True,
                              capture_output=True, text=True).stdout.split()
    w, h = int(geometry[0]), int(geometry[1])
    return np.frombuffer(raw, np.uint8).reshape(h, w, 3).astype(int)


def picture(path):
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True, capture_output=True,
                          text=True).stdout.split()
    return np.frombuffer(raw, np.uint8).reshape(int(size[1]), int(size[0]), 3).astype(int)


def save(name, out):
    subprocess.run(["import", "-window", "root", os.path.join(out, name)], check=True)


def components(mask):
    """Groups of 8-connected set pixels, each a list of (x, y), largest first."""
    seen = np.zeros_like(mask, bool)
    groups = []
    for y0, x0 in zip(*np.nonzero(mask)):
        if seen[y0, x0]:
            continue
        stack, group = [(y0, x0)], []
        seen[y0, x0] = True
        while stack:
            y, x = stack.pop()
            group.append((x, y))
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    ny, nx = y + dy, x + dx
                    if 0 <= ny < mask.shape[0] and 0 <= nx < mask.shape[1] and mask[ny, nx] and not seen[ny, nx]:
                        seen[ny, nx] = True
                        stack.append((ny, nx))
        groups.append(group)
    return sorted(groups, key=len, reverse=True)


def pieces_in_tray(shot, theme):
    l, t, r, b = TRAY
    diff = np.abs(shot[t:b, l:r] - theme[t:b, l:r]).sum(axis=2) > 40
    found = []
    for g in components(diff):
        if len(g) < 12:
            continue
        xs = np.array([p[0] for p in g]) + l
        ys = np.array([p[1] for p in g]) + t
        found.append({"top": ys.min(), "left": xs.min(), "pixels": set(zip(xs, ys))})
    # Pieces go in rows from the top, left to right; a row's pieces share their top edge.
    found.sort(key=lambda p: (p["top"], p["left"]))
    rows, row = [], []
    for p in found:
        if row and p["top"] > row[0]["top"] + 3:
            rows.append(row)
            row = []
        row.append(p)
    rows.append(row)
    rows = [sorted(r, key=lambda p: p["left"]) for r in rows if r]
    return [p for r in rows for p in r]


def middle(piece):
    """The piece's pixel nearest to the middle of its box, where a child's finger goes."""
    xs = [p[0] for p in piece["pixels"]]
    ys = [p[1] for p in piece["pixels"]]
    cx, cy = (min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2
    return min(piece["pixels"], key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2)


def widest_row_middle(piece):
    """The middle of the piece's widest row."""
    by_row = {}
    for x, y in piece["pixels"]:
        by_row.setdefault(y, []).append(x)
    y, xs = max(by_row.items(), key=lambda item: len(item[1]))
    xs.sort()
    return xs[len(xs) // 2], y


def left_the_tray(piece, theme, patience=4.0):
    """True once the piece's place in the tray shows the theme picture again. The program may
    still be busy with the clicks that came before (a piece writing itself out, a preview), and
    the balloon over the tray goes half a second after the pointer leaves."""
    deadline = time.time() + patience
    while True:
        shot = screen()
        same = sum(1 for (px, py) in piece["pixels"] if np.abs(shot[py, px] - theme[py, px]).sum() <= 40)
        if same >= 0.8 * len(piece["pixels"]):
            return True
        if time.time() > deadline:
            return False
        time.sleep(0.3)


def play(character, folder, out, theme):
    order = sqlite3.connect(os.path.join(folder, "hz.db")).execute(
        "select bishun from bishun where hanzi = ?", (character,)).fetchone()[0]
    order = [int(i) for i in order.split(",") if i]
    xdo("mousemove", *EDIT, "click", 1)
    xdo("key", "ctrl+a", "BackSpace")
    xdo("type", character)
    xdo("mousemove", *ASSEMBLE, "click", 1)
    time.sleep(1.0)
    xdo("mousemove", 700, 560)
    time.sleep(0.3)
    found = pieces_in_tray(screen(), theme)
    save(f"{character}-tray.png", out)
    if len(found) != len(order):
        return [f"{character}: {len(found)} pieces seen in the tray, {len(order)} strokes"]
    misses = []
    for n, k in enumerate(order):
        piece = found[k - 1]
        x, y = middle(piece)
        xdo("mousemove", x, y)
        time.sleep(0.7)                                   # the pointer rests on it
        spot = (300 + (n * 53) % 450, 40 + (n * 37) % 480)
        if WAY == "drag":
            xdo("mousedown", 1)
            for i in range(1, 9):
                xdo("mousemove", x + (spot[0] - x) * i // 8, y + (spot[1] - y) * i // 8)
                time.sleep(0.03)
            if n == 0:
                save(f"{character}-dragging.png", out)
            if not left_the_tray(piece, theme, patience=1.0):
                misses.append(f"{character}: stroke {n + 1} (piece {k}) at ({x}, {y}) did not follow the drag")
                save(f"{character}-miss-{n + 1}.png", out)
            xdo("mouseup", 1)                             # let go in the grid, and on at once
            continue
        if WAY == "wobble":
            xdo("mousedown", 1)
            xdo("mousemove", x + 3 + n % 4, y + 2)
            xdo("mouseup", 1)
        else:
            xdo("click", 1)
        for i in (1, 2, 3):
            xdo("mousemove", x + (spot[0] - x) * i // 3, y + (spot[1] - y) * i // 3)
            time.sleep(0.05)
        if not left_the_tray(piece, theme):
            misses.append(f"{character}: stroke {n + 1} (piece {k}) at ({x}, {y}) was not picked up")
            save(f"{character}-miss-{n + 1}.png", out)
        xdo("click", 1)                                   # down, and on at once
    time.sleep(1.5)
    save(f"{character}-done.png", out)
    if verdict(folder, character) != 1:
        misses.append(f"{character}: the round was not judged right")
    return misses


def verdict(folder, character, patience=5.0):
    """The verdict of the character's last round in the learning record, 1 for right."""
    deadline = time.time() + patience
    while True:
        try:
            row = sqlite3.connect(os.path.join(folder, "xxjl.db")).execute(
                "select is_right from results where hanzi = ? order by rowid desc limit 1",
                (character,)).fetchone()
        except sqlite3.Error:
            row = None
        if row or time.time() > deadline:
            return row[0] if row else None
        time.sleep(0.3)


WAY = "click"


def main():
    global WAY
    args = sys.argv[1:]
    if args[:1] == ["--way"]:
        WAY, args = args[1], args[2:]
    folder, out, characters = args[0], args[1], args[2:]
    os.makedirs(out, exist_ok=True)
    theme = picture(os.path.join(folder, "theme", "charming1.bmp"))
    xdo("mousemove", *DEMO_BOX, "click", 1)              # no demonstration before each game
    misses = []
    for c in characters:
        misses += play(c, folder, out, theme)
    for m in misses:
        print(m)
    print(f"{len(misses)} clicks missed")
    return 1 if misses else 0


if __name__ == "__main__":
    sys.exit(main())
