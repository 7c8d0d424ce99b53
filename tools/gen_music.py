#!/usr/bin/python3
"""Plays the background tunes and the answer chimes into the program folder.

Usage: gen_music.py --out DIR [--lame lame]

Writes into DIR:
  start1.mp3 .. start10.mp3   background tunes of about a minute each (60 to
                              80 s), played in a loop while a child practises
  right1.mp3                  a bright rising chime for a stroke written well
  error1.mp3                  two soft falling notes: "try again"

Every tune is an old public-domain melody written out below as note names and
lengths, with its chords; a small additive synthesiser plays it with soft
timbres (music box, celesta, a round flute-like tone, a plucked string) over a
quiet bass and broken-chord or held-chord accompaniment, adds a little room
sound and levels the result to a peak of -6 dBFS. A tune starts after a short
silence and ends with a held chord that dies away to nothing, so when the
program loops the file it restarts cleanly, without a click.

The only random numbers (the room sound's noise) come from a fixed seed, so
every run writes the same samples; LAME turns them into the same MP3 bytes.
"""

import argparse
import math
import os
import re
import sys
import tempfile
import time

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import soundio  # noqa: E402

RATE = 44100
RATE_KHZ = "44.1"
KBPS = 96
TUNE_PEAK_DBFS = -6.0
CHIME_PEAK_DBFS = -5.0
LEAD_IN = 0.08       # silence before the first note of a tune
TAIL = 1.6           # after the last bar, for the held chord to die away


# ---------------------------------------------------------------------------
# Pitches and chords

_NOTE = re.compile(r"^([A-G])([#b]?)(-?\d)$")
_PITCH_CLASS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
_CHORD = re.compile(r"^([A-G])([#b]?)(m7|maj7|m|7|)$")
_CHORD_STEPS = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10),
                "m7": (0, 3, 7, 10), "maj7": (0, 4, 7, 11)}


def midi(name):
    """Note name (C4 = middle C = 60, F#4, Bb3) -> MIDI number."""
    m = _NOTE.match(name)
    if not m:
        raise ValueError("bad note %r" % name)
    acc = {"": 0, "#": 1, "b": -1}[m.group(2)]
    return 12 * (int(m.group(3)) + 1) + _PITCH_CLASS[m.group(1)] + acc


