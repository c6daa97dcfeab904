"""The music: one seamless loop per track, composed from a table entry
(tempo, key, mode, feel, seed). A loop is a whole number of bars of at least
MIN_SECONDS; notes that ring past the end sound again at the start, so the
loop point falls on a bar line without a click. To add a track: add a row to
TRACKS."""

from dataclasses import dataclass

import numpy as np

from synth import RATE, env, glide, midi_hz, mix_at, noise, smooth, tone

MIN_SECONDS = 60.0

MAJOR = [0, 2, 4, 5, 7, 9, 11]
MINOR = [0, 2, 3, 5, 7, 8, 10]


@dataclass
class Track:
    bpm: float
    key: int            # MIDI note of the tonic
    mode: list
    progression: list   # chord roots as scale degrees, one per bar, repeated
    feel: str           # bouncy | calm | tense
    seed: int


TRACKS = {
    "main_menu": Track(118, 60, MAJOR, [0, 5, 3, 4], "bouncy", 1),
    "elevator": Track(100, 65, MAJOR, [0, 3, 1, 4], "calm", 2),
    "intermission": Track(90, 62, MAJOR, [0, 4, 5, 3], "calm", 3),
    "lv2": Track(112, 67, MAJOR, [0, 5, 1, 4], "bouncy", 4),
    "phase0": Track(108, 57, MINOR, [0, 5, 3, 4], "tense", 5),
    "phase1": Track(116, 62, MINOR, [0, 3, 5, 4], "tense", 6),
    "phase2": Track(124, 64, MINOR, [0, 5, 6, 4], "tense", 7),
    "boss1": Track(132, 57, MINOR, [0, 0, 5, 4], "tense", 8),
    "boss2": Track(136, 59, MINOR, [0, 6, 5, 4], "tense", 9),
    "boss3": Track(140, 60, MINOR, [0, 1, 5, 4], "tense", 10),
    "boss4": Track(146, 62, MINOR, [0, 5, 1, 4], "tense", 11),
}


def pitch(track, degree, octave=0):
    scale = track.mode
    return track.key + 12 * (octave + degree // 7) + scale[degree % 7]


def pluck(f, seconds, bright=0.3):
    return (tone(f, seconds, "triangle") + bright * tone(f * 2, seconds)) * env(seconds, 0.003, curve=5)


def bass(f, seconds):
    return (tone(f, seconds, "triangle") + 0.3 * tone(f, seconds, "square")) * env(seconds, 0.004, decay=0.15,
                                                                                   sustain=0.5, release=0.03)


def pad(f, seconds):
    return (tone(f, seconds, "saw") + tone(f * 1.005, seconds, "saw")) * 0.3 * env(seconds, 0.08, decay=0.5,
                                                                                   sustain=0.6, release=0.15)


def kick(seconds=0.18):
    return tone(glide(140, 45, seconds, 0.4), seconds) * env(seconds, 0.001, curve=6)


def snare(seconds=0.15, seed=0):
    return (smooth(noise(seconds, seed), 3) * 0.8 + 0.3 * tone(190, seconds)) * env(seconds, 0.001, curve=9)


def hat(seconds=0.04, seed=0):
    n = noise(seconds, seed)
    return (n - smooth(n, 4)) * env(seconds, 0.0005, curve=10)


def render(track):
    beat = 60.0 / track.bpm
    bar = 4 * beat
    bars = int(np.ceil(MIN_SECONDS / bar / 8.0)) * 8
    total = int(round(bars * bar * RATE))
    out = np.zeros(total)
    rnd = np.random.default_rng(track.seed)
    at = lambda seconds: int(round(seconds * RATE))  # noqa: E731

    # Two melodic phrases (A, B) of eight eighth-notes per bar, each four bars
    # long, built from chord tones and steps.
    def phrase():
        notes = []
        for b in range(4):
            root = track.progression[b % len(track.progression)]
            cells = []
            for k in range(8):
                if rnd.random() < (0.25 if track.feel == "calm" else 0.15):
                    cells.append(None)
                    continue
                choice = rnd.choice([0, 2, 4, 7, 1, 3])
                cells.append(root + int(choice))
            notes.append(cells)
        return notes

    phrases = [phrase(), phrase()]
    hats_on = track.feel != "calm"
    for b in range(bars):
        t0 = b * bar
        root = track.progression[b % len(track.progression)]
        section = (b // 8) % 2
        # bass
        pattern = [0, 2] if track.feel == "calm" else ([0, 1.5, 2, 3.5] if track.feel == "bouncy" else
                                                        [0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5])
        for p in pattern:
            f = midi_hz(pitch(track, root, -2))
            mix_at(out, 0.5 * bass(f, beat * (0.9 if track.feel != "tense" else 0.45)), at(t0 + p * beat))
        # chords
        chord = [pitch(track, root + d, -1) for d in (0, 2, 4)]
        if track.feel == "bouncy":
            for p in (0.5, 1.5, 2.5, 3.5):
                for n in chord:
                    mix_at(out, 0.12 * pluck(midi_hz(n), beat * 0.4, 0.1), at(t0 + p * beat))
        else:
            for n in chord:
                mix_at(out, 0.1 * pad(midi_hz(n), bar), at(t0))
        # melody: A A B A over 16 bars
        melody = phrases[1 if (b % 16) // 4 == 2 else 0][b % 4]
        if section == 1 or track.feel != "calm" or b % 2 == 0:
            for k, degree in enumerate(melody):
                if degree is None:
                    continue
                f = midi_hz(pitch(track, degree, 0))
                mix_at(out, 0.22 * pluck(f, beat * 0.55, 0.35), at(t0 + k * beat / 2))
        # drums
        if track.feel != "calm" or section == 1:
            for p in (0, 2):
                mix_at(out, 0.55 * kick(), at(t0 + p * beat))
            for p in (1, 3):
                mix_at(out, 0.3 * snare(seed=b), at(t0 + p * beat))
        if hats_on:
            for k in range(8):
                mix_at(out, 0.12 * hat(seed=b * 8 + k), at(t0 + k * beat / 2))
    return out
