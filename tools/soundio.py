"""Sound files of the program folder: WAV in and out, MP3 through LAME.

Shared by gen_voices.py, gen_music.py and check_sounds.py. Samples are mono
numpy float arrays in -1..1; the intermediate files are 16-bit PCM WAV and the
shipped files are constant-bitrate MP3 made by Debian's lame (the LAME
encoder has no random parts, so the same samples give the same MP3).
"""

import os
import subprocess
import wave

import numpy as np


def db(x):
    """Linear amplitude -> dBFS (-inf for 0)."""
    return 20.0 * np.log10(x) if x > 0 else float("-inf")


def to_pcm16(samples):
    """Float samples -> little-endian 16-bit bytes (rounded, clamped)."""
    s = np.clip(np.asarray(samples, dtype=np.float64), -1.0, 1.0)
    return np.round(s * 32767.0).astype("<i2").tobytes()


def write_wav(path, samples, rate):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(to_pcm16(samples))


def read_wav(path):
    """16-bit PCM WAV -> (mono float64 samples, rate). Channels are averaged."""
    with wave.open(path, "rb") as w:
        if w.getsampwidth() != 2:
            raise ValueError("%s: not 16-bit PCM" % path)
        channels = w.getnchannels()
        rate = w.getframerate()
        data = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2")
    s = data.astype(np.float64) / 32768.0
    if channels > 1:
        s = s.reshape(-1, channels).mean(axis=1)
    return s, rate


def fade(samples, rate, fade_in, fade_out):
    """Raised-cosine fade-in and fade-out (seconds) at the two ends, in place."""
    for length, at_start in ((fade_in, True), (fade_out, False)):
        n = min(int(round(length * rate)), len(samples))
        if n <= 0:
            continue
        ramp = 0.5 - 0.5 * np.cos(np.pi * (np.arange(n) + 0.5) / n)
        if at_start:
            samples[:n] *= ramp
        else:
            samples[-n:] *= ramp[::-1]
    return samples


def normalize(samples, peak_dbfs):
    """Scale so that the largest sample sits at peak_dbfs."""
    peak = np.max(np.abs(samples))
    if peak > 0:
        samples *= 10.0 ** (peak_dbfs / 20.0) / peak
    return samples


def lame_encode_args(lame, wav, mp3, rate_khz, kbps):
    """The one LAME command line of every shipped file: mono, constant bitrate,
    fixed sample rate (LAME would otherwise pick one from the bitrate), no
    ReplayGain pass (it would only cost time) and no ID3 tag."""
    return [lame, "--quiet", "--noreplaygain", "-m", "m", "-b", str(kbps), "--cbr",
            "--resample", rate_khz, "-q", "2", wav, mp3]


def encode_mp3(lame, wav, mp3, rate_khz, kbps):
    """Encode wav into mp3; mp3 appears only once it is complete."""
    tmp = mp3 + ".part"
    subprocess.run(lame_encode_args(lame, wav, tmp, rate_khz, kbps), check=True)
    os.replace(tmp, mp3)


class Encoder:
    """Runs up to `jobs` lame processes at once beside the caller's own work."""

    def __init__(self, lame, jobs=None):
        self.lame = lame
        self.jobs = max(1, jobs or os.cpu_count() or 1)
        self.running = []

    def add(self, wav, mp3, rate_khz, kbps):
        while len(self.running) >= self.jobs:
            self._finish(self.running.pop(0))
        tmp = mp3 + ".part"
        proc = subprocess.Popen(lame_encode_args(self.lame, wav, tmp, rate_khz, kbps))
        self.running.append((proc, tmp, mp3))

    def _finish(self, job):
        proc, tmp, mp3 = job
        if proc.wait() != 0:
            raise RuntimeError("lame failed on %s (exit %d)" % (mp3, proc.returncode))
        os.replace(tmp, mp3)

    def close(self):
        while self.running:
            self._finish(self.running.pop(0))

    def abort(self):
        """Stop what still runs and leave no partial files behind."""
        for proc, tmp, _ in self.running:
            proc.kill()
            proc.wait()
            if os.path.exists(tmp):
                os.remove(tmp)
        self.running = []


def decode_mp3(lame, mp3, wav):
    """Decode mp3 into a 16-bit WAV with LAME's own decoder."""
    r = subprocess.run([lame, "--quiet", "--decode", mp3, wav],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if r.returncode != 0:
        why = (r.stderr.strip().splitlines() or ["exit status %d" % r.returncode])[-1]
        raise RuntimeError("lame: %s" % why)
