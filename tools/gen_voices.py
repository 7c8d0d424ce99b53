#!/usr/bin/python3
"""Speaks the name of every stroke type into the program folder.

Usage: gen_voices.py --types data/stroketypes.tsv --out DIR
                     [--espeak espeak-ng] [--lame lame]

Writes DIR/1.mp3 .. DIR/32.mp3: file <code + 1> says the name of stroke type
<code> of the table (横, 竖, ... 横折折折钩), which the program plays when a
child taps a stroke.

The speaker is eSpeak NG's Mandarin voice "cmn-latn-pinyin", given the
table's pinyin with tone digits ("heng2 zhe2 gou1"). Fed with the characters
instead, the plain "cmn" voice reads some single characters with the wrong
syllable, so the pinyin column is the text. The rate is a little slower than
eSpeak's default and the syllables get a short gap, for young listeners.

Each recording is trimmed to the speech plus a short margin, faded at both
ends so it starts and stops without a click, brought to a common peak level
and encoded as 22.05 kHz mono MP3. eSpeak NG and LAME have no random parts, so
the same table always gives the same files.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import soundio  # noqa: E402
import stroketable  # noqa: E402

VOICE = "cmn-latn-pinyin"
WORDS_PER_MINUTE = 130     # eSpeak's default is 175
WORD_GAP = 2               # extra pause between syllables, in 10 ms units
PEAK_DBFS = -3.0
RATE_KHZ = "22.05"         # eSpeak NG speaks at 22050 Hz; keep it
KBPS = 64

# Trimming: a sample counts as speech when it is within GATE_DB of the
# recording's peak; the kept part runs from LEAD before the first such sample
# to TAIL after the last one (the tail is longer: syllables die away slowly).
GATE_DB = -40.0
LEAD = 0.03
TAIL = 0.08
FADE_IN = 0.005
FADE_OUT = 0.03


def read_names(path):
    """The table's rows -> [(code, name, pinyin)], codes 0..n-1 in order."""
    rows = []
    for code, name, _, pinyin_text in stroketable.read_rows(path):
        pinyin = pinyin_text.split()
        if not pinyin or not all(p[:-1].isalpha() and p[-1] in "12345" for p in pinyin):
            raise SystemExit("%s: code %s: pinyin %r needs a tone digit on every syllable"
                             % (path, code, pinyin_text))
        rows.append((code, name, " ".join(pinyin)))
    return rows


def trim(samples, rate):
    level = np.abs(samples)
    loud = np.nonzero(level >= level.max() * 10.0 ** (GATE_DB / 20.0))[0]
    first = max(0, loud[0] - int(LEAD * rate))
    last = min(len(samples), loud[-1] + int(TAIL * rate))
    return samples[first:last].copy()


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--types", required=True, help="data/stroketypes.tsv")
    ap.add_argument("--out", required=True, help="folder for 1.mp3 .. <n>.mp3")
    ap.add_argument("--espeak", default="espeak-ng")
    ap.add_argument("--lame", default="lame")
    args = ap.parse_args()

    t0 = time.monotonic()
    rows = read_names(args.types)
    os.makedirs(args.out, exist_ok=True)
    encoder = soundio.Encoder(args.lame)
    with tempfile.TemporaryDirectory(prefix=".voices-", dir=args.out) as tmp:
        try:
            for code, name, pinyin in rows:
                raw = os.path.join(tmp, "raw%d.wav" % code)
                subprocess.run([args.espeak, "-v", VOICE, "-s", str(WORDS_PER_MINUTE),
                                "-g", str(WORD_GAP), "-w", raw, pinyin], check=True)
                samples, rate = soundio.read_wav(raw)
                if not samples.any():
                    raise SystemExit("%s said nothing for %r" % (args.espeak, pinyin))
                samples = trim(samples, rate)
                soundio.fade(samples, rate, FADE_IN, FADE_OUT)
                soundio.normalize(samples, PEAK_DBFS)
                wav = os.path.join(tmp, "%d.wav" % (code + 1))
                soundio.write_wav(wav, samples, rate)
                encoder.add(wav, os.path.join(args.out, "%d.mp3" % (code + 1)), RATE_KHZ, KBPS)
                print("%2d.mp3  %-6s %-28s %.2f s" % (code + 1, name, pinyin, len(samples) / rate))
            encoder.close()
        except BaseException:
            encoder.abort()
            raise
    print("stroke names: %d files; %.1f s" % (len(rows), time.monotonic() - t0))


if __name__ == "__main__":
    main()
