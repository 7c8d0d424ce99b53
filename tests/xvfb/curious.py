#!/usr/bin/python3
"""A curious child at the real program under X: starts a display of its own (Xvfb picks a free
number), copies the program folder into a temporary folder and starts the program there as the
README starts it, closes the start-up help with Return, then sends random events: clicks
anywhere in the program's windows (now and then a right click), moves, and the keys a child
presses (letters, digits, space, Return, Escape, arrows, Tab, Backspace). Dialogs the child
opens on the way (message boxes, menus, the textbook chooser, file choosers, the print dialog)
get clicks and keys like the rest. Clicks keep clear of the buttons that end or hide the
program, but the keyboard can still reach 退出 (Tab, then Space): a program the child ended so
must have ended with exit code 0 and is started again, which reads what it wrote. At the end
the script closes what is still open with Escape and checks:

- the program is still running, and answers: a character typed into its box changes its window;
- it ends on SIGTERM as it ends normally, with exit code 0;
- its settings (quvocf.cfg), progress (xxjd.cfg) and learning record (xxjl.db) are whole and
  readable, read the way the program writes them;
- the shipped data files in its folder are those of the source folder.

Nothing outside starts: xdg-open and the browser are stubs that only write down what they were
asked to open, the update check is off, and the home folder is a temporary one.

    tests/xvfb/curious.py PROGRAM_FOLDER [--seed N] [--events N] [--out DIR]

The seed (a fixed one unless given) is printed at the start; the same seed sends the same events
again. The events sent, the program's output and screenshots go to DIR (kept only when given,
or when a check fails). Exit code 0 when every check passes.
"""
import argparse
import hashlib
import os
import random
import select
import shutil
import signal
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time

import numpy as np

WIDTH, HEIGHT = 1024, 768
# The window's buttons that end the program or hide it (app/dialoglayout.cpp): a child may
# press them, but then there is nothing left to play with. Left, top, width, height.
KEEP_OUT = [(964, 541, 75, 21),    # 退出
            (1000, 0, 20, 21),     # X
            (980, 0, 20, 21)]      # -
EDIT_BOX = (902, 60)               # 我要拼's box
TRAY_AND_SAMPLE = (0, 0, 266, 576)  # left, top, right, bottom: changes with every character
# Left, top, right, bottom: the window but the grid (where the hint blinks), the web panel and
# the box's row (where the text cursor blinks).
STILL_PARTS = [TRAY_AND_SAMPLE, (0, 576, 810, 768), (810, 0, 1024, 48), (810, 494, 1024, 768)]
KEYS = ([chr(c) for c in range(ord("a"), ord("z") + 1)] + [str(d) for d in range(10)] +
        ["space", "Return", "Escape", "Left", "Right", "Up", "Down", "Tab", "BackSpace"])
# Files the program writes in its folder; everything else there is shipped data.
OWN_FILES = {"quvocf.cfg", "xxjd.cfg", "xxjl.db", "xxjl.db-journal", "xxjl.db-wal", "xxjl.db-shm",
             "update", "server.txt"}
SETTINGS_SIZE, PATH_FIELD, PROGRESS_SIZE = 680, 128, 132
BATCH = 25
DEFAULT_SEED = 20240611
TIME_LIMIT = 90.0


class Failure(Exception):
    pass


