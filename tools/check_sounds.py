#!/usr/bin/python3
"""Checks the sound files of the program folder.

Usage: check_sounds.py --dir PROGRAM_DIR --types data/stroketypes.tsv [--lame lame]

Every file the program plays must be there and must decode (with LAME's own
decoder). Then, per kind:
  bihua/1.mp3 .. bihua/<n>.mp3   stroke names, one per row of the table:
                                 0.3 to 3 s long
  bmusic/start1.mp3 .. start10   background tunes: 30 to 90 s long, and quiet
                                 at both ends (the program loops them)
  bmusic/right1.mp3, error1.mp3  chimes: 0.1 to 2 s long
and every file must be audible (RMS above -40 dBFS) and must not clip (no
sample within 0.1 dB of full scale).

Prints one line per file and exits with status 1 if anything failed.
"""

import argparse
import math
import os
import re
import sys
import tempfile

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import soundio  # noqa: E402

MIN_RMS_DBFS = -40.0
CLIP_DBFS = -0.1
# A looped tune must not click at the seam: the first and last EDGE seconds
# stay below EDGE_DBFS.
EDGE = 0.01
EDGE_DBFS = -30.0

TUNES = 10


def count_stroke_types(path):
    """Rows of the table: lines that start with a code and a TAB."""
    with open(path, encoding="utf-8") as f:
        return sum(1 for line in f if re.match(r"[0-9]+\t", line))


def expected_files(types_path):
    """[(relative path, min seconds, max seconds, quiet edges)]"""
    files = [("bihua/%d.mp3" % i, 0.3, 3.0, False)
             for i in range(1, count_stroke_types(types_path) + 1)]
    files += [("bmusic/start%d.mp3" % i, 30.0, 90.0, True) for i in range(1, TUNES + 1)]
    files += [("bmusic/right1.mp3", 0.1, 2.0, False), ("bmusic/error1.mp3", 0.1, 2.0, False)]
    return files


def check(lame, path, low, high, quiet_edges, tmp):
    """-> (problems, summary)"""
    if not os.path.isfile(path):
        return ["missing"], ""
    wav = os.path.join(tmp, "decoded.wav")
    try:
        soundio.decode_mp3(lame, path, wav)
        samples, rate = soundio.read_wav(wav)
    except Exception as e:  # noqa: BLE001 - any failure to decode is the finding
        return ["does not decode (%s)" % e], ""
    finally:
        if os.path.exists(wav):
            os.remove(wav)
    if len(samples) == 0:
        return ["decodes to nothing"], ""

    seconds = len(samples) / rate
    rms = soundio.db(math.sqrt(float(np.mean(samples ** 2))))
    peak = soundio.db(float(np.max(np.abs(samples))))
    summary = "%6.2f s  %5d Hz  rms %6.1f dBFS  peak %6.1f dBFS" % (seconds, rate, rms, peak)
    problems = []
    if not low <= seconds <= high:
        problems.append("length %.2f s outside %g..%g s" % (seconds, low, high))
    if rms < MIN_RMS_DBFS:
        problems.append("too quiet (rms %.1f dBFS)" % rms)
    if peak >= CLIP_DBFS:
        problems.append("clips (peak %.2f dBFS)" % peak)
    if quiet_edges:
        n = max(1, int(EDGE * rate))
        for where, part in (("start", samples[:n]), ("end", samples[-n:])):
            level = soundio.db(float(np.max(np.abs(part))))
            if level >= EDGE_DBFS:
                problems.append("loud at the %s (%.1f dBFS): the loop would click" % (where, level))
    return problems, summary


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--dir", required=True, help="the program folder")
    ap.add_argument("--types", required=True, help="data/stroketypes.tsv")
    ap.add_argument("--lame", default="lame")
    args = ap.parse_args()

    failed = 0
    files = expected_files(args.types)
    with tempfile.TemporaryDirectory(prefix="quvo-sounds-") as tmp:
        for rel, low, high, quiet_edges in files:
            problems, summary = check(args.lame, os.path.join(args.dir, rel), low, high,
                                      quiet_edges, tmp)
            status = "FAIL" if problems else "ok"
            detail = "; ".join(problems)
            print(("%-4s %-22s %s" % (status, rel, "  ".join(p for p in (summary, detail) if p)))
                  .rstrip())
            failed += bool(problems)
    print("%d of %d sound files failed" % (failed, len(files)) if failed
          else "all %d sound files are fine" % len(files))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