def freq(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


def chord(symbol, transpose):
    """Chord symbol (C, Am, G7, Dm7, Fmaj7) -> (root pitch class, steps)."""
    m = _CHORD.match(symbol)
    if not m:
        raise ValueError("bad chord %r" % symbol)
    acc = {"": 0, "#": 1, "b": -1}[m.group(2)]
    return (_PITCH_CLASS[m.group(1)] + acc + transpose) % 12, _CHORD_STEPS[m.group(3)]


def place(pitch_class, low):
    """The MIDI note of pitch_class in the octave low .. low + 11."""
    return low + (pitch_class - low) % 12


# ---------------------------------------------------------------------------
# Instruments. Each returns the samples of one note of MIDI pitch m that is
# held for `hold` seconds; the note may ring on after that.

def _t(seconds):
    return np.arange(int(seconds * RATE)) / RATE


def _attack(n, seconds):
    a = min(n, max(1, int(seconds * RATE)))
    env = np.ones(n)
    env[:a] = 0.5 - 0.5 * np.cos(np.pi * np.arange(a) / a)
    return env


def _release(env, start, seconds):
    """Fade env to zero over `seconds` from sample `start`; cut it there."""
    start = min(start, len(env))
    r = max(1, int(seconds * RATE))
    tail = env[start:start + r] * (0.5 + 0.5 * np.cos(np.pi * np.arange(min(r, len(env) - start)) / r))
    return np.concatenate([env[:start], tail])


def _partials(f, t, parts):
    """Sum of sines: parts = [(ratio, amplitude, decay time or None)]."""
    out = np.zeros(len(t))
    for ratio, amp, tau in parts:
        if f * ratio >= RATE * 0.45:
            continue
        s = amp * np.sin(2.0 * np.pi * f * ratio * t)
        if tau is not None:
            s *= np.exp(-t / tau)
        out += s
    return out


def music_box(m, hold):
    """A comb tine: bright strike, a slightly inharmonic shimmer, long ring."""
    f = freq(m)
    tau = 0.9 * (523.0 / f) ** 0.35
    t = _t(min(4.6 * tau, 3.5))
    s = _partials(f, t, [(1.0, 1.0, tau), (2.0, 0.22, tau * 0.45), (3.0, 0.07, tau * 0.25),
                         (5.4, 0.05, 0.06), (8.9, 0.02, 0.025)])
    return s * _attack(len(t), 0.002) * _release(np.ones(len(t)), len(t) - int(0.05 * RATE), 0.05)


def celesta(m, hold):
    """Softer bell: whole-number partials, a gentler strike, shorter ring."""
    f = freq(m)
    tau = 0.65 * (523.0 / f) ** 0.3
    t = _t(min(4.6 * tau, 3.0))
    s = _partials(f, t, [(1.0, 1.0, tau), (2.0, 0.35, tau * 0.5), (3.0, 0.10, tau * 0.3),
                         (4.0, 0.04, tau * 0.2)])
    return s * _attack(len(t), 0.004) * _release(np.ones(len(t)), len(t) - int(0.05 * RATE), 0.05)


def pluck(m, hold):
    """A plucked string (zither-like): many partials, the high ones die first."""
    f = freq(m)
    tau = 1.1 * (392.0 / f) ** 0.4
    t = _t(min(4.0 * tau, 3.5))
    parts = [(n, 0.85 ** (n - 1) / n ** 0.8, tau / n ** 0.9) for n in range(1, 8)]
    s = _partials(f, t, parts)
    return s * _attack(len(t), 0.003) * _release(np.ones(len(t)), len(t) - int(0.05 * RATE), 0.05)


def flute(m, hold):
    """A round, flute-like tone: soft onset, light vibrato, held."""
    f = freq(m)
    release = 0.18
    t = _t(hold + release)
    depth = 0.0035 * np.clip((t - 0.25) / 0.4, 0.0, 1.0)
    phase = 2.0 * np.pi * f * (t - depth / (2.0 * np.pi * 5.0) * np.cos(2.0 * np.pi * 5.0 * t))
    s = np.sin(phase) + 0.18 * np.sin(2.0 * phase) + 0.05 * np.sin(3.0 * phase)
    env = _attack(len(t), 0.06) * (0.85 + 0.15 * np.exp(-t / 0.15))
    env = _release(env, int(hold * RATE), release)
    return s[:len(env)] * env


def bass(m, hold):
    """Soft bass: a sine with a touch of its octave, dying slowly."""
    f = freq(m)
    release = 0.12
    t = _t(hold + release)
    s = _partials(f, t, [(1.0, 1.0, None), (2.0, 0.3, 0.5), (3.0, 0.06, 0.25)])
    env = _attack(len(t), 0.012) * np.exp(-t / 1.6)
    env = _release(env, int(hold * RATE), release)
    return s[:len(env)] * env


def pad(m, hold):
    """Held chord tone: two slightly detuned sines, slow swell and release."""
    f = freq(m)
    release = 0.45
    t = _t(hold + release)
    s = np.sin(2.0 * np.pi * f * 0.9993 * t) + np.sin(2.0 * np.pi * f * 1.0007 * t)
    s += 0.12 * np.sin(2.0 * np.pi * 2.0 * f * t)
    env = _attack(len(t), min(0.35, hold * 0.5))
    env = _release(env, int(hold * RATE), release)
    return 0.5 * s[:len(env)] * env


INSTRUMENTS = {"music_box": music_box, "celesta": celesta, "pluck": pluck,
               "flute": flute, "bass": bass, "pad": pad}
# Struck and plucked instruments: a note rings on however long it is held.
RINGING = {"music_box", "celesta", "pluck"}
# Rough loudness match between the instruments.
LEVEL = {"music_box": 1.0, "celesta": 1.0, "pluck": 1.0, "flute": 1.2, "bass": 0.9, "pad": 0.5}


class Mixer:
    """Adds notes into one buffer; identical notes are synthesised once."""

    def __init__(self, seconds):
        self.buf = np.zeros(int(seconds * RATE) + RATE)
        self.cache = {}

    def note(self, instrument, m, start, hold, gain):
        key = (instrument, m, None if instrument in RINGING else round(hold, 3))
        s = self.cache.get(key)
        if s is None:
            s = INSTRUMENTS[instrument](m, hold) * LEVEL[instrument]
            self.cache[key] = s
        i = int(round(start * RATE))
        n = min(len(s), len(self.buf) - i)
        if n <= 0:
            return
        self.buf[i:i + n] += gain * s[:n]


# ---------------------------------------------------------------------------
# Tunes.
#
# melody: bars separated by "|"; a note is NAME[:BEATS] (one beat when the
#   length is left out), "r" is a rest. Every bar must fill the metre, except
#   that with a pickup the last bar is short by the pickup's length (the
#   pickup then leads into the next time round).
# chords: one entry per bar; an entry of several chords divides its bar into
#   equal parts.
# passes: how the tune is played each time round: the melody voices
#   (instrument, octave shift, gain, entry in bars: a later entry makes a
#   round), the accompaniment and, optionally, other chords for that time
#   round (a round sounds best over the home chord alone).
#
# Accompaniments:
#   arp    bass note on each chord, broken chord in steps of `step` beats
#   waltz  bass on beat 1, the chord on the other beats (3/4)
#   held   bass and a held pad chord
#   drone  bass on beats 1 and 3 (root, then fifth), nothing else

class Tune:
    def __init__(self, title, meter, bpm, melody, chords, passes, transpose=0,
                 pickup="", step=0.5, accomp_instrument="music_box"):
        self.title = title
        self.meter = meter
        self.bpm = bpm
        self.transpose = transpose
        self.step = step
        self.accomp_instrument = accomp_instrument
        self.pickup = self._notes(pickup) if pickup else []
        self.pickup_beats = sum(d for _, d in self.pickup)
        self.bars = [self._notes(b) for b in melody.split("|")]
        for i, bar in enumerate(self.bars):
            want = self.meter - (self.pickup_beats if i == len(self.bars) - 1 else 0)
            got = sum(d for _, d in bar)
            if abs(got - want) > 1e-9:
                raise ValueError("%s: bar %d holds %g beats, not %g" % (title, i + 1, got, want))
        self.chords = self._chords(chords)
        self.passes = passes
        for p in passes:
            p["chords"] = self._chords(p["chords"]) if "chords" in p else self.chords

    def _chords(self, text):
        bars = [[chord(c, self.transpose) for c in entry.split()] for entry in text.split("|")]
        if len(bars) != len(self.bars):
            raise ValueError("%s: %d bars of melody but %d of chords"
                             % (self.title, len(self.bars), len(bars)))
        return bars

    def _notes(self, text):
        notes = []
        for token in text.split():
            name, _, beats = token.partition(":")
            d = float(beats) if beats else 1.0
            notes.append((None if name == "r" else midi(name) + self.transpose, d))
        return notes


def pass_bars(tune, p):
    return max(entry for *_, entry in p["voices"]) + len(tune.bars)


def play_voice(mix, tune, start, instrument, octave, gain, beat):
    """One statement of the melody whose first full bar begins at `start`."""
    t = start - tune.pickup_beats * beat
    for bar_index, bar in enumerate([tune.pickup] + tune.bars):
        pos = 0.0
        for m, d in bar:
            if m is not None:
                # Downbeats a little stronger than the rest.
                accent = 1.0 if abs(pos) < 1e-9 and bar_index > 0 else 0.82
                mix.note(instrument, m + 12 * octave, t, d * beat * 0.95, gain * accent)
            t += d * beat
            pos += d


def accompany(mix, tune, start, bar_chords, style, gain, beat):
    """Accompaniment of one bar beginning at `start`."""
    part = tune.meter / len(bar_chords)
    for k, (root, steps) in enumerate(bar_chords):
        t0 = start + k * part * beat
        low = place(root, 43)                                # G2 .. F#3
        tones = sorted(place(root + s, 55) for s in steps)   # G3 .. F#4
        triad = sorted(place(root + s, 55) for s in steps[:3])
        if style == "arp":
            mix.note("bass", low, t0, part * beat, gain * 0.9)
            pattern = [triad[0], triad[1], triad[2], triad[0] + 12, triad[2], triad[1]]
            n = int(round(part / tune.step))
            for i in range(n):
                mix.note(tune.accomp_instrument, pattern[i % len(pattern)],
                         t0 + i * tune.step * beat, tune.step * beat, gain * (0.5 if i else 0.6))
        elif style == "waltz":
            mix.note("bass", low, t0, beat, gain)
            for b in range(1, int(part)):
                for tone in triad:
                    mix.note(tune.accomp_instrument, tone, t0 + b * beat, beat * 0.9, gain * 0.3)
        elif style == "held":
            mix.note("bass", low, t0, part * beat, gain * 0.9)
            for tone in tones:
                mix.note("pad", tone, t0, part * beat, gain * 0.45)
        elif style == "drone":
            mix.note("bass", low, t0, part * beat * 0.5, gain)
            if part >= 4:
                mix.note("bass", place(root + 7, 43), t0 + part / 2 * beat, part * beat * 0.5,
                         gain * 0.8)
        else:
            raise ValueError("unknown accompaniment %r" % style)


def render_tune(tune, seed):
    beat = 60.0 / tune.bpm
    bar = tune.meter * beat
    total_bars = sum(pass_bars(tune, p) for p in tune.passes) + 1
    head = LEAD_IN + tune.pickup_beats * beat
    seconds = head + total_bars * bar + TAIL
    mix = Mixer(seconds)

    t = head
    for p in tune.passes:
        for instrument, octave, gain, entry in p["voices"]:
            play_voice(mix, tune, t + entry * bar, instrument, octave, gain, beat)
        for i in range(pass_bars(tune, p)):
            accompany(mix, tune, t + i * bar, p["chords"][i % len(tune.bars)],
                      p["accomp"], p.get("accomp_gain", 0.4), beat)
        t += pass_bars(tune, p) * bar

    # A last bar: the home chord, held, with the tonic rung softly on top.
    root, steps = tune.chords[-1][-1]
    accompany(mix, tune, t, [(root, steps)], "held", 0.45, beat)
    lead = tune.passes[-1]["voices"][0]
    top = place(root, 60) + 12 * lead[1]
    mix.note(lead[0], top, t, bar * 0.9, lead[2] * 0.45)

    out = mix.buf[:int(seconds * RATE)]
    out = room(out, seed)
    soundio.fade(out, RATE, 0.01, 0.8)
    return soundio.normalize(out, TUNE_PEAK_DBFS)


def room(x, seed, wet=0.16, decay=0.28, predelay=0.015):
    """A little room sound: convolution with a decaying noise burst."""
    rng = np.random.Generator(np.random.PCG64(seed))
    n = int(decay * 5.0 * RATE)
    ir = rng.standard_normal(n) * np.exp(-np.arange(n) / (decay * RATE))
    # Darker reverberation: smooth the burst (a short moving average).
    k = 6
    ir = np.convolve(ir, np.ones(k) / k, mode="same")
    ir = np.concatenate([np.zeros(int(predelay * RATE)), ir])
    ir /= np.sqrt(np.sum(ir ** 2))
    size = 1 << (len(x) + len(ir) - 1).bit_length()
    y = np.fft.irfft(np.fft.rfft(x, size) * np.fft.rfft(ir, size), size)[:len(x)]
    return x + wet * y


def voices(*v):
    return list(v)


TUNES = [
    Tune("Twinkle, Twinkle, Little Star (Ah! vous dirai-je, maman)", 4, 84,
         """C4 C4 G4 G4 | A4 A4 G4:2 | F4 F4 E4 E4 | D4 D4 C4:2 |
            G4 G4 F4 F4 | E4 E4 D4:2 | G4 G4 F4 F4 | E4 E4 D4:2 |
            C4 C4 G4 G4 | A4 A4 G4:2 | F4 F4 E4 E4 | D4 D4 C4:2""",
         "C | F C | F C | G C | C F | C G | C F | C G | C | F C | F C | G C",
         [dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="arp"),
          dict(voices=voices(("celesta", 1, 1.0, 0)), accomp="held")]),

    Tune("Wiegenlied (Brahms, op. 49 no. 4)", 3, 88,
         """G4:1.5 E4:0.5 E4 | G4:2 E4:0.5 G4:0.5 | C5 B4:1.5 A4:0.5 | A4 G4 D4:0.5 E4:0.5 |
            F4 D4 D4:0.5 E4:0.5 | F4:2 D4:0.5 F4:0.5 | B4:0.5 A4:0.5 G4 B4 | C5:2 C4:0.5 C4:0.5 |
            C5:2 A4:0.5 F4:0.5 | G4:2 E4:0.5 C4:0.5 | F4 G4 A4 | G4:2 C4:0.5 C4:0.5 |
            C5:2 A4:0.5 F4:0.5 | G4:2 E4:0.5 C4:0.5 | F4 E4 D4 | C4:2""",
         "C | C | C | C | G7 | G7 | G7 | C | F | C | F | C | F | C | G7 | C",
         [dict(voices=voices(("flute", 0, 0.8, 0)), accomp="waltz"),
          dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="waltz")],
         transpose=3, pickup="E4:0.5 E4:0.5", accomp_instrument="pluck"),

    Tune("Frere Jacques (as a round)", 4, 96,
         """C4 D4 E4 C4 | C4 D4 E4 C4 | E4 F4 G4:2 | E4 F4 G4:2 |
            G4:0.5 A4:0.5 G4:0.5 F4:0.5 E4 C4 | G4:0.5 A4:0.5 G4:0.5 F4:0.5 E4 C4 |
            C4 G3 C4:2 | C4 G3 C4:2""",
         "C | C | C | C | C | C | C | C",
         [dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="drone"),
          dict(voices=voices(("music_box", 1, 0.9, 0), ("flute", 0, 0.7, 2)), accomp="drone"),
          dict(voices=voices(("celesta", 1, 0.9, 0), ("music_box", 2, 0.5, 2),
                             ("flute", 0, 0.6, 4)), accomp="drone")],
         transpose=2),

    Tune("Mary Had a Little Lamb", 4, 100,
         """E4 D4 C4 D4 | E4 E4 E4:2 | D4 D4 D4:2 | E4 G4 G4:2 |
            E4 D4 C4 D4 | E4 E4 E4 E4 | D4 D4 E4 D4 | C4:4""",
         "C | C | G | C | C | C | G | C",
         [dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="arp"),
          dict(voices=voices(("flute", 0, 0.85, 0)), accomp="held"),
          dict(voices=voices(("celesta", 1, 1.0, 0)), accomp="arp")],
         transpose=5, accomp_instrument="pluck"),

    Tune("London Bridge Is Falling Down", 4, 104,
         """G4:1.5 A4:0.5 G4 F4 | E4 F4 G4:2 | D4 E4 F4:2 | E4 F4 G4:2 |
            G4:1.5 A4:0.5 G4 F4 | E4 F4 G4:2 | D4:2 G4:2 | E4 C4:3""",
         "C | C | G7 | C | C | C | G7 | C",
         [dict(voices=voices(("celesta", 1, 1.0, 0)), accomp="arp"),
          dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="held"),
          dict(voices=voices(("celesta", 1, 1.0, 0), ("flute", 0, 0.5, 0)), accomp="arp")],
         transpose=2),

    # 6/8: a beat here is an eighth note.
    Tune("Row, Row, Row Your Boat", 6, 168,
         """C4:3 C4:3 | C4:2 D4:1 E4:3 | E4:2 D4:1 E4:2 F4:1 | G4:6 |
            C5 C5 C5 G4 G4 G4 | E4 E4 E4 C4 C4 C4 | G4:2 F4:1 E4:2 D4:1 | C4:6""",
         "C | C | C | C | C | C | G7 | C",
         [dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="arp"),
          dict(voices=voices(("flute", 0, 0.8, 0), ("music_box", 1, 0.8, 2)), accomp="arp",
               chords="C | C | C | C | C | C | C | C"),
          dict(voices=voices(("celesta", 1, 1.0, 0)), accomp="arp")],
         transpose=4, step=1.0, accomp_instrument="pluck"),

    Tune("Ode to Joy (Beethoven, Symphony no. 9)", 4, 104,
         """E4 E4 F4 G4 | G4 F4 E4 D4 | C4 C4 D4 E4 | E4:1.5 D4:0.5 D4:2 |
            E4 E4 F4 G4 | G4 F4 E4 D4 | C4 C4 D4 E4 | D4:1.5 C4:0.5 C4:2 |
            D4 D4 E4 C4 | D4 E4:0.5 F4:0.5 E4 C4 | D4 E4:0.5 F4:0.5 E4 D4 | C4 D4 G3:2 |
            E4 E4 F4 G4 | G4 F4 E4 D4 | C4 C4 D4 E4 | D4:1.5 C4:0.5 C4:2""",
         "C | G | C | C G | C | G | C | G C | G | G C | G | C G | C | G | C | G C",
         [dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="held"),
          dict(voices=voices(("celesta", 1, 1.0, 0)), accomp="arp")],
         transpose=2),

    Tune("Minuet in G (Petzold, from the Notebook for Anna Magdalena Bach)", 3, 100,
         """D5 G4:0.5 A4:0.5 B4:0.5 C5:0.5 | D5 G4 G4 | E5 C5:0.5 D5:0.5 E5:0.5 F#5:0.5 | G5 G4 G4 |
            C5 D5:0.5 C5:0.5 B4:0.5 A4:0.5 | B4 C5:0.5 B4:0.5 A4:0.5 G4:0.5 |
            F#4 G4:0.5 A4:0.5 B4:0.5 G4:0.5 | A4:3 |
            D5 G4:0.5 A4:0.5 B4:0.5 C5:0.5 | D5 G4 G4 | E5 C5:0.5 D5:0.5 E5:0.5 F#5:0.5 | G5 G4 G4 |
            C5 D5:0.5 C5:0.5 B4:0.5 A4:0.5 | B4 C5:0.5 B4:0.5 A4:0.5 G4:0.5 |
            A4 B4:0.5 A4:0.5 G4:0.5 F#4:0.5 | G4:3""",
         "G | G | C | G | C | G | D | D | G | G | C | G | C | G | D | G",
         [dict(voices=voices(("music_box", 0, 1.0, 0)), accomp="waltz"),
          dict(voices=voices(("celesta", 0, 1.0, 0)), accomp="waltz")],
         accomp_instrument="pluck"),

    # Jiangsu folk song; ends on the fifth (sol), as the song does.
    Tune("Mo Li Hua (Jasmine Flower)", 2, 58,
         """E4:0.5 E4:0.25 G4:0.25 A4:0.25 C5:0.25 C5:0.25 A4:0.25 | G4:0.5 G4:0.25 A4:0.25 G4:1 |
            E4:0.5 E4:0.25 G4:0.25 A4:0.25 C5:0.25 C5:0.25 A4:0.25 | G4:0.5 G4:0.25 A4:0.25 G4:1 |
            G4:0.5 G4:0.5 G4:0.5 E4:0.25 G4:0.25 | A4:0.5 A4:0.5 G4:1 |
            E4:0.5 D4:0.25 E4:0.25 G4:0.25 E4:0.25 D4:0.25 C4:0.25 | C4:0.5 C4:0.25 D4:0.25 C4:1 |
            E4:0.25 D4:0.25 C4:0.25 E4:0.25 D4:0.5 E4:0.25 G4:0.25 | A4:0.25 C5:0.25 G4:1.5 |
            D4:0.5 E4:0.25 G4:0.25 D4:0.25 E4:0.25 C4:0.25 A3:0.25 | G3:2 |
            A3:0.25 C4:0.25 D4:0.5 E4:0.25 C4:0.25 D4:0.25 C4:0.25 | A3:0.5 G3:1.5""",
         "C | C | C | C | C | F C | C | C | C | F C | G Am | C | F C | F C",
         [dict(voices=voices(("pluck", 1, 1.0, 0)), accomp="arp", accomp_gain=0.35),
          dict(voices=voices(("flute", 1, 0.9, 0)), accomp="arp", accomp_gain=0.35)],
         transpose=2, step=0.5, accomp_instrument="pluck"),

    Tune("Au clair de la lune", 4, 108,
         """C4 C4 C4 D4 | E4:2 D4:2 | C4 E4 D4 D4 | C4:4 |
            C4 C4 C4 D4 | E4:2 D4:2 | C4 E4 D4 D4 | C4:4 |
            D4 D4 D4 D4 | A3:2 A3:2 | D4 C4 B3 A3 | G3:4 |
            C4 C4 C4 D4 | E4:2 D4:2 | C4 E4 D4 D4 | C4:4""",
         "C | C G | C G | C | C | C G | C G | C | G | D | G D7 | G | C | C G | C G | C",
         [dict(voices=voices(("music_box", 1, 1.0, 0)), accomp="arp"),
          dict(voices=voices(("flute", 1, 0.7, 0)), accomp="held")],
         transpose=5, accomp_instrument="pluck"),
]