def start_display(log):
    """Xvfb on a display number it picks itself; returns the process and ":N"."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
                             "-nolisten", "tcp"], pass_fds=[write_end], stdout=log, stderr=log)
    os.close(write_end)
    number = b""
    deadline = time.time() + 20
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.time()))
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            xvfb.kill()
            raise Failure("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


class Desktop:
    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display)

    def xdo(self, *args, check=True):
        return subprocess.run(["xdotool", *map(str, args)], env=self.env, check=check,
                              capture_output=True, text=True, timeout=30).stdout

    def windows(self, pid):
        """The program's visible top-level windows but balloons and the web panel (a window of
        its own over the main window), each (id, left, top, width, height), from the bottom of
        the stack to the top."""
        found = []
        for wid in self.xdo("search", "--maxdepth", 1, "--onlyvisible", "--pid", pid, check=False).split():
            props = subprocess.run(["xprop", "-id", wid, "_NET_WM_WINDOW_TYPE", "WM_NAME"], env=self.env,
                                   capture_output=True, text=True, timeout=30).stdout
            if "TOOLTIP" in props or '"QUVOHTML"' in props:
                continue
            geometry = self.xdo("getwindowgeometry", "--shell", wid, check=False)
            values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
            if "WIDTH" in values:
                found.append((wid, int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])))
        return found

    def screen(self):
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env, check=True,
                             capture_output=True, timeout=30).stdout
        return np.frombuffer(raw, np.uint8).reshape(HEIGHT, WIDTH, 3).astype(int)

    def save(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=False, timeout=30)


def is_main(window):
    return window[3:] == (WIDTH, HEIGHT)


class Program:
    """The program in its folder, started as the README starts it."""

    def __init__(self, desktop, folder, env, log):
        self.desktop, self.folder, self.env, self.log = desktop, folder, env, log
        self.process = None

    def start(self):
        self.process = subprocess.Popen(["./quvo"], cwd=self.folder, env=self.env, stdout=self.log,
                                        stderr=self.log, start_new_session=True)
        deadline = time.time() + 60
        while not any(is_main(w) for w in self.windows()):
            if self.process.poll() is not None or time.time() > deadline:
                raise Failure("the program's window did not come")
            time.sleep(0.3)

    def windows(self):
        return self.desktop.windows(self.process.pid)

    def ended(self):
        return self.process.poll() is not None

    def kill(self):
        """Whatever is left of it: the program and the web engine's helpers."""
        if self.process is None:
            return
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait()


def stub_browser(folder):
    """A PATH folder whose xdg-open and browsers only write down the address."""
    bin_dir = os.path.join(folder, "bin")
    os.makedirs(bin_dir)
    opened = os.path.join(folder, "opened.txt")
    for name in ("xdg-open", "x-www-browser", "sensible-browser", "firefox", "gio", "kde-open", "gnome-open"):
        path = os.path.join(bin_dir, name)
        with open(path, "w") as f:
            f.write(f'#!/bin/sh\necho "$0 $*" >> "{opened}"\nexit 0\n')
        os.chmod(path, 0o755)
    return bin_dir, opened


def program_env(desktop, work, bin_dir):
    home = os.path.join(work, "home")
    os.makedirs(home)
    env = dict(desktop.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local/share"), XDG_CACHE_HOME=os.path.join(home, ".cache"),
               PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""), BROWSER=os.path.join(bin_dir, "xdg-open"),
               QUVO_NO_UPDATE_CHECK="1", QT_QPA_PLATFORM="xcb", NO_AT_BRIDGE="1")
    for name in ("QUVO_SERVER", "QT_QPA_PLATFORMTHEME", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                 "DBUS_SESSION_BUS_ADDRESS"):
        env.pop(name, None)
    return env


def file_hashes(folder):
    """SHA-256 of every shipped file under `folder`, by path relative to it."""
    hashes = {}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            rel = os.path.relpath(path, folder)
            if rel in OWN_FILES or os.path.islink(path) and not os.path.exists(path):
                continue
            with open(path, "rb") as f:
                hashes[rel] = hashlib.sha256(f.read()).hexdigest()
    return hashes


def copy_program(source, folder):
    shutil.copytree(source, folder, symlinks=True)
    for name in OWN_FILES:  # a first start, whatever was run in the source folder
        if os.path.exists(os.path.join(folder, name)):
            os.remove(os.path.join(folder, name))


