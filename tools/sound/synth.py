"""Small synthesis kit: oscillators, noise, envelopes and filters on numpy
arrays of float samples at RATE (mono, -1 .. 1)."""

import numpy as np

RATE = 44100


def t_axis(seconds):
    return np.arange(int(seconds * RATE)) / RATE


def tone(freq, seconds, shape="sine", phase=0.0):
    """An oscillator; `freq` is a number or an array (a glide) of Hz."""
    n = int(seconds * RATE)
    f = np.broadcast_to(np.asarray(freq, dtype=np.float64), (n,))
    ph = 2 * np.pi * np.cumsum(f) / RATE + phase
    if shape == "sine":
        return np.sin(ph)
    if shape == "square":
        return np.sign(np.sin(ph)) * 0.6
    if shape == "saw":
        return (2 * ((ph / (2 * np.pi)) % 1.0) - 1) * 0.6
    if shape == "triangle":
        return 2 * np.abs(2 * ((ph / (2 * np.pi)) % 1.0) - 1) - 1
    raise ValueError(shape)


def glide(f0, f1, seconds, curve=1.0):
    x = np.linspace(0, 1, int(seconds * RATE)) ** curve
    return f0 * (f1 / f0) ** x


def noise(seconds, seed=1):
    return np.random.default_rng(seed).uniform(-1, 1, int(seconds * RATE))


def env(seconds, attack=0.005, decay=None, sustain=1.0, release=0.05, curve=3.0):
    """Attack, then an exponential decay to the end (decay=None) or a
    sustain level with a release at the end."""
    n = int(seconds * RATE)
    t = np.arange(n) / RATE
    a = np.clip(t / max(attack, 1e-4), 0, 1)
    if decay is None:
        d = np.exp(-curve * np.clip(t - attack, 0, None) / max(seconds - attack, 1e-3))
        e = a * d
        fade = np.clip((seconds - t) / 0.004, 0, 1)
        return e * fade
    d = sustain + (1 - sustain) * np.exp(-np.clip(t - attack, 0, None) / decay)
    r = np.clip((seconds - t) / max(release, 1e-3), 0, 1)
    return a * d * r


def smooth(x, width):
    """A cheap low-pass: moving average over `width` samples."""
    if width <= 1:
        return x
    kernel = np.ones(width) / width
    return np.convolve(x, kernel, mode="same")


def mix_at(out, sound, start):
    """Adds `sound` into `out` from sample `start`, wrapping past the end
    (a loop's tails sound again at its start)."""
    n = len(out)
    s = start % n
    end = s + len(sound)
    if end <= n:
        out[s:end] += sound
    else:
        first = n - s
        out[s:] += sound[:first]
        rest = sound[first:]
        while len(rest) > 0:
            take = min(n, len(rest))
            out[:take] += rest[:take]
            rest = rest[take:]
    return out


def loudness_db(x, window=0.05):
    """The loudness of a sound as heard at its loudest: the RMS level of its
    loudest `window` seconds, in dB of full scale."""
    n = int(window * RATE)
    if len(x) == 0:
        return -120.0
    power = np.convolve(x * x, np.ones(n) / n, mode="valid") if len(x) > n else np.array([np.mean(x * x)])
    return 10 * np.log10(max(float(power.max()), 1e-12))


def level(x, target_db, peak):
    """Scales x so that its loudness is target_db, or less where that would
    lift a peak above `peak` (a short click stays a soft click)."""
    m = np.max(np.abs(x)) if len(x) else 0.0
    if m == 0:
        return x
    gain = min(10 ** ((target_db - loudness_db(x)) / 20), peak / m)
    return x * gain


def normalise(x, peak):
    m = np.max(np.abs(x)) if len(x) else 0.0
    return x * (peak / m) if m > 0 else x


def midi_hz(note):
    return 440.0 * 2 ** ((note - 69) / 12.0)