# ---------------------------------------------------------------------------
# Chimes

def chime_right():
    """Rising major arpeggio on bells, with a faint sparkle on top."""
    total = 1.3
    mix = Mixer(total)
    for i, (name, gain) in enumerate((("C6", 0.7), ("E6", 0.75), ("G6", 0.8), ("C7", 0.9))):
        mix.note("celesta", midi(name), 0.01 + i * 0.085, 0.2, gain)
    # The sparkle: a quiet, high music-box note just after the last bell.
    mix.note("music_box", midi("G7"), 0.01 + 3 * 0.085 + 0.03, 0.2, 0.2)
    out = mix.buf[:int(total * RATE)]
    out = room(out, 91, wet=0.12, decay=0.18)
    soundio.fade(out, RATE, 0.003, 0.35)
    return soundio.normalize(out, CHIME_PEAK_DBFS)


def chime_error():
    """Two soft, low, falling notes (a gentle "uh-oh"), no bite."""
    total = 1.0
    mix = Mixer(total)
    for i, name in enumerate(("G4", "E4")):
        f = freq(midi(name))
        t = _t(0.42)
        # Each note sags by 2 % as it fades, which makes it sound rounder.
        phase = 2.0 * np.pi * f * (t - 0.02 * t * t / (2.0 * 0.42))
        s = np.sin(phase) + 0.15 * np.sin(2.0 * phase)
        env = _attack(len(t), 0.03) * np.exp(-t / 0.22)
        env = _release(env, len(t) - int(0.08 * RATE), 0.08)
        start = int((0.01 + i * 0.26) * RATE)
        mix.buf[start:start + len(env)] += (0.9 if i else 1.0) * s[:len(env)] * env
    out = mix.buf[:int(total * RATE)]
    out = room(out, 92, wet=0.1, decay=0.15)
    soundio.fade(out, RATE, 0.003, 0.2)
    return soundio.normalize(out, CHIME_PEAK_DBFS)