def random_events(rng, count):
    """(kind, into a dialog, button, x share, y share) for clicks and moves, (kind, key) for
    keys."""
    events = []
    for _ in range(count):
        roll = rng.random()
        if roll < 0.36:
            events.append(("click", rng.random() < 0.5, rng.choice((1, 1, 1, 1, 1, 1, 1, 3)), rng.random(), rng.random()))
        elif roll < 0.62:
            events.append(("move", rng.random() < 0.5, 0, rng.random(), rng.random()))
        else:
            events.append(("key", rng.choice(KEYS)))
    return events


def kept_out(x, y):
    return any(l <= x < l + w and t <= y < t + h for l, t, w, h in KEEP_OUT)


def place(event, dialog):
    """The screen point of a click or a move: in the topmost dialog when the event asks for one
    and one is open, else in the main window, clear of the buttons that end it."""
    _, into_dialog, _, fx, fy = event
    if into_dialog and dialog is not None:
        _, left, top, width, height = dialog
        return left + int(fx * width), top + int(fy * height)
    x, y = int(fx * WIDTH), int(fy * HEIGHT)
    while kept_out(x, y):
        y = (y + 30) % HEIGHT
    return x, y


def xdotool_commands(batch, dialog):
    """One xdotool command line for a batch: each event, then a pause of 25 ms (xdotool's own
    pauses within clicks and keys are left out)."""
    commands = []
    for event in batch:
        if event[0] == "key":
            commands += ["key", "--delay", 0, event[1]]
        else:
            x, y = place(event, dialog)
            commands += ["mousemove", x, y]
            if event[0] == "click":
                commands += ["click", "--delay", 0, event[2]]
        commands += ["sleep", "0.025"]
    return commands


def check_own_end(program, sent, out):
    """A program that ended by itself: the child pressed 退出 (exit code 0), or it crashed."""
    code = program.process.returncode
    if code != 0:
        raise Failure(f"the program ended with exit code {code} after {sent} events")
    print(f"the child ended the program after {sent} events; started again")
    program.desktop.save(os.path.join(out, f"ended-{sent}.png"))
    check_own_files(program.folder)
    program.start()


def play(program, events, deadline, log, out):
    """Sends the events in batches; between batches, looks for the topmost dialog and sees
    whether the program is still there. Returns the number of events sent; what was sent goes
    to `log`."""
    sent = 0
    while sent < len(events):
        if time.time() > deadline:
            print(f"time is up after {sent} events")
            break
        if program.ended():
            check_own_end(program, sent, out)
        t0 = time.time()
        windows = program.windows()
        dialogs = [w for w in windows if not is_main(w)]
        batch = events[sent:sent + BATCH]
        commands = xdotool_commands(batch, dialogs[-1] if dialogs else None)
        t1 = time.time()
        program.desktop.xdo(*commands, check=False)
        log.write(f"{sent}: windows {windows} ({t1 - t0:.2f} s, {time.time() - t1:.2f} s)\n  {' '.join(map(str, commands))}\n")
        log.flush()
        sent += len(batch)
    return sent


def settle(desktop, limit=90.0):
    """Waits until the program has caught up with the events sent: the parts of its window that
    change only when it handles something hold still for two seconds. Input waits its turn while the program pauses (half a
    second for each piece the pointer rests on, the fill of each stroke written out), so a fast
    child leaves it many seconds behind. Returns the seconds waited."""
    started = time.time()
    last, still_since, moving = None, None, []
    while time.time() - started < limit:
        shot = desktop.screen()
        parts = [shot[t:b, l:r] for l, t, r, b in STILL_PARTS]
        if last is not None and all(np.array_equal(a, b) for a, b in zip(parts, last)):
            still_since = still_since or time.time()
            if time.time() - still_since >= 2.0:
                return time.time() - started
        else:
            still_since = None
        if last is not None:
            moving = [STILL_PARTS[i] for i, (a, b) in enumerate(zip(parts, last)) if not np.array_equal(a, b)]
        last = parts
        time.sleep(0.5)
    raise Failure(f"the program's window did not hold still within {limit:.0f} s (still changing: {moving})")


def close_dialogs(program):
    """Escape to whatever is open, topmost first, until only the main window is left."""
    for _ in range(12):
        others = [w for w in program.windows() if not is_main(w)]
        if not others:
            return
        program.desktop.xdo("windowfocus", others[-1][0], "key", "Escape", check=False)
        time.sleep(1.0)
    raise Failure("dialogs still open after Escape: %s" % program.windows())


def answers(desktop, out):
    """Types 永, then 我, into the box: the pieces and the sample must change within 30 s."""
    def ask(character):
        # The first click puts down a piece the child left carried; the second is in the box.
        desktop.xdo("mousemove", *EDIT_BOX, "click", 1, "sleep", 0.3, "click", 1, "sleep", 0.3,
                    "key", "ctrl+a", "BackSpace")
        desktop.xdo("type", character)
        desktop.xdo("key", "Return")

    def tray():
        l, t, r, b = TRAY_AND_SAMPLE
        return desktop.screen()[t:b, l:r]

    ask("永")
    settle(desktop)
    before = tray()
    desktop.save(os.path.join(out, "answer-1.png"))
    ask("我")
    deadline = time.time() + 30
    while time.time() < deadline:
        changed = int((np.abs(tray() - before).sum(axis=2) > 40).sum())
        if changed > 500:
            print(f"typing 我 after 永 changed {changed} pixels of the pieces and the sample")
            desktop.save(os.path.join(out, "answer-2.png"))
            return True
        time.sleep(0.5)
    desktop.save(os.path.join(out, "answer-2.png"))
    return False


def stacks(pid, out):
    """Every thread's stack of a program that stopped answering, when gdb is there."""
    if shutil.which("gdb"):
        with open(os.path.join(out, "stacks.txt"), "w") as f:
            subprocess.run(["gdb", "-batch", "-p", str(pid), "-ex", "thread apply all bt"], stdout=f,
                           stderr=subprocess.STDOUT, timeout=120)