# ---------------------------------------------------------------------------

def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--out", required=True, help="folder for start*.mp3, right1.mp3, error1.mp3")
    ap.add_argument("--lame", default="lame")
    args = ap.parse_args()

    t0 = time.monotonic()
    os.makedirs(args.out, exist_ok=True)
    jobs = [("start%d" % (i + 1), tune.title, (lambda tune=tune, i=i: render_tune(tune, 100 + i)))
            for i, tune in enumerate(TUNES)]
    jobs += [("right1", "chime: well done", chime_right),
             ("error1", "chime: try again", chime_error)]

    encoder = soundio.Encoder(args.lame)
    with tempfile.TemporaryDirectory(prefix=".music-", dir=args.out) as tmp:
        try:
            for name, title, render in jobs:
                samples = render()
                wav = os.path.join(tmp, name + ".wav")
                soundio.write_wav(wav, samples, RATE)
                encoder.add(wav, os.path.join(args.out, name + ".mp3"), RATE_KHZ, KBPS)
                rms = math.sqrt(float(np.mean(samples ** 2)))
                print("%-12s %5.1f s  rms %5.1f dBFS  %s"
                      % (name + ".mp3", len(samples) / RATE, soundio.db(rms), title))
            encoder.close()
        except BaseException:
            encoder.abort()
            raise
    print("music: %d files; %.1f s" % (len(jobs), time.monotonic() - t0))


if __name__ == "__main__":
    main()