def check_settings(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != SETTINGS_SIZE:
        raise Failure(f"quvocf.cfg has {len(data)} bytes, not {SETTINGS_SIZE}")
    switches = struct.unpack_from("<8i", data, 0)
    if any(s not in (0, 1) for s in switches):
        raise Failure(f"quvocf.cfg switches {switches}")
    paths = []
    for i in range(5):
        field = data[32 + PATH_FIELD * i:32 + PATH_FIELD * (i + 1)]
        if b"\0" not in field:
            raise Failure(f"quvocf.cfg path {i} has no end")
        paths.append(field.split(b"\0", 1)[0].decode("gbk"))
    speed, mode = struct.unpack_from("<2i", data, 672)
    if not 100 <= speed <= 5000 or mode not in (0, 1):
        raise Failure(f"quvocf.cfg demo speed {speed}, mode {mode}")
    print(f"quvocf.cfg: switches {switches}, speed {speed}, mode {mode}, paths {paths}")


def check_progress(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data or len(data) % PROGRESS_SIZE:
        raise Failure(f"xxjd.cfg has {len(data)} bytes, not whole records of {PROGRESS_SIZE}")
    books = []
    for at in range(0, len(data), PROGRESS_SIZE):
        field = data[at:at + PATH_FIELD]
        if b"\0" not in field or field[0] == 0:
            raise Failure(f"xxjd.cfg record {at // PROGRESS_SIZE} has no path")
        book = field.split(b"\0", 1)[0].decode("gbk")
        (position,) = struct.unpack_from("<i", data, at + PATH_FIELD)
        if position < 0 or book in dict(books):
            raise Failure(f"xxjd.cfg record {book} at {position}")
        books.append((book, position))
    print(f"xxjd.cfg: {books}")


def check_record(path):
    if not os.path.exists(path):
        print("xxjl.db: none written (no character finished)")
        return
    db = sqlite3.connect(f"file:{path}?mode=ro", uri=True)
    if db.execute("pragma integrity_check").fetchone()[0] != "ok":
        raise Failure("xxjl.db fails its integrity check")
    counts = {t: db.execute(f'select count(*) from "{t}"').fetchone()[0]
              for (t,) in db.execute("select name from sqlite_master where type = 'table'")}
    db.close()
    print(f"xxjl.db: rows {counts}")


def check_own_files(folder):
    check_settings(os.path.join(folder, "quvocf.cfg"))
    check_progress(os.path.join(folder, "xxjd.cfg"))
    check_record(os.path.join(folder, "xxjl.db"))


def check_shipped_files(folder, source):
    shipped, now = file_hashes(source), file_hashes(folder)
    changed = sorted(rel for rel in shipped if now.get(rel) != shipped[rel])
    if changed:
        raise Failure(f"shipped files changed or gone: {changed}")
    added = sorted(set(now) - set(shipped))
    if added:
        print(f"new files in the program folder: {added}")


def end_by_signal(program):
    program.process.send_signal(signal.SIGTERM)
    try:
        code = program.process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        raise Failure("the program did not end on SIGTERM")
    if code != 0:
        raise Failure(f"the program ended on SIGTERM with exit code {code}")


def run(args, work, out):
    log = open(os.path.join(out, "program.log"), "w")
    xvfb, display = start_display(log)
    desktop = Desktop(display)
    folder = os.path.join(work, "quvo")
    copy_program(args.folder, folder)
    bin_dir, opened = stub_browser(work)
    program = Program(desktop, folder, program_env(desktop, work, bin_dir), log)
    try:
        program.start()
        deadline = time.time() + 15
        while time.time() < deadline:  # the start-up help of a first start
            helps = [w for w in program.windows() if not is_main(w) and w[3] > 200]
            if helps:
                desktop.xdo("windowfocus", helps[-1][0], "key", "Return")
                break
            time.sleep(0.3)
        time.sleep(2.0)
        desktop.save(os.path.join(out, "start.png"))

        events = random_events(random.Random(args.seed), args.events)
        started = time.time()
        with open(os.path.join(out, "events.txt"), "w") as events_log:
            sent = play(program, events, started + TIME_LIMIT, events_log, out)
        print(f"{sent} events in {time.time() - started:.1f} s")
        desktop.save(os.path.join(out, "after-events.png"))
        if program.ended():
            check_own_end(program, sent, out)
        try:
            print(f"the program caught up {settle(desktop):.0f} s after the last event")
            close_dialogs(program)
            settle(desktop)
            if not answers(desktop, out):
                raise Failure("the program does not answer: typing a character changed nothing")
        except Failure:
            stacks(program.process.pid, out)
            raise
        end_by_signal(program)
        check_own_files(folder)
        check_shipped_files(folder, args.folder)
        if os.path.exists(opened):
            with open(opened) as f:
                print("asked the desktop to open:", " | ".join(line.strip() for line in f))
    finally:
        program.kill()
        xvfb.terminate()
        xvfb.wait()
        log.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder", help="the built program folder (build/quvo)")
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED)
    parser.add_argument("--events", type=int, default=2000)
    parser.add_argument("--out", help="where the events sent, screenshots and the program's output are kept")
    args = parser.parse_args()
    args.folder = os.path.abspath(args.folder)
    print(f"seed {args.seed} (again: {sys.argv[0]} {args.folder} --seed {args.seed})", flush=True)
    work = tempfile.mkdtemp(prefix="quvo-curious-")
    out = args.out or tempfile.mkdtemp(prefix="quvo-curious-out-")
    os.makedirs(out, exist_ok=True)
    try:
        run(args, work, out)
    except Failure as failure:
        print(f"FAILED (seed {args.seed}): {failure}; events, screenshots and the program's output in {out}")
        return 1
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if not args.out:
        shutil.rmtree(out, ignore_errors=True)
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
